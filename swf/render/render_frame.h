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

}  // namespace swf
