#pragma once
// Qt keys as the model's keyboard map names them.

#include <qnamespace.h>

#include "app/main_form.h"

namespace rv::ui {

inline Key toModelKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Right:
      return Key::Right;
    case Qt::Key_Left:
      return Key::Left;
    case Qt::Key_PageUp:
      return Key::PageUp;
    case Qt::Key_PageDown:
      return Key::PageDown;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_Delete:
      return Key::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    default:
      return Key::Other;
  }
}

}  // namespace rv::ui
