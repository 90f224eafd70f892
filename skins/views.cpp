// The three views of the main window (normal, main window only, full screen), always on top and
// minimising. The movie lives in Flash1 in the first two views and in Flash2 in full screen;
// every switch hands it over with its frame and play state and unloads the control it leaves.
#include "app/main_form.h"
#include "playlist/topmost_pause.h"
#include "skins/tool_bar.h"

namespace rv {
namespace {

// Exactly one view item carries the check mark: it is the record of the current view.
void checkView(MainForm& form, const std::string& view) {
  for (const char* name : {"normalview", "easyview", "fullscreen"})
    form.item(name).checked = view == name;
}

// The playlist panel as viewbig says, with the outline that goes with it.
void restorePanel(MainForm& form) {
  if (form.viewbig)
    form.listbtnonClick();
  else
    form.listbtnoffClick();
}

// Gives `to` the movie of `from` at the frame `from` shows.
void handOver(FlashControl& from, FlashControl& to) {
  to.setMovie(from.movie());
  to.setFrameNum(from.frameNum());
}

// Plays on, or stays paused as the user left it.
void resume(const MainForm& form, FlashControl& control) {
  if (form.flashpaused)
    control.stop();
  else
    control.play();
}

}  // namespace

int MainForm::windowWidth() const { return view.autoSize ? clientWidth() : view.width; }
int MainForm::windowHeight() const { return view.autoSize ? clientHeight() : view.height; }

void MainForm::windowsmaxClick() {
  checkView(*this, "fullscreen");
  view.savedleft = left;
  view.savedtop = top;
  Flash2->visible = true;

  // A borderless window without an outline over the whole screen it is on.
  WindowHost* host = services.window;
  const int screenW = host ? host->screenWidth() : 0;
  const int screenH = host ? host->screenHeight() : 0;
  windowRegion.reset();
  Flash2->left = 0;
  Flash2->top = 0;
  left = host ? host->screenLeft() : 0;
  top = host ? host->screenTop() : 0;
  view.autoSize = false;
  view.width = screenW;
  view.height = screenH;
  view.coversScreen = true;
  Flash2->width = screenW;
  Flash2->height = screenH;

  flashlist.visible = false;
  flashpreview->visible = false;
  Flash1->visible = false;

  if (Flash1->hasMovie()) {
    Flash1->stop();
    renewflash("Flash2");
    Flash2->sendDoubleClick();
    handOver(*Flash1, *Flash2);
    Flash1->setMovie(kUnloadMovie);
    if (flashpaused) item("playstop").checked = false;
    resume(*this, *Flash2);
  }
}

void MainForm::fullscreenClick() {
  checkView(*this, "fullscreen");
  windowsmaxClick();
  easyviewmode = false;
}

void MainForm::normalviewClick() {
  if (toolBar) {
    try {
      toolBar->close();
    } catch (...) {
      // Closing the tool bar must never keep the view from changing.
    }
  }
  view.autoSize = true;
  view.coversScreen = false;
  Flash1->left = flash1left;
  Flash1->top = flash1top;

  if (item("fullscreen").checked) {
    left = view.savedleft;
    top = view.savedtop;
    const bool movie = Flash2->hasMovie();
    if (movie) Flash2->stop();
    Flash2->visible = false;
    Flash1->visible = true;
    if (movie) {
      renewflash("Flash1");
      Flash1->sendDoubleClick();
      handOver(*Flash2, *Flash1);
      resume(*this, *Flash1);
      Flash2->setMovie(kUnloadMovie);
    }
    restorePanel(*this);
  }
  if (item("easyview").checked) {
    easyviewmode = false;
    restorePanel(*this);
  }
  checkView(*this, "normalview");
  if (item("alwaysonthetop").checked) setWindowTopmost(*this, true);
}

void MainForm::easyviewClick() {
  if (item("fullscreen").checked) {
    const bool movie = Flash2->hasMovie();
    if (movie) Flash2->stop();
    left = view.savedleft;
    top = view.savedtop;
    Flash2->visible = false;
    Flash1->visible = true;
    // The control of the normal view is kept on this path, not renewed.
    if (movie) handOver(*Flash2, *Flash1);
    Flash2->setMovie(kUnloadMovie);
    // An empty control refuses Play and Stop; there is nothing to resume then.
    if (Flash1->hasMovie()) resume(*this, *Flash1);
    restorePanel(*this);
  }
  Flash1->left = 0;
  Flash1->top = 0;
  easyviewmode = true;
  windowRegion = Region{{0, 0, Flash1->width, Flash1->height}};
  checkView(*this, "easyview");
  if (item("alwaysonthetop").checked) setWindowTopmost(*this, true);
  view.autoSize = false;
  view.coversScreen = false;
  view.width = Flash1->width;
  view.height = Flash1->height;
}

void MainForm::alwaysonthetopClick() {
  MenuItem& onTop = item("alwaysonthetop");
  onTop.checked = !onTop.checked;
  setWindowTopmost(*this, onTop.checked);
}

void MainForm::windowsminClick() {
  if (services.window) services.window->minimize();
}

}  // namespace rv
