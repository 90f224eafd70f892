#pragma once
// Dragging a frameless window by a press on its background. The move begins only once the
// pointer has travelled the desktop's drag distance with the left button held, so a click or a
// double click on the background stays a click. The window manager moves the window where it
// can (QWindow::startSystemMove, which works on Wayland too); where it cannot (no window
// manager), the window follows the pointer itself.

#include <QPoint>
#include <optional>

class QWidget;

namespace rv::ui {

class WindowDrag {
 public:
  // A press that may become a drag, at `pressGlobal` (desktop pixels) on a window at
  // `windowPos`; without the press's place it is taken from the next move.
  void arm(std::optional<QPoint> pressGlobal, QPoint windowPos) {
    armed_ = true;
    following_ = false;
    dragged_ = false;
    started_ = pressGlobal.has_value();
    pressGlobal_ = pressGlobal.value_or(QPoint());
    windowStart_ = windowPos;
  }
  void cancel() { armed_ = following_ = started_ = false; }
  bool armed() const { return armed_; }
  // Whether the press became a drag: then its release is no click.
  bool dragged() const { return dragged_; }

  // The pointer moved to `global` (desktop pixels), the left button held or not. Returns the
  // window's new top-left while the window follows the pointer itself: the caller moves it
  // there and records the place.
  std::optional<QPoint> pointerMoved(QWidget& window, const QPoint& global, bool leftHeld);

 private:
  bool armed_ = false, following_ = false, dragged_ = false, started_ = false;
  QPoint pressGlobal_, windowStart_;
};

}  // namespace rv::ui
