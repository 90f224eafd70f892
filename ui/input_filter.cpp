#include "ui/input_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include "app/main_form.h"
#include "ui/key_map.h"
#include "ui/main_window.h"
#include "ui/playlist_view.h"
#include "ui/popup_menu.h"

namespace rv::ui {

InputFilter::InputFilter(MainWindow& main, std::function<void()> afterEvent)
    : main_(main), afterEvent_(std::move(afterEvent)) {}

MenuItem* InputFilter::shortcutFor(const QKeyEvent& event) const {
  if (!main_.hasForm()) return nullptr;
  const QKeyCombination key(event.modifiers() & ~Qt::KeypadModifier,
                            static_cast<Qt::Key>(event.key()));
  MainForm& form = main_.form();
  // A control's own menu answers before the window's, as long as the control has the focus.
  if (main_.playlist()->hasFocus())
    if (MenuItem* item = findShortcut(form.listpop, key)) return item;
  return findShortcut(form.flash1pop, key);
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
  // Input arrives at the native window first and is handed on to the widgets from there, so
  // looking at windows sees each event exactly once.
  if (!watched->isWindowType()) return false;
  auto* window = static_cast<QWindow*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress:
      return keyPress(window, static_cast<QKeyEvent&>(*event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return mousePress(*event);
    default:
      return false;
  }
}

bool InputFilter::keysForMain(QWindow* window) const {
  if (window == main_.windowHandle()) return true;
  for (QWidget* w : keyWindows_)
    if (window == w->windowHandle()) return true;
  return false;
}

bool InputFilter::keyPress(QWindow* window, QKeyEvent& event) {
  if (!keysForMain(window) || !main_.hasForm()) return false;
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  MainForm& form = main_.form();
  // A shortcut of a disabled item is no shortcut: the key goes on as an ordinary key.
  if (MenuItem* item = shortcutFor(event); item && item->enabled) {
    main_.runner()([item] { item->invoke(); });
    afterEvent_();
    return true;
  }
  const Key key = toModelKey(event.key());
  const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
  main_.runner()([&] { form.FormKeyDown(key, ctrl); });
  afterEvent_();
  return false;  // the focused control still gets the key
}

bool InputFilter::mousePress(QEvent& event) {
  if (!main_.hasForm()) return false;
  // Open menus and message boxes run their own loops, which the filter never sees.
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  const auto& mouse = static_cast<QMouseEvent&>(event);
  InputMessage message = InputMessage::Other;
  if (event.type() == QEvent::MouseButtonPress) {
    if (mouse.button() == Qt::RightButton) message = InputMessage::RightButtonDown;
    if (mouse.button() == Qt::LeftButton) message = InputMessage::LeftButtonDown;
  } else if (mouse.button() == Qt::LeftButton) {
    message = InputMessage::LeftButtonDoubleClick;
  }
  if (message == InputMessage::Other) return false;

  MainForm& form = main_.form();
  bool handled = false;
  main_.runner()([&] { handled = form.appmessage(message); });
  afterEvent_();
  return handled;
}

}  // namespace rv::ui
