#pragma once
// What drawing one display object needs to know about where it is drawn.

#include <cairo.h>

#include "swf/model/geometry.h"

namespace swf {

class ScriptMasks;

struct DrawState {
  cairo_t* cr = nullptr;
  Matrix toDevice;           // the object's twips to device pixels
  ColorTransform cxform;     // accumulated from the root
  double stageScale = 0.05;  // device pixels per stage twip, for strokes that do not scale
  // Device pixels per stage pixel, the unit filters give their sizes in.
  double pixelsPerStagePixel() const { return stageScale * 20; }
  bool antialias = true;
  bool maskMode = false;  // drawing a mask: only coverage counts, colours are ignored
  bool inLayer = false;
  const ScriptMasks* scriptMasks = nullptr;  // the masks scripts set in the frame being drawn
  int groups = 0;
  // How fills combine with what is below: other than OVER only for an object with a blend mode
  // that is a single shape of fills, which needs no group of its own.
  cairo_operator_t fillOperator =
      CAIRO_OPERATOR_OVER;  // offscreen groups (masks, blend modes) open around this object
  // The device area being drawn (the frame's clip); characters wholly outside it are skipped.
  double clipX0 = -1e300, clipY0 = -1e300, clipX1 = 1e300,
         clipY1 = 1e300;  // drawing into the group of an object with a blend mode
};

}  // namespace swf
