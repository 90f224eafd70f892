#pragma once
// The full-screen tool bar window (TForm6): its place, read-outs and seek knob. Hidden until the
// full-screen view shows it.

#include <map>
#include <string>

#include "app/control.h"
#include "app/settings_file.h"

namespace rv {

class WindowHost;

class ToolBar {
 public:
  // Creation: opens its own settings file on config.ini in `configDir` (with a trailing '/') and
  // takes its place from it.
  explicit ToolBar(const std::string& configDir);

  SettingsFile settings;
  int left = 226, top = 10;
  bool visible = false;
  bool topmost = false;
  bool capturing = false;  // the check box that says the tool bar's knob is being dragged
  std::map<std::string, Control> controls;  // lblfilename, lbltime, lblframe, imagejct
  WindowHost* window = nullptr;             // set by the Qt layer when it shows the window

  Control& ctl(const std::string& name) { return controls.at(name); }
  void setFileName(const std::string& name) { ctl("lblfilename").caption = name; }
  // Shows the window on top of the others, where it is.
  void showOnTop();
};

}  // namespace rv
