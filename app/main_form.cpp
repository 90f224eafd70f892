// The main window as it is designed, before any skin or setting is applied.
#include "app/main_form.h"

#include <algorithm>

#include "app/errors.h"
#include "app/settings_file.h"

namespace rv {
namespace {

struct Spot {
  const char* name;
  int left, top, width, height;
  bool visible;
  bool autoSize;
  const char* hint;
};

// The designed layout: left, top, width, height, shown, sized to its picture, hint.
constexpr Spot kLayout[] = {
    {"Imagelist", 0, 0, 675, 379, false, true, ""},
    {"image1", 0, 0, 504, 379, true, true, ""},
    {"lblfilename", 192, 24, 54, 15, true, false, ""},
    {"v1", 110, 39, 35, 23, false, true, ""},
    {"v2", 95, 36, 37, 25, false, true, ""},
    {"v3", 79, 33, 25, 19, false, true, ""},
    {"v4", 150, 38, 36, 25, false, true, ""},
    {"v5", 191, 38, 34, 25, false, true, ""},
    {"listbtnon", 472, 347, 25, 9, true, false, "Show play list"},
    {"listbtnoff", 456, 339, 33, 9, false, false, "Hide play list"},
    {"Lbltime", 75, 361, 30, 11, true, false, ""},
    {"Lblframe", 440, 363, 18, 11, true, false, ""},
    {"windowsmin", 432, 35, 17, 17, true, false, ""},
    {"windowsmax", 448, 35, 17, 17, true, false, ""},
    {"exit", 464, 35, 17, 17, true, false, ""},
    {"Imagejct0", 116, 360, 307, 17, true, false, ""},
    {"jctcontrol", 118, 360, 18, 22, true, true, ""},
    {"imgopenfile", 14, 29, 20, 20, false, true, ""},
    {"imgopendir", 39, 31, 20, 20, false, true, ""},
    {"vc1", 80, 27, 9, 25, true, false, ""},
    {"vc2", 85, 26, 5, 25, true, false, ""},
    {"vc3", 88, 27, 5, 25, true, false, ""},
    {"vc4", 93, 26, 5, 25, true, false, ""},
    {"vc5", 105, 27, 5, 25, true, false, ""},
    {"play", 8, 355, 25, 25, true, false, "Play"},
    {"stop", 64, 355, 25, 25, true, false, "Pause"},
    {"play2", 11, 353, 31, 32, false, true, ""},
    {"stop2", 43, 354, 25, 25, false, true, ""},
    {"open", 16, 39, 17, 17, true, false, "Open"},
    {"opendir", 40, 39, 17, 17, true, false, "Open directory"},
};

}  // namespace

MainForm::MainForm(std::string dir, Services s) : programDir(std::move(dir)), services(s) {
  if (!programDir.empty() && programDir.back() != '/') programDir += '/';
  configDir = programDir + "config/";
  buildMainMenu();
  buildListMenu();
  buildControls();
}

MainForm::~MainForm() = default;

void MainForm::buildControls() {
  for (const Spot& s : kLayout) {
    Control c;
    c.name = s.name;
    c.setBounds(s.left, s.top, s.width, s.height);
    c.visible = s.visible;
    c.autoSize = s.autoSize;
    c.hint = s.hint;
    controls[c.name] = c;
  }
  ctl("lblfilename").caption = caption;
  ctl("Lbltime").caption = "00:00";
  ctl("Lbltime").color = 0x000000;
  ctl("Lblframe").caption = "0/0";

  flashlist.name = "flashlist";
  flashlist.setBounds(516, 88, 145, 121);
  flashlist.visible = false;
  flashlist.color = kSystemWindowColor;

  Flash1 = newFlash("Flash1", 9, 72, 481, 264, true);
  flashpreview = newFlash("flashpreview", 523, 262, 129, 73, false);
  Flash2 = newFlash("Flash2", 256, 131, 89, 121, false);
}

std::unique_ptr<FlashControl> MainForm::newFlash(const std::string& name, int l, int t, int w,
                                                 int h, bool visible) {
  auto f = services.flashFactory->create(name);
  f->name = name;
  f->setBounds(l, t, w, h);
  f->visible = visible;
  applyPlayChoices(*f);
  return f;
}

void MainForm::applyPlayChoices(FlashControl& control) {
  // A fresh control plays as the menu says, not with the control's own defaults.
  control.setQuality(item("low").checked ? 0 : 1);
  control.setLoop(item("flashloop").checked);
  // Web pages a movie opens on a click go to the desktop's browser.
  control.onOpenUrl = [this](const std::string& url) {
    if (services.desktop) services.desktop->openUrl(url);
  };
}

int MainForm::clientWidth() const {
  int w = 0;
  for (const auto& [name, c] : controls)
    if (c.visible) w = std::max(w, c.right());
  for (const Control* c :
       {static_cast<const Control*>(Flash1.get()), static_cast<const Control*>(Flash2.get()),
        static_cast<const Control*>(flashpreview.get()), static_cast<const Control*>(&flashlist)})
    if (c && c->visible) w = std::max(w, c->right());
  return w;
}

int MainForm::clientHeight() const {
  int h = 0;
  for (const auto& [name, c] : controls)
    if (c.visible) h = std::max(h, c.bottom());
  for (const Control* c :
       {static_cast<const Control*>(Flash1.get()), static_cast<const Control*>(Flash2.get()),
        static_cast<const Control*>(flashpreview.get()), static_cast<const Control*>(&flashlist)})
    if (c && c->visible) h = std::max(h, c->bottom());
  return h;
}

std::unique_ptr<FlashControl>& MainForm::flashSlot(const std::string& name) {
  if (name == "Flash1") return Flash1;
  if (name == "Flash2") return Flash2;
  if (name == "flashpreview") return flashpreview;
  throw AppError("no Flash control named " + name);
}

}  // namespace rv

namespace rv {

const std::string& MainForm::entry(int index) const {
  if (index < 0 || index >= static_cast<int>(flashlist.items.size()))
    throw AppError("no playlist entry " + std::to_string(index));
  return flashlist.items[static_cast<std::size_t>(index)];
}

}  // namespace rv
