// The tool bar's own seek bar over Flash2: a press on the track jumps, the knob can be dragged.
// Its arithmetic is integer, truncating, left to right: frame = frames × offset ÷ 209.
#include "app/main_form.h"
#include "playback/seek_arithmetic.h"
#include "skins/tool_bar.h"

namespace rv {
namespace {

// The frame for a knob or pointer `offset` pixels into the track. A drag that began off the
// knob's left edge can put the knob before the track: the frame stays inside the movie.
int frameAt(int offset, int totalFrames) {
  return clampFrame(checkedDiv(int64_t{totalFrames} * offset, ToolBar::kTrackLength), totalFrames);
}

}  // namespace

void ToolBar::Image2MouseDown(int x) {
  FlashControl* f = loadedFlash2();
  if (!f) return;
  ctl("imagejct").left = x + kTrackLeft;
  f->setFrameNum(frameAt(x, f->totalFrames()));
  f->play();
  if (!form->item("playstop").checked) f->stop();  // a paused movie stays paused
}

void ToolBar::imagejctMouseDown(int x) {
  capturing = true;
  toolgrabx = x;
}

void ToolBar::imagejctMouseMove(int x, int screenX) {
  const int d = screenX - left;
  FlashControl* f = loadedFlash2();
  // The knob stops where the pointer leaves the track.
  if (!capturing || d <= kTrackLeft || d >= kTrackLeft + kTrackLength || !f) return;
  Control& knob = ctl("imagejct");
  knob.left += x - toolgrabx;
  f->setFrameNum(frameAt(knob.left - kTrackLeft, f->totalFrames()));
}

void ToolBar::imagejctMouseUp(int x, int screenX) {
  FlashControl* f = loadedFlash2();
  if (!capturing || !f) return;
  capturing = false;
  const int d = screenX - left;
  if (d > kTrackLeft - 1 && d < kTrackLeft + kTrackLength + 1)
    ctl("imagejct").left += x - toolgrabx;
  // The release leaves the frame where the drag put it.
  if (form->item("playstop").checked)
    f->play();
  else
    f->stop();
}

}  // namespace rv
