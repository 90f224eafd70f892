#include "swf/render/filters/apply_filters.h"

#include <algorithm>
#include <cstdlib>

#include "swf/render/filters/box_blur.h"
#include "swf/render/filters/color_filters.h"
#include "swf/render/filters/shadow_filters.h"

namespace swf {
namespace {

template <typename... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

FilterReach blurReachOf(const FilterBlur& b, FilterScale scale) {
  int passes = cappedPasses(b.passes);
  int rx = blurReach(deviceBlur(b.blurX, scale.x), passes);
  int ry = blurReach(deviceBlur(b.blurY, scale.y), passes);
  return {rx, ry, rx, ry};
}

// A blur moved by an offset. Effects that stay inside the object spread it nowhere, but still
// carry pixels as far as the others (`influence`).
FilterReach shiftedReach(const FilterBlur& b, double angle, double distance, bool inside,
                         bool bothWays, FilterScale scale, bool influence) {
  if (inside && !influence) return {};
  FilterReach r = blurReachOf(b, scale);
  int dx, dy;
  filterOffset(angle, distance, scale, dx, dy);
  if (bothWays) {
    dx = std::abs(dx);
    dy = std::abs(dy);
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  }
  return {r.left + std::max(0, -dx), r.top + std::max(0, -dy), r.right + std::max(0, dx),
          r.bottom + std::max(0, dy)};
}

FilterReach reachOf(const Filter& f, FilterScale scale, bool influence) {
  return std::visit(
      Overloaded{[&](const DropShadowFilter& d) {
                   return shiftedReach(d.blur, d.angle, d.distance, d.inner, false, scale,
                                       influence);
                 },
                 [&](const BlurFilter& b) { return blurReachOf(b.blur, scale); },
                 [&](const GlowFilter& g) {
                   return shiftedReach(g.blur, 0, 0, g.inner, false, scale, influence);
                 },
                 [&](const BevelFilter& b) {
                   return shiftedReach(b.blur, b.angle, b.distance, b.inner && !b.onTop, true,
                                       scale, influence);
                 },
                 [&](const GradientGlowFilter& g) {
                   return shiftedReach(g.p.blur, g.p.angle, g.p.distance, g.p.inner && !g.p.onTop,
                                       false, scale, influence);
                 },
                 [&](const GradientBevelFilter& g) {
                   return shiftedReach(g.p.blur, g.p.angle, g.p.distance, g.p.inner && !g.p.onTop,
                                       true, scale, influence);
                 },
                 [](const ConvolutionFilter&) { return FilterReach{}; },
                 [](const ColorMatrixFilter&) { return FilterReach{}; }},
      f);
}

}  // namespace

bool hasVisibleFilters(const FilterList* filters) { return filters && !filters->empty(); }

void applyFilters(const FilterList& filters, FilterImage img, FilterScale scale) {
  size_t n = std::min(filters.size(), kMaxFiltersApplied);
  for (size_t i = 0; i < n; ++i) {
    std::visit(
        Overloaded{[&](const DropShadowFilter& d) { applyDropShadow(d, img, scale); },
                   [&](const BlurFilter& b) {
                     Plane8 p{reinterpret_cast<uint8_t*>(img.pixels), img.width, img.height, 4,
                              size_t(img.stride) * 4};
                     boxBlur(p, deviceBlur(b.blur.blurX, scale.x),
                             deviceBlur(b.blur.blurY, scale.y), cappedPasses(b.blur.passes));
                   },
                   [&](const GlowFilter& g) { applyGlow(g, img, scale); },
                   [&](const BevelFilter& b) { applyBevel(b, img, scale); },
                   [&](const GradientGlowFilter& g) { applyGradientGlow(g.p, img, scale); },
                   [&](const GradientBevelFilter& g) { applyGradientBevel(g.p, img, scale); },
                   [&](const ConvolutionFilter& c) { applyConvolution(c, img); },
                   [&](const ColorMatrixFilter& m) { applyColorMatrix(m, img); }},
        filters[i]);
  }
}

namespace {

FilterReach sumReach(const FilterList& filters, FilterScale scale, bool influence) {
  FilterReach total;
  size_t n = std::min(filters.size(), kMaxFiltersApplied);
  for (size_t i = 0; i < n; ++i) {
    FilterReach r = reachOf(filters[i], scale, influence);
    total.left += r.left;
    total.top += r.top;
    total.right += r.right;
    total.bottom += r.bottom;
  }
  return total;
}

}  // namespace

FilterReach filtersReach(const FilterList& filters, FilterScale scale) {
  return sumReach(filters, scale, false);
}

FilterReach filtersInfluence(const FilterList& filters, FilterScale scale) {
  return sumReach(filters, scale, true);
}

}  // namespace swf
