#pragma once
// How the main window is shown beyond its controls: the size a view gives it and the place it
// returns to when full screen ends. The form holds one; the view commands (skins/views.cpp)
// change it.

namespace rv {

struct ViewState {
  // The window's place when full screen was entered; leaving full screen puts it back there.
  int savedleft = 0, savedtop = 0;
  // The window sizes itself to the union of its visible controls; otherwise it keeps
  // width × height (the movie's size, or its screen's).
  bool autoSize = true;
  int width = 0, height = 0;
  // The window covers the screen it is on (full screen).
  bool coversScreen = false;
};

}  // namespace rv
