// The commands that drive the movie: pictures, menu items and keys.
#include <sys/stat.h>

#include <exception>

#include "app/about_box.h"
#include "app/errors.h"
#include "app/main_form.h"
#include "app/settings_file.h"

namespace rv {
namespace {

// Level per channel of the five volume steps.
constexpr uint32_t kVolumeLevels[5] = {5000, 15000, 30000, 45000, 65535};

}  // namespace

void MainForm::showPlayingLook() {
  ctl("play").visible = false;
  ctl("play2").visible = true;
  ctl("stop").visible = true;
  ctl("stop2").visible = false;
}

void MainForm::showPausedLook() {
  ctl("play").visible = true;
  ctl("play2").visible = false;
  ctl("stop").visible = false;
  ctl("stop2").visible = true;
}

void MainForm::playClick() {
  if (!Flash1->hasMovie()) return;
  showPlayingLook();
  flashpaused = false;
  item("playstop").checked = true;
  Flash1->play();
}

void MainForm::stopClick() {
  if (!Flash1->hasMovie()) return;
  showPausedLook();
  flashpaused = true;
  item("playstop").checked = false;
  Flash1->stop();
}

void MainForm::playstopClick() {
  MenuItem& play = item("playstop");
  if (play.checked) {
    showPausedLook();
    flashpaused = true;
    play.checked = false;
    visibleFlash().stop();
  } else {
    showPlayingLook();
    flashpaused = false;
    play.checked = true;
    visibleFlash().play();
  }
}

void MainForm::rewindClick() { visibleFlash().rewind(); }

void MainForm::stepupClick() {
  stopClick();
  visibleFlash().forward();
}

void MainForm::stepbackClick() {
  stopClick();
  visibleFlash().back();
}

void MainForm::playframeClick() {
  auto text = services.dialogs->inputBox("Please input frame number:", "", "");
  if (!text || text->empty()) return;
  int frame = 0;
  bool done = SettingsFile::parseInt(*text, frame);
  if (done) {
    try {
      visibleFlash().setFrameNum(frame);
    } catch (const AppError&) {
      done = false;
    }
  }
  if (!done) services.dialogs->information("No such Frame number!");
}

void MainForm::zoomoutClick() {
  item("showall").checked = false;
  if (zoom100) {
    zoom100 = false;
    zoomsteps = 0;
    visibleFlash().zoom(80);
  }
  ++zoomsteps;
  if (zoomsteps != 0) item("zoomin").enabled = true;
  visibleFlash().zoom(80);
}

void MainForm::zoominClick() {
  --zoomsteps;
  if (zoomsteps == 0) item("zoomin").enabled = false;
  visibleFlash().zoom(125);
}

void MainForm::n100Click() {
  item("showall").checked = false;
  zoom100 = true;
  item("zoomin").enabled = false;
  visibleFlash().setScaleMode(3);
}

void MainForm::showallClick() {
  item("showall").checked = true;
  visibleFlash().setScaleMode(2);
}

void MainForm::lowClick() {
  Flash1->setQuality(0);
  Flash2->setQuality(0);
  item("low").checked = true;
  item("high").checked = false;
}

void MainForm::highClick() {
  Flash1->setQuality(1);
  Flash2->setQuality(1);
  item("high").checked = true;
  item("low").checked = false;
}

void MainForm::flashloopClick() {
  MenuItem& loop = item("flashloop");
  loop.checked = !loop.checked;
  Flash1->setLoop(loop.checked);
  Flash2->setLoop(loop.checked);
  item("listloop").checked = false;
  checkplaymode();
}

void MainForm::listloopClick() {
  MenuItem& movieLoop = item("flashloop");
  if (movieLoop.checked) {
    Flash1->setLoop(false);
    Flash2->setLoop(false);
    movieLoop.checked = false;
  }
  item("listloop").checked = !item("listloop").checked;
  checkplaymode();
}

void MainForm::autoplayClick() {
  item("autoplay").checked = !item("autoplay").checked;
  autoplayflash = !autoplayflash;
  checkplaymode();
}

void MainForm::vcClick(int n) {
  if (n < 1 || n > 5) throw AppError("no volume step " + std::to_string(n));
  static const char* const kIndicators[5] = {"v1", "v2", "v3", "v4", "v5"};
  for (int i = 1; i <= 5; ++i) ctl(kIndicators[i - 1]).visible = i == n;
  const uint32_t level = kVolumeLevels[n - 1];
  try {
    services.mixer->setVolume(level | (level << 16));
  } catch (const std::exception&) {
    // The device keeps its volume; the indicator shows the choice all the same.
  }
}

void MainForm::helpClick() {
  const std::string path = programDir + "help/index.html";
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
    services.dialogs->information("The help files are not exist.");
    return;
  }
  try {
    services.desktop->openDocument(path);
  } catch (const std::exception&) {
    // The desktop reports its own failures; the player has nothing to add.
  }
}

void MainForm::aboutClick() {
  if (aboutBox) aboutBox->show();
}

void MainForm::quitClick() { services.window->close(); }

void MainForm::exitClick() { services.window->close(); }

void MainForm::FormKeyDown(Key key, bool ctrl) {
  const bool movieKeys = (ctrl && Flash1->hasMovie()) || Flash2->hasMovie();
  switch (key) {
    case Key::Right:
      if (movieKeys) stepupClick();
      break;
    case Key::Left:
      if (movieKeys) stepbackClick();
      break;
    case Key::PageUp:
      if (movieKeys) item("lastmovie").invoke();
      break;
    case Key::PageDown:
      if (movieKeys) item("nextmovie").invoke();
      break;
    case Key::Escape:
      item("normalview").invoke();
      break;
    default:
      break;
  }
}

}  // namespace rv
