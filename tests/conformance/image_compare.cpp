#include "image_compare.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace rv::conformance {

namespace {

void rgbAt(cairo_surface_t* s, int x, int y, int rgb[3]) {
  const uint8_t* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  uint32_t p = reinterpret_cast<const uint32_t*>(data + size_t(stride) * size_t(y))[x];
  uint32_t a = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32 ? p >> 24 : 255;
  uint32_t c[3] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff};
  for (int i = 0; i < 3; ++i) rgb[i] = a == 0 ? 0 : a == 255 ? int(c[i]) : int(c[i] * 255 / a);
}

}  // namespace

Comparison compareImages(cairo_surface_t* rendered, cairo_surface_t* reference, int tolerance) {
  Comparison c;
  int w = cairo_image_surface_get_width(rendered), h = cairo_image_surface_get_height(rendered);
  c.sameSize = w == cairo_image_surface_get_width(reference) &&
               h == cairo_image_surface_get_height(reference);
  if (!c.sameSize) return c;
  cairo_surface_flush(rendered);
  cairo_surface_flush(reference);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int a[3], b[3];
      rgbAt(rendered, x, y, a);
      rgbAt(reference, x, y, b);
      int worst = 0;
      for (int i = 0; i < 3; ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
      c.worstDifference = std::max(c.worstDifference, worst);
      if (worst > tolerance) ++c.pixelsOver;
    }
  }
  return c;
}

}  // namespace rv::conformance
