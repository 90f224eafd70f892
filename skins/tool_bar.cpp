#include "skins/tool_bar.h"

#include "app/main_form.h"
#include "app/window_host.h"

namespace rv {
namespace {

struct Part {
  const char* name;
  int left, top, width, height;
  const char* hint;
  const char* caption;
};

// The bar as designed: left, top, width, height in bar pixels, hint, first caption. The spots
// have no picture of their own: the background draws them.
constexpr Part kLayout[] = {
    {"Image1", 0, 0, 225, 46, "", ""},
    {"Image2", 8, 7, 209, 9, "", ""},
    {"imagejct", 12, 4, 10, 16, "", ""},
    {"play", 9, 21, 17, 17, "Play", ""},
    {"stop", 27, 21, 17, 17, "Pause", ""},
    {"previousmovie", 45, 20, 17, 17, "Previous Movie", ""},
    {"nextmovie", 62, 21, 17, 17, "Next Movie", ""},
    {"rewind", 79, 21, 17, 17, "Rewind", ""},
    {"lblfilename", 104, 16, 39, 13, "", "filename"},
    {"lbltime", 105, 30, 15, 13, "", "0:0"},
    {"lblframe", 131, 31, 17, 13, "", "0/0"},
    {"normalview", 185, 26, 17, 19, "Normal view", ""},
    {"closeme", 200, 25, 17, 17, "Close tool bar", ""},
};

void invokeMain(MainForm* form, const char* item) {
  if (form) form->item(item).invoke();
}

}  // namespace

ToolBar::ToolBar(const std::string& configDir) : settings(configDir + "config.ini") {
  left = settings.readInt("variables", "form6left", 226);
  top = settings.readInt("variables", "form6top", 10);
  for (const Part& p : kLayout) {
    Control c;
    c.name = p.name;
    c.setBounds(p.left, p.top, p.width, p.height);
    c.hint = p.hint;
    c.caption = p.caption;
    controls[c.name] = c;
  }
  for (const char* label : {"lblfilename", "lbltime", "lblframe"})
    ctl(label).color = 0x00FF00;  // lime
}

FlashControl* ToolBar::loadedFlash2() const {
  if (!form || !form->Flash2 || !form->Flash2->hasMovie()) return nullptr;
  return form->Flash2.get();
}

void ToolBar::showOnTop() {
  visible = true;
  topmost = true;
  FormShow();
  if (window) {
    window->show();
    window->setTopmost(true);
  }
}

void ToolBar::close() {
  visible = false;
  if (window) window->hide();
}

void ToolBar::FormShow() {
  if (form) setFileName(form->ctl("lblfilename").caption);
}

void ToolBar::Image1Click() {
  if (FlashControl* f = loadedFlash2()) f->play();
}

void ToolBar::Image1MouseDown(bool leftButton) {
  if (leftButton && window) window->startSystemMove();
}

void ToolBar::playClick() {
  if (FlashControl* f = loadedFlash2()) f->play();
  if (form && !form->item("playstop").checked) form->item("playstop").invoke();
}

void ToolBar::stopClick() {
  if (FlashControl* f = loadedFlash2()) f->stop();
  if (form && form->item("playstop").checked) form->item("playstop").invoke();
}

void ToolBar::previousmovieClick() { invokeMain(form, "lastmovie"); }
void ToolBar::nextmovieClick() { invokeMain(form, "nextmovie"); }

void ToolBar::rewindClick() {
  if (FlashControl* f = loadedFlash2()) f->rewind();
}

void ToolBar::normalviewClick() { invokeMain(form, "normalview"); }

void ToolBar::closemeClick() { close(); }

}  // namespace rv
