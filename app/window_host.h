#pragma once
// What the shell asks of the window system for its windows. The Qt layer implements it; tests
// use a recording fake. Coordinates are screen pixels.

namespace rv {

class WindowHost {
 public:
  virtual ~WindowHost() = default;
  virtual void show() = 0;
  virtual void hide() = 0;
  // Asks the window to close through the normal close path (the main window runs FormClose).
  virtual void close() = 0;
  virtual void setTopmost(bool topmost) = 0;
  virtual void startSystemMove() = 0;
  virtual void minimize() = 0;
  virtual int cursorX() const = 0;
  virtual int cursorY() const = 0;
  // The screen the window is on: its top-left corner on the desktop and its size.
  virtual int screenLeft() const { return 0; }
  virtual int screenTop() const { return 0; }
  virtual int screenWidth() const = 0;
  virtual int screenHeight() const = 0;
  // The model changed in a way the window should redraw now (outside the regular refresh).
  virtual void refresh() = 0;
  // A long command runs: a busy pointer while `busy`, and keepPainting() now and then lets the
  // window repaint (no input is handled meanwhile).
  virtual void setBusy(bool /*busy*/) {}
  virtual void keepPainting() {}
  // Pops up the main window's menu flash1pop at a screen position (main window only).
  virtual void popupMainMenu(int /*x*/, int /*y*/) {}
};

}  // namespace rv
