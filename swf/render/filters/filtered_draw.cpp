#include "swf/render/filters/filtered_draw.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "swf/render/bounds.h"
#include "swf/render/filters/apply_filters.h"
#include "swf/render/filters/color_filters.h"

namespace swf {
namespace {

struct PixelBox {
  long x0, y0, x1, y1;
  bool empty() const { return x1 <= x0 || y1 <= y0; }
  long area() const { return empty() ? 0 : (x1 - x0) * (y1 - y0); }
};

long clampCoord(double v) { return long(std::clamp(v, -1e7, 1e7)); }

// Whole pixels around a device box: its left and top rounded down, its right and bottom rounded
// up and one pixel beyond, as the player that made the format lays out filtered pictures.
PixelBox pixelsAround(const Box& b) {
  return {clampCoord(std::floor(b.x0)), clampCoord(std::floor(b.y0)),
          clampCoord(std::ceil(b.x1)) + 1, clampCoord(std::ceil(b.y1)) + 1};
}

PixelBox grow(PixelBox b, const FilterReach& r) {
  return {b.x0 - r.left, b.y0 - r.top, b.x1 + r.right, b.y1 + r.bottom};
}

PixelBox intersect(const PixelBox& a, const PixelBox& b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

bool isIdentity(const ColorTransform& c) {
  return c.rm == 1 && c.gm == 1 && c.bm == 1 && c.am == 1 && c.ra == 0 && c.ga == 0 && c.ba == 0 &&
         c.aa == 0;
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

}  // namespace

bool drawFiltered(const DrawState& s, const DisplayObject& obj,
                  const std::function<void(const DrawState&)>& drawContent) {
  if (s.maskMode || !hasVisibleFilters(obj.filters.get())) return false;
  if (s.groups >= kMaxFilterGroupDepth) return false;
  const FilterList& filters = *obj.filters;
  double perStagePixel = s.pixelsPerStagePixel();
  FilterScale scale{perStagePixel, perStagePixel};
  auto content = unfilteredBounds(obj, s.toDevice, perStagePixel);
  if (!content) return true;  // draws nothing, so neither do its filters
  FilterReach reach = filtersReach(filters, scale);
  PixelBox region = grow(pixelsAround(*content), reach);

  // Only what can show matters: the visible area, widened by how far the filters carry pixels
  // (a blur reaches into view from beyond it).
  cairo_t* cr = s.cr;
  double cx0, cy0, cx1, cy1;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_clip_extents(cr, &cx0, &cy0, &cx1, &cy1);
  cairo_restore(cr);
  cx0 = std::max(cx0, s.clipX0);
  cy0 = std::max(cy0, s.clipY0);
  cx1 = std::min(cx1, s.clipX1);
  cy1 = std::min(cy1, s.clipY1);
  PixelBox visible = pixelsAround({cx0, cy0, cx1, cy1});
  FilterReach carry = filtersInfluence(filters, scale);
  FilterReach across{carry.right, carry.bottom, carry.left, carry.top};
  PixelBox work = intersect(region, grow(visible, across));
  if (work.empty()) return true;
  if (work.area() > kMaxFilterPixels) return false;

  int w = int(work.x1 - work.x0), h = int(work.y1 - work.y0);
  // The outermost levels keep their buffer from frame to frame: a fresh one each time costs its
  // page faults, which at full screen are a good part of the filter's time. Deeper levels are
  // rare and get a buffer of their own, so that nested filters hold no memory between frames.
  constexpr int kKeptLevels = 2;
  thread_local std::vector<uint32_t> kept[kKeptLevels];
  std::vector<uint32_t> own;
  std::vector<uint32_t>& buffer = s.groups >= 0 && s.groups < kKeptLevels ? kept[s.groups] : own;
  size_t pixels = size_t(w) * size_t(h);
  if (buffer.size() < pixels) buffer.resize(pixels);
  std::fill(buffer.begin(), buffer.begin() + long(pixels), 0u);
  SurfacePtr surface(cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(buffer.data()), CAIRO_FORMAT_ARGB32, w, h, w * 4));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return false;
  cairo_surface_set_device_offset(surface.get(), -double(work.x0), -double(work.y0));
  {
    cairo_t* gc = cairo_create(surface.get());
    cairo_set_antialias(gc, cairo_get_antialias(cr));
    DrawState inner = s;
    inner.cr = gc;
    inner.cxform = ColorTransform{};  // the object's colour transform comes after its filters
    inner.fillOperator = CAIRO_OPERATOR_OVER;
    inner.inLayer = true;
    ++inner.groups;
    inner.clipX0 = double(work.x0);
    inner.clipY0 = double(work.y0);
    inner.clipX1 = double(work.x1);
    inner.clipY1 = double(work.y1);
    drawContent(inner);
    cairo_destroy(gc);
  }
  cairo_surface_flush(surface.get());
  FilterImage img{reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface.get())), w, h,
                  cairo_image_surface_get_stride(surface.get()) / 4};
  applyFilters(filters, img, scale);
  if (!isIdentity(s.cxform)) applyColorTransform(s.cxform, img);
  cairo_surface_mark_dirty(surface.get());

  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, double(work.x0), double(work.y0), w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, surface.get(), 0, 0);
  cairo_set_operator(cr, s.fillOperator);
  cairo_paint(cr);
  cairo_restore(cr);
  surface.reset();  // before its buffer can be used again
  return true;
}

}  // namespace swf
