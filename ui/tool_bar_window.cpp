#include "ui/tool_bar_window.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <utility>

#include "skins/tool_bar.h"
#include "ui/control_hint.h"
#include "ui/model_colors.h"
#include "ui/tool_bar_pictures.h"

namespace rv::ui {
namespace {

// Topmost first: the spots, the normal-view picture, the knob over the track, the background.
constexpr std::array kHitOrder{"closeme", "play",       "stop",     "previousmovie", "nextmovie",
                               "rewind",  "normalview", "imagejct", "Image2",        "Image1"};
constexpr std::array kHandParts{"Image2", "play", "normalview", "closeme"};
// The labels stay inside the read-out window the background draws for them.
constexpr int kReadoutRight = 180;

template <size_t N>
bool among(const std::array<const char*, N>& names, const std::string& name) {
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

QRect rectOf(const Control& c) { return QRect(c.left, c.top, c.width, c.height); }

}  // namespace

ToolBarWindow::ToolBarWindow(ToolBar& bar, Runner run)
    : HostedWindow(nullptr, Qt::Tool | Qt::FramelessWindowHint), bar_(bar), run_(std::move(run)) {
  setObjectName(QStringLiteral("TForm6"));
  setWindowTitle(QString::fromLatin1(ToolBar::kCaption));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFixedSize(ToolBar::kWidth, ToolBar::kHeight);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0, 128, 0));  // green under the background picture
  setPalette(pal);
  move(bar_.left, bar_.top);
}

void ToolBarWindow::show() {
  move(bar_.left, bar_.top);
  QWidget::show();
  raise();
}

void ToolBarWindow::hide() {
  drag_.cancel();
  draggingKnob_ = false;
  QWidget::hide();
}

void ToolBarWindow::startSystemMove() { drag_.arm(pressGlobal_, pos()); }

void ToolBarWindow::syncFromModel() {
  if (pos() != QPoint(bar_.left, bar_.top)) move(bar_.left, bar_.top);
  if (bar_.topmost != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) setTopmost(bar_.topmost);
  if (isVisible() != bar_.visible) bar_.visible ? show() : hide();
  if (!isVisible()) return;
  std::string signature;
  for (const auto& [name, c] : bar_.controls)
    signature += name + ':' + std::to_string(c.left) + ',' + c.caption + ';';
  if (signature != lastSignature_) {
    lastSignature_ = std::move(signature);
    update();
  }
}

const Control* ToolBarWindow::partAt(const QPoint& pos) const {
  for (const char* name : kHitOrder) {
    const Control& c = bar_.controls.at(name);
    if (c.visible && rectOf(c).contains(pos)) return &c;
  }
  return nullptr;
}

void ToolBarWindow::ensurePictures() {
  const qreal dpr = devicePixelRatioF();
  if (dpr == picturesDpr_) return;
  picturesDpr_ = dpr;
  background_ = toolBarBackground(bar_, dpr);
  knob_ = toolBarKnob(dpr);
  normalView_ = toolBarNormalViewButton(dpr);
}

void ToolBarWindow::paintEvent(QPaintEvent*) {
  ensurePictures();
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  p.drawImage(QPoint(0, 0), background_);
  const Control& view = bar_.ctl("normalview");
  p.drawImage(QPoint(view.left, view.top), normalView_);
  const Control& knob = bar_.ctl("imagejct");
  p.drawImage(QPoint(knob.left, knob.top), knob_);

  // The read-outs: lime on the read-out window, the same 11-pixel sans-serif as the playlist.
  p.setFont(playlistFont());
  const QFontMetrics metrics(p.font());
  for (const char* name : {"lblfilename", "lbltime", "lblframe"}) {
    const Control& c = bar_.ctl(name);
    if (!c.visible || c.caption.empty()) continue;
    const int room = kReadoutRight - c.left;
    const QString text =
        metrics.elidedText(QString::fromStdString(c.caption), Qt::ElideRight, room);
    p.setPen(toQColor(c.color, palette()));
    p.drawText(QRect(c.left, c.top, room, c.height + 2), Qt::AlignLeft | Qt::AlignTop, text);
  }
}

bool ToolBarWindow::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    const auto& help = static_cast<const QHelpEvent&>(*e);
    showControlHint(*this, help, partAt(help.pos()));
    return true;
  }
  return HostedWindow::event(e);
}

void ToolBarWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // Moved by the window manager (the user dragged it): the model keeps the place.
  if (isVisible()) {
    bar_.left = x();
    bar_.top = y();
  }
}

void ToolBarWindow::mousePressEvent(QMouseEvent* event) {
  pressed_.clear();
  const Control* c = partAt(event->position().toPoint());
  if (!c) return;
  const bool left = event->button() == Qt::LeftButton;
  const int x = event->position().toPoint().x() - c->left;
  if (c->name == "imagejct") {
    draggingKnob_ = true;
    run_([&] { bar_.imagejctMouseDown(x); });
  } else if (c->name == "Image2") {
    run_([&] { bar_.Image2MouseDown(x); });
  } else if (c->name == "Image1") {
    pressGlobal_ = event->globalPosition().toPoint();
    run_([&] { bar_.Image1MouseDown(left); });
    pressGlobal_.reset();
    if (left) pressed_ = c->name;
  } else if (left) {
    pressed_ = c->name;
  }
}

void ToolBarWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const QPoint global = event->globalPosition().toPoint();
  if (draggingKnob_) {
    const int x = pos.x() - bar_.ctl("imagejct").left;
    run_([&] { bar_.imagejctMouseMove(x, global.x()); });
  } else if (auto place =
                 drag_.pointerMoved(*this, global, event->buttons().testFlag(Qt::LeftButton))) {
    bar_.left = place->x();
    bar_.top = place->y();
    move(*place);
  }
  const Control* c = partAt(pos);
  setCursor(c && among(kHandParts, c->name) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ToolBarWindow::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (draggingKnob_) {
    draggingKnob_ = false;
    const int x = pos.x() - bar_.ctl("imagejct").left;
    const int screenX = static_cast<int>(event->globalPosition().x());
    run_([&] { bar_.imagejctMouseUp(x, screenX); });
    return;
  }
  const bool wasDrag = drag_.dragged();
  drag_.cancel();
  if (event->button() != Qt::LeftButton || pressed_.empty()) return;
  const std::string name = std::exchange(pressed_, {});
  const Control* c = partAt(pos);
  // A press that dragged the bar away is no click.
  if (c && c->name == name && !(name == "Image1" && wasDrag)) click(name);
}

void ToolBarWindow::click(const std::string& name) {
  if (name == "Image1")
    run_([this] { bar_.Image1Click(); });
  else if (name == "play")
    run_([this] { bar_.playClick(); });
  else if (name == "stop")
    run_([this] { bar_.stopClick(); });
  else if (name == "previousmovie")
    run_([this] { bar_.previousmovieClick(); });
  else if (name == "nextmovie")
    run_([this] { bar_.nextmovieClick(); });
  else if (name == "rewind")
    run_([this] { bar_.rewindClick(); });
  else if (name == "normalview")
    run_([this] { bar_.normalviewClick(); });
  else if (name == "closeme")
    run_([this] { bar_.closemeClick(); });
}

}  // namespace rv::ui
