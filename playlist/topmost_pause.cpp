#include "playlist/topmost_pause.h"

namespace rv {

void setWindowTopmost(MainForm& form, bool topmost) {
  form.alwaysOnTop = topmost;
  if (form.services.window) form.services.window->setTopmost(topmost);
}

TopmostPause::TopmostPause(MainForm& form) : form_(form) { setWindowTopmost(form_, false); }

TopmostPause::~TopmostPause() {
  MenuItem* item = form_.flash1pop.find("alwaysonthetop");
  if (item && item->checked) setWindowTopmost(form_, true);
}

}  // namespace rv
