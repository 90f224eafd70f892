// Everything graphic that MovieClip adds on top of the timeline: the drawing API now, bitmaps,
// filters and transforms as they come.

#include "swf/avm1/builtins/registry.h"
#include "swf/player/clip_drawing.h"

namespace swf::avm1 {

void installClipGraphics(Vm& vm, Object* proto) { swf::defineDrawingMethods(vm, proto); }

}  // namespace swf::avm1
