#include "skins/tool_bar.h"

#include "app/window_host.h"

namespace rv {

ToolBar::ToolBar(const std::string& configDir) : settings(configDir + "config.ini") {
  left = settings.readInt("variables", "form6left", 226);
  top = settings.readInt("variables", "form6top", 10);
  for (const char* name : {"lblfilename", "lbltime", "lblframe", "imagejct"}) {
    Control c;
    c.name = name;
    controls[name] = c;
  }
  ctl("imagejct").left = 8;
}

void ToolBar::showOnTop() {
  visible = true;
  topmost = true;
  if (window) {
    window->show();
    window->setTopmost(true);
  }
}

}  // namespace rv
