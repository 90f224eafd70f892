// The main window's seek bar: a press on the track jumps, the knob can be dragged.
#include "app/main_form.h"
#include "playback/seek_arithmetic.h"

namespace rv {

void MainForm::Imagejct0MouseDown(int x) {
  if (!Flash1->hasMovie()) return;
  ctl("jctcontrol").left = ctl("Imagejct0").left + x;
  const int total = Flash1->totalFrames();
  // Near the right end the press computes a frame past the movie; the control would refuse it.
  Flash1->setFrameNum(clampFrame(checkedDiv(int64_t{x} * total, jctmax - jctmin), total));
  Flash1->play();
  if (flashpaused) Flash1->stop();
}

void MainForm::jctcontrolMouseDown(int x) {
  jctdragging = true;
  jctgrabx = x;
}

void MainForm::jctcontrolMouseMove(int x, int screenX) {
  const int px = screenX - left;
  if (!jctdragging || px <= jctmin || px >= jctmax) return;
  if (!Flash1->hasMovie()) return;
  Control& knob = ctl("jctcontrol");
  knob.left += x - jctgrabx;
  const int total = Flash1->totalFrames();
  Flash1->setFrameNum(
      clampFrame(checkedDiv(int64_t{total} * (knob.left - jctmin), jctmax - jctmin), total));
}

void MainForm::jctcontrolMouseUp(int x, int screenX) {
  if (!jctdragging) return;
  if (!Flash1->hasMovie()) return;
  jctdragging = false;
  const int px = screenX - left;
  if (px >= jctmin && px <= jctmax) ctl("jctcontrol").left += x - jctgrabx;
  if (flashpaused)
    Flash1->stop();
  else
    Flash1->play();
}

}  // namespace rv
