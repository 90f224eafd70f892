// The pointer over the main window's skin: dragging the window by its backgrounds, double clicks
// that switch to full screen and back, and the hover pictures of the buttons.
#include "app/main_form.h"

namespace rv {

void MainForm::image1MouseDown(bool leftButton) {
  if (leftButton && services.window) services.window->startSystemMove();
}

void MainForm::ImagelistMouseDown(bool leftButton) { image1MouseDown(leftButton); }

void MainForm::image1DblClick() {
  if (!item("fullscreen").checked)
    item("fullscreen").invoke();
  else
    item("normalview").invoke();
}

void MainForm::ImagelistDblClick() { image1DblClick(); }

void MainForm::openMouseMove() { ctl("imgopenfile").visible = true; }

void MainForm::opendirMouseMove() { ctl("imgopendir").visible = true; }

void MainForm::playMouseMove() {
  if (Flash1->hasMovie()) ctl("play2").visible = true;
}

void MainForm::stopMouseMove() {
  if (Flash1->hasMovie()) ctl("stop2").visible = true;
}

// Back on the background the hover pictures go out, except the one that shows the current
// look: stop2 while paused, play2 while playing.
void MainForm::image1MouseMove() {
  ctl("imgopendir").visible = false;
  ctl("imgopenfile").visible = false;
  if (flashpaused)
    ctl("play2").visible = false;
  else if (Flash1->hasMovie())
    ctl("stop2").visible = false;
  else
    ctl("play2").visible = false;
}

void MainForm::ImagelistMouseMove() {
  image1MouseMove();
  listhint = false;
}

}  // namespace rv
