#pragma once
// The full-screen tool bar window (TForm6): a small borderless bar with play, pause, previous,
// next, rewind, back-to-normal and close buttons, its own seek bar and read-outs. It acts on the
// main window's full-screen control Flash2 and on its menu commands. Hidden until the
// full-screen view calls it up; its place is kept between runs.

#include <map>
#include <string>

#include "app/control.h"
#include "app/settings_file.h"

namespace rv {

class WindowHost;
class MainForm;
class FlashControl;

class ToolBar {
 public:
  static constexpr int kWidth = 225, kHeight = 46;  // client area
  static constexpr const char* kCaption = "gongjutiao";
  // The seek track: where it starts in the bar and how many pixels long it is.
  static constexpr int kTrackLeft = 8, kTrackLength = 209;

  // Creation: opens its own settings file on config.ini in `configDir` (with a trailing '/') and
  // takes its place from it.
  explicit ToolBar(const std::string& configDir);

  SettingsFile settings;
  int left = 226, top = 10;
  bool visible = false;
  bool topmost = false;
  bool capturing = false;  // the check box that says the tool bar's knob is being dragged
  int toolgrabx = 0;       // pointer x inside the knob when its drag began
  // Image1 (background), Image2 (track), imagejct (knob), the spots play, stop, previousmovie,
  // nextmovie, rewind, closeme, the picture normalview and the labels lblfilename, lbltime,
  // lblframe.
  std::map<std::string, Control> controls;
  WindowHost* window = nullptr;  // set by the Qt layer when it makes the window
  MainForm* form = nullptr;      // the main window, set by the program entry

  Control& ctl(const std::string& name) { return controls.at(name); }
  void setFileName(const std::string& name) { ctl("lblfilename").caption = name; }
  // Shows the window on top of the others, where it is.
  void showOnTop();
  // Hides the window (it lives on until the program ends).
  void close();

  // ---- handlers ----------------------------------------------------------------------
  void FormShow();
  void Image1Click();
  void Image1MouseDown(bool leftButton);
  void playClick();
  void stopClick();
  void previousmovieClick();
  void nextmovieClick();
  void rewindClick();
  void normalviewClick();
  void closemeClick();
  // Seek bar (skins/tool_bar_seek.cpp). x: pointer x in track or knob pixels; screenX: the
  // pointer's x on the screen.
  void Image2MouseDown(int x);
  void imagejctMouseDown(int x);
  void imagejctMouseMove(int x, int screenX);
  void imagejctMouseUp(int x, int screenX);

 private:
  // The main window's Flash2 when it holds a movie, else null: the bar leaves an empty control
  // alone, which would refuse Play, Stop and Rewind with an error report.
  FlashControl* loadedFlash2() const;
};

}  // namespace rv
