#pragma once
// Draws a display tree with Cairo.

#include <cairo.h>

#include "swf/model/geometry.h"
#include "swf/player/display_object.h"

namespace swf {

struct RenderOptions {
  bool antialias = true;  // Quality 1 high, 0 low
  Matrix stageToDevice;   // twips of the stage to device pixels
  RGBA background{255, 255, 255, 255};
};

// Fills the target with the background, then draws the tree of `root`.
void renderFrame(cairo_t* cr, const DisplayObject& root, const RenderOptions& options);

// Draws `obj` and its children over what the target holds, ignoring the object's own matrix and
// colour transform: `toDevice` maps its twips to the target's pixels (BitmapData.draw). Masks
// set by scripts are looked for under `maskRoot` (whose content `maskRootToDevice` maps), so
// an object that is a mask draws nothing and a masked one shows through its mask.
void renderObject(cairo_t* cr, const DisplayObject& obj, const Matrix& toDevice,
                  const ColorTransform& cxform, bool antialias,
                  const DisplayObject* maskRoot = nullptr, const Matrix& maskRootToDevice = {});

}  // namespace swf
