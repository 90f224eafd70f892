#pragma once
// Combines a blend-mode group with what is below it by blending the pixels directly, where
// both are plain ARGB32 images and the clip is made of whole-pixel rectangles.

#include <cairo.h>

#include "swf/render/blend_pixels.h"

namespace swf {

// Blends `group` (popped with an identity CTM) onto the current target of `cr` within its clip.
// Returns false, having drawn nothing, when the surfaces or the clip are of another kind; the
// caller then composites through Cairo.
bool compositeBlendGroup(cairo_t* cr, cairo_pattern_t* group, PixelBlend mode);

}  // namespace swf
