#include "ui/flash_key_codes.h"

#include <qnamespace.h>

namespace rv::ui {

int flashKeyCode(int k, bool keypad) {
  if (keypad && k >= Qt::Key_0 && k <= Qt::Key_9) return 96 + (k - Qt::Key_0);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return 48 + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F15) return 112 + (k - Qt::Key_F1);
  if (keypad) {
    switch (k) {
      case Qt::Key_Asterisk:
        return 106;
      case Qt::Key_Plus:
        return 107;
      case Qt::Key_Minus:
        return 109;
      case Qt::Key_Period:
        return 110;
      case Qt::Key_Slash:
        return 111;
      default:
        break;
    }
  }
  switch (k) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_NumLock:
      return 144;
    case Qt::Key_ScrollLock:
      return 145;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
      return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question:
      return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
      return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
      return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
      return 222;
    default:
      return 0;
  }
}

}  // namespace rv::ui
