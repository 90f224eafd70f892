#pragma once
// Comparing a rendered frame with a reference picture, channel by channel.

#include <cairo.h>

#include <string>

namespace rv::conformance {

struct Comparison {
  bool sameSize = false;
  int worstDifference = 0;  // the largest difference of any channel of any pixel
  long pixelsOver = 0;      // pixels with some channel differing by more than the tolerance
};

// Both surfaces are ARGB32 or RGB24; colours are compared unpremultiplied, alpha is ignored
// (references are opaque).
Comparison compareImages(cairo_surface_t* rendered, cairo_surface_t* reference, int tolerance);

}  // namespace rv::conformance
