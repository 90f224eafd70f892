#pragma once
// Bitmaps drawn through a colour transform: the transformed pixels are made once and kept for
// as long as the same bitmap keeps being drawn with the same transform.

#include <cairo.h>

#include "swf/model/geometry.h"

namespace swf {

// Returns a surface owned by the cache, valid until the next call.
cairo_surface_t* transformedBitmap(cairo_surface_t* source, const ColorTransform& cx);

// Applies a colour transform to premultiplied ARGB32 pixels in place.
void applyColorTransform(cairo_surface_t* surface, const ColorTransform& cx);

}  // namespace swf
