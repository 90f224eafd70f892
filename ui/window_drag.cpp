#include "ui/window_drag.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace rv::ui {

std::optional<QPoint> WindowDrag::pointerMoved(QWidget& window, const QPoint& global,
                                               bool leftHeld) {
  if (!armed_) return std::nullopt;
  if (!leftHeld) {
    cancel();
    return std::nullopt;
  }
  if (!started_) {
    started_ = true;
    pressGlobal_ = global;
    return std::nullopt;
  }
  if (!following_) {
    if ((global - pressGlobal_).manhattanLength() < QApplication::startDragDistance())
      return std::nullopt;
    dragged_ = true;
    QWindow* handle = window.windowHandle();
    if (handle && handle->startSystemMove()) {
      armed_ = false;  // the window manager has the pointer until the button is released
      return std::nullopt;
    }
    following_ = true;
  }
  return windowStart_ + (global - pressGlobal_);
}

}  // namespace rv::ui
