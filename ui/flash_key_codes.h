#pragma once
// Qt keys as the Flash key codes movies test for (Key.getCode, Key.isDown).

namespace rv::ui {

// The Flash key code of a Qt key; `keypad` for keys of the number pad. 0 for keys movies
// have no code for.
int flashKeyCode(int qtKey, bool keypad);

}  // namespace rv::ui
