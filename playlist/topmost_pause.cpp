#include "playlist/topmost_pause.h"

namespace rv {

namespace {
void setTopmost(MainForm& form, bool topmost) {
  form.alwaysOnTop = topmost;
  if (form.services.window) form.services.window->setTopmost(topmost);
}
}  // namespace

TopmostPause::TopmostPause(MainForm& form) : form_(form) { setTopmost(form_, false); }

TopmostPause::~TopmostPause() {
  MenuItem* item = form_.flash1pop.find("alwaysonthetop");
  if (item && item->checked) setTopmost(form_, true);
}

}  // namespace rv
