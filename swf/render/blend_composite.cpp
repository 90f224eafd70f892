#include "swf/render/blend_composite.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace swf {

namespace {

bool isPlainArgbImage(cairo_surface_t* s) {
  if (!s || cairo_surface_status(s) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32)
    return false;
  double sx, sy;
  cairo_surface_get_device_scale(s, &sx, &sy);
  return sx == 1 && sy == 1;
}

bool isWhole(double v) { return v == std::floor(v) && std::fabs(v) < 1e9; }

struct PixelRect {
  long x0, y0, x1, y1;
};

// Where an image's pixels lie in device space.
PixelRect deviceArea(cairo_surface_t* s, double offsetX, double offsetY) {
  long x0 = -long(offsetX), y0 = -long(offsetY);
  return {x0, y0, x0 + cairo_image_surface_get_width(s), y0 + cairo_image_surface_get_height(s)};
}

using RectangleList =
    std::unique_ptr<cairo_rectangle_list_t, decltype(&cairo_rectangle_list_destroy)>;

}  // namespace

bool compositeBlendGroup(cairo_t* cr, cairo_pattern_t* group, PixelBlend mode) {
  cairo_surface_t* src = nullptr;
  if (cairo_pattern_get_type(group) != CAIRO_PATTERN_TYPE_SURFACE ||
      cairo_pattern_get_surface(group, &src) != CAIRO_STATUS_SUCCESS)
    return false;
  cairo_surface_t* dst = cairo_get_group_target(cr);
  if (!isPlainArgbImage(src) || !isPlainArgbImage(dst) || src == dst) return false;

  // The group must sit on the target's pixel grid: a whole-pixel translation, no scaling.
  cairo_matrix_t m;
  cairo_pattern_get_matrix(group, &m);
  cairo_matrix_t ctm;
  cairo_get_matrix(cr, &ctm);
  if (m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || !isWhole(m.x0) || !isWhole(m.y0) ||
      ctm.xx != 1 || ctm.yy != 1 || ctm.xy != 0 || ctm.yx != 0 || ctm.x0 != 0 || ctm.y0 != 0)
    return false;
  double sox, soy, dox, doy;
  cairo_surface_get_device_offset(src, &sox, &soy);
  cairo_surface_get_device_offset(dst, &dox, &doy);
  if (!isWhole(sox) || !isWhole(soy) || !isWhole(dox) || !isWhole(doy)) return false;

  RectangleList clip(cairo_copy_clip_rectangle_list(cr), cairo_rectangle_list_destroy);
  if (!clip || clip->status != CAIRO_STATUS_SUCCESS) return false;
  std::vector<PixelRect> areas;
  for (int i = 0; i < clip->num_rectangles; ++i) {
    const cairo_rectangle_t& r = clip->rectangles[i];
    if (!isWhole(r.x) || !isWhole(r.y) || !isWhole(r.width) || !isWhole(r.height)) return false;
    areas.push_back({long(r.x), long(r.y), long(r.x + r.width), long(r.y + r.height)});
  }

  // Device point p reads the group at p + (m.x0, m.y0), which is its pixel p + m + sox.
  long shiftX = long(m.x0), shiftY = long(m.y0);
  PixelRect dstArea = deviceArea(dst, dox, doy);
  PixelRect srcArea = deviceArea(src, sox, soy);
  srcArea = {srcArea.x0 - shiftX, srcArea.y0 - shiftY, srcArea.x1 - shiftX, srcArea.y1 - shiftY};

  cairo_surface_flush(src);
  cairo_surface_flush(dst);
  unsigned char* dstData = cairo_image_surface_get_data(dst);
  const unsigned char* srcData = cairo_image_surface_get_data(src);
  int dstStride = cairo_image_surface_get_stride(dst),
      srcStride = cairo_image_surface_get_stride(src);
  for (const PixelRect& a : areas) {
    long x0 = std::max({a.x0, dstArea.x0, srcArea.x0}),
         x1 = std::min({a.x1, dstArea.x1, srcArea.x1});
    long y0 = std::max({a.y0, dstArea.y0, srcArea.y0}),
         y1 = std::min({a.y1, dstArea.y1, srcArea.y1});
    if (x1 <= x0 || y1 <= y0) continue;
    for (long y = y0; y < y1; ++y) {
      auto* d =
          reinterpret_cast<uint32_t*>(dstData + (y - dstArea.y0) * dstStride) + (x0 - dstArea.x0);
      auto* s = reinterpret_cast<const uint32_t*>(srcData + (y - srcArea.y0) * srcStride) +
                (x0 - srcArea.x0);
      blendRow(mode, d, s, size_t(x1 - x0));
    }
  }
  cairo_surface_mark_dirty(dst);
  return true;
}

}  // namespace swf
