// Everything graphic that MovieClip adds on top of the timeline: the drawing API, bitmaps, filters
// and blend modes, and the classes of flash.geom, flash.display and flash.filters they work with.

#include "swf/avm1/builtins/geom_classes.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/player/bitmap_data.h"
#include "swf/player/clip_drawing.h"
#include "swf/player/clip_masks.h"
#include "swf/player/filter_classes.h"
#include "swf/player/transform_class.h"

namespace swf::avm1 {

void installClipGraphics(Vm& vm, Object* proto) {
  installGeom(vm);
  swf::installBitmapData(vm);
  swf::defineDrawingMethods(vm, proto);
  swf::defineMaskMethod(vm, proto);
  swf::defineVersionMethod(vm, proto);
  swf::defineBitmapMethods(vm, proto);
  swf::installFilters(vm, proto);
  swf::installTransform(vm, proto);
}

}  // namespace swf::avm1
