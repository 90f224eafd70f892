// The movie's keyboard, typing, wheel and pointer shape. The shell's input filter sees every
// key first and keeps the menus' shortcuts; what it lets through arrives here.

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWheelEvent>

#include "swf/player/player.h"
#include "ui/flash_key_codes.h"
#include "ui/flash_widget.h"

namespace rv::ui {

bool FlashWidget::sendKey(QKeyEvent* event, bool down) {
  swf::Player* p = player();
  if (!p) return false;
  const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
  const int code = flashKeyCode(event->key(), keypad);
  const QString text = event->text();
  const char32_t ch = text.size() == 1 ? char32_t(text.at(0).unicode()) : 0;
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  run_([&] {
    if (code) {
      if (down)
        p->keyDown(code, ch);
      else
        p->keyUp(code, ch);
    }
    // Printable text types into the focused field; control keys act through their codes.
    if (down && !ctrl && !text.isEmpty() && text.at(0).isPrint()) p->textInput(text.toStdString());
  });
  syncFromModel();
  return true;
}

void FlashWidget::keyPressEvent(QKeyEvent* event) {
  if (!sendKey(event, true)) event->ignore();
}

void FlashWidget::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat() || !sendKey(event, false)) event->ignore();
}

void FlashWidget::inputMethodEvent(QInputMethodEvent* event) {
  swf::Player* p = player();
  const QString commit = event->commitString();
  if (p && !commit.isEmpty()) {
    run_([&] { p->textInput(commit.toStdString()); });
    syncFromModel();
  }
  event->accept();
}

QVariant FlashWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImEnabled) return player() != nullptr;
  return QWidget::inputMethodQuery(query);
}

void FlashWidget::wheelEvent(QWheelEvent* event) {
  swf::Player* p = player();
  const int notches = event->angleDelta().y() / 120;
  if (!p || notches == 0) {
    event->ignore();
    return;
  }
  const QPointF at = event->position() * devicePixelRatioF();
  run_([&] { p->mouseWheel(at.x(), at.y(), notches); });
  syncFromModel();
}

// Tab belongs to the movie (it moves the focus between its fields) while one is shown.
bool FlashWidget::focusNextPrevChild(bool next) {
  if (player()) return false;
  return QWidget::focusNextPrevChild(next);
}

void FlashWidget::updatePointer() {
  swf::Player* p = player();
  const swf::PointerShape shape = p ? p->pointerShape() : swf::PointerShape::Arrow;
  Qt::CursorShape want = Qt::ArrowCursor;
  if (shape == swf::PointerShape::Hand) want = Qt::PointingHandCursor;
  if (shape == swf::PointerShape::Text) want = Qt::IBeamCursor;
  if (shape == swf::PointerShape::Hidden) want = Qt::BlankCursor;
  if (cursor().shape() != want) setCursor(want);
}

}  // namespace rv::ui
