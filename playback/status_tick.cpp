// The 10 ms tick: end-of-movie rules, read-outs and the seek knob.
#include "app/main_form.h"
#include "playback/seek_arithmetic.h"
#include "skins/tool_bar.h"

namespace rv {

void MainForm::Timer1Timer() {
  // A modal box opened inside a tick runs its own event loop; ticks arriving meanwhile wait.
  if (inTick) return;
  inTick = true;
  struct Release {
    bool& flag;
    ~Release() { flag = false; }
  } release{inTick};

  tellStoppedScripts();
  if (!Flash1->hasMovie() && !Flash2->hasMovie()) return;
  playflashlist(visibleFlash());

  if (Flash1->hasMovie()) {
    ctl("Lblframe").caption = frameText(Flash1->currentFrame(), Flash1->totalFrames());
    if (Flash1->totalFrames() - 1 == Flash1->currentFrame() && item("listloop").checked &&
        !flashpaused && !jctdragging)
      item("nextmovie").invoke();
    // Flash1 may hold the next movie now: read it afresh.
    if (!jctdragging) {
      const int step = checkedDiv(int64_t{jctmax - jctmin} * 100, Flash1->totalFrames());
      ctl("jctcontrol").left = checkedDiv(int64_t{step} * Flash1->currentFrame(), 100) + jctmin;
    }
    ctl("Lbltime").caption = timeText(Flash1->currentFrame());
  }

  if (Flash2->hasMovie() && Flash2->totalFrames() - 1 == Flash2->currentFrame() &&
      item("listloop").checked)
    item("nextmovie").invoke();

  if (Flash2->visible) {
    const std::string time = timeText(Flash2->currentFrame());
    const bool capturing = toolBar && toolBar->capturing;
    if (!capturing) {
      const int knob =
          checkedDiv(int64_t{checkedDiv(20900, Flash2->totalFrames())} * Flash2->currentFrame(),
                     100) +
          8;
      if (toolBar) toolBar->ctl("imagejct").left = knob;
    }
    if (toolBar) {
      toolBar->ctl("lbltime").caption = time;
      toolBar->ctl("lblframe").caption = frameText(Flash2->currentFrame(), Flash2->totalFrames());
    }
  }
}

}  // namespace rv
