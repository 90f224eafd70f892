#include "swf/render/fill_source.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "swf/bitmaps/bitmap.h"
#include "swf/player/matrix_math.h"
#include "swf/render/bitmap_cxform_cache.h"
#include "swf/render/cairo_util.h"
#include "swf/render/device_fill_cache.h"

namespace swf {

namespace {

// The extent of a gradient square in its own space, in twips.
constexpr double kGradientHalf = 16384;

double toLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double fromLinear(double c) {
  return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

ColorStop stopOf(double offset, RGBA c) {
  return {offset, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0};
}

bool isAlphaOnly(const ColorTransform& cx) {
  return cx.rm == 1 && cx.gm == 1 && cx.bm == 1 && cx.ra == 0 && cx.ga == 0 && cx.ba == 0 &&
         cx.aa == 0;
}

cairo_extend_t extendOf(SpreadMode m) {
  return m == SpreadMode::Reflect  ? CAIRO_EXTEND_REFLECT
         : m == SpreadMode::Repeat ? CAIRO_EXTEND_REPEAT
                                   : CAIRO_EXTEND_PAD;
}

// Linear gradients are drawn through a ramp of 256 colours, the way the player resolves them:
// a one-row image stretched over the gradient square is much cheaper to paint than a gradient
// computed per pixel.
PatternPtr linearRampPattern(const DrawState& s, const FillStyle& style) {
  SurfacePtr ramp(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 256, 1));
  if (cairo_surface_status(ramp.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(ramp.get());
  auto* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(ramp.get()));
  fillRamp(gradientStops(style.gradient, s.cxform), px);
  cairo_surface_mark_dirty(ramp.get());
  PatternPtr p(cairo_pattern_create_for_surface(ramp.get()));
  cairo_pattern_set_extend(p.get(), extendOf(style.gradient.spread));
  cairo_pattern_set_filter(p.get(), CAIRO_FILTER_NEAREST);
  // Gradient square (-16384..16384) to ramp entries; the other axis barely moves in the row.
  Matrix toRamp{256.0 / 32768, 0, 0, 1.0 / 32768, 128, 0.5};
  cairo_matrix_t m = toCairo(toRamp * inverse(style.matrix));
  cairo_pattern_set_matrix(p.get(), &m);
  return p;
}

PatternPtr radialPattern(const DrawState& s, const FillStyle& style) {
  const Gradient& g = style.gradient;
  double fx = style.kind == FillKind::FocalGradient ? g.focalPoint * kGradientHalf : 0;
  PatternPtr p(cairo_pattern_create_radial(fx, 0, 0, 0, 0, kGradientHalf));
  for (const ColorStop& st : gradientStops(g, s.cxform))
    cairo_pattern_add_color_stop_rgba(p.get(), st.offset, st.r, st.g, st.b, st.a);
  cairo_pattern_set_extend(p.get(), extendOf(g.spread));
  cairo_matrix_t m = toCairo(inverse(style.matrix));
  cairo_pattern_set_matrix(p.get(), &m);
  return p;
}

// Paints `pattern` (in the shape's space) through the device fill cache when the fill is large
// enough to be worth it; otherwise makes it the source directly.
void setSource(const DrawState& s, PatternPtr pattern, FillSourceKey key, const DeviceBox* extent) {
  if (extent && extent->area() >= kMinCachedFillPixels) {
    key.sourceToDevice = s.toDevice;
    key.box = *extent;
    cairo_surface_t* filled = deviceFill(key, [&](cairo_t* cr) {
      cairo_matrix_t m = toCairo(s.toDevice);
      cairo_transform(cr, &m);
      cairo_set_source(cr, pattern.get());
      cairo_paint(cr);
    });
    if (filled) {
      PatternPtr p(cairo_pattern_create_for_surface(filled));
      cairo_pattern_set_filter(p.get(), CAIRO_FILTER_NEAREST);
      Matrix userToBox = Matrix{1, 0, 0, 1, -double(extent->x0), -double(extent->y0)} * s.toDevice;
      cairo_matrix_t m = toCairo(userToBox);
      cairo_pattern_set_matrix(p.get(), &m);
      cairo_set_source(s.cr, p.get());
      return;
    }
  }
  cairo_set_source(s.cr, pattern.get());
}

FillSource setGradient(const DrawState& s, const FillStyle& style, const DeviceBox* extent) {
  const Gradient& g = style.gradient;
  if (s.maskMode) {
    cairo_set_source_rgba(s.cr, 0, 0, 0, 1);
    return {true, 1};
  }
  if (g.stops.empty()) {  // a gradient without colours paints opaque black
    setSourceColor(s.cr, s.cxform.apply(RGBA{}));
    return {true, 1};
  }
  if (g.stops.size() == 1 || !usableMatrix(style.matrix)) {
    RGBA c = s.cxform.apply(g.stops.back().color);
    setSourceColor(s.cr, c);
    return {c.a > 0, 1};
  }
  bool linear = style.kind == FillKind::LinearGradient;
  PatternPtr p = linear ? linearRampPattern(s, style) : radialPattern(s, style);
  if (!p) return {};
  FillSourceKey key;
  if (extent) {
    key.gradient = {double(style.kind), double(g.spread), g.focalPoint};
    Matrix m = style.matrix;
    key.gradient.insert(key.gradient.end(), {m.a, m.b, m.c, m.d, m.tx, m.ty});
    for (const ColorStop& st : gradientStops(g, s.cxform))
      key.gradient.insert(key.gradient.end(), {st.offset, st.r, st.g, st.b, st.a});
  }
  setSource(s, std::move(p), std::move(key), extent);
  return {true, 1};
}

FillSource setBitmap(const DrawState& s, const FillStyle& style, const DeviceBox* extent) {
  auto* bmp = dynamic_cast<const BitmapCharacter*>(style.bitmap.get());
  cairo_surface_t* surface = bmp ? bmp->surface() : nullptr;
  if (!surface || !usableMatrix(style.matrix)) return {};
  if (s.maskMode) {
    cairo_set_source_rgba(s.cr, 0, 0, 0, 1);
    return {true, 1};
  }
  double alpha = 1;
  if (!s.cxform.isIdentity()) {
    if (isAlphaOnly(s.cxform)) {
      alpha = std::clamp(s.cxform.am, 0.0, 1.0);
    } else {
      surface = transformedBitmap(surface, s.cxform);
      if (!surface) return {};
    }
  }
  if (alpha <= 0) return {};
  bool smooth = style.smooth && s.antialias;
  PatternPtr p(cairo_pattern_create_for_surface(surface));
  cairo_pattern_set_extend(p.get(), style.repeat ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(p.get(), smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
  cairo_matrix_t m = toCairo(inverse(style.matrix));
  cairo_pattern_set_matrix(p.get(), &m);
  FillSourceKey key;
  key.bitmap = surface;
  key.repeat = style.repeat;
  Matrix bm = style.matrix;
  key.gradient = {bm.a, bm.b, bm.c, bm.d, bm.tx, bm.ty};
  // Unsmoothed bitmaps are cheap to draw directly.
  setSource(s, std::move(p), std::move(key), smooth ? extent : nullptr);
  return {true, alpha};
}

}  // namespace

void fillRamp(const std::vector<ColorStop>& stops, uint32_t* out) {
  if (stops.empty()) {
    std::fill(out, out + 256, 0xff000000u);
    return;
  }
  for (int i = 0; i < 256; ++i) {
    // Entry i takes the last stop before it and the stop after that: of two stops at one
    // ratio the first ends the segment before the step and the second starts the next.
    double t = i / 255.0;
    size_t k = 0;
    while (k + 1 < stops.size() && stops[k + 1].offset < t) ++k;
    const ColorStop& a = stops[k];
    ColorStop c = a;
    if (t > a.offset && k + 1 < stops.size()) {
      const ColorStop& b = stops[k + 1];
      double f = b.offset > a.offset ? (t - a.offset) / (b.offset - a.offset) : 1;
      c = {t, a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f,
           a.a + (b.a - a.a) * f};
    } else if (t > a.offset) {
      c = stops.back();
    }
    auto byte = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    uint32_t alpha = byte(c.a);
    auto pm = [alpha](uint32_t v) { return (v * alpha + 127) / 255; };
    out[i] = (alpha << 24) | (pm(byte(c.r)) << 16) | (pm(byte(c.g)) << 8) | pm(byte(c.b));
  }
}

std::vector<ColorStop> gradientStops(const Gradient& g, const ColorTransform& cx) {
  // Ratios that go backwards act as the ratio before them, and of several stops at one ratio
  // only the first two count: the colour before and the colour after the step.
  std::vector<ColorStop> out;
  double prevRatio = 0;
  int atSameRatio = 0;
  for (size_t i = 0; i < g.stops.size(); ++i) {
    double ratio = i == 0 ? g.stops[i].ratio : std::max(g.stops[i].ratio, prevRatio);
    atSameRatio = i > 0 && ratio == prevRatio ? atSameRatio + 1 : 0;
    prevRatio = ratio;
    if (atSameRatio >= 2) continue;
    ColorStop st = stopOf(ratio / 255.0, cx.apply(g.stops[i].color));
    if (g.linearRGB && !out.empty()) {
      const ColorStop prev = out.back();
      constexpr int kSteps = 8;
      for (int k = 1; k < kSteps; ++k) {
        double t = double(k) / kSteps;
        auto mix = [t](double a, double b) {
          return fromLinear(toLinear(a) + (toLinear(b) - toLinear(a)) * t);
        };
        out.push_back({prev.offset + (st.offset - prev.offset) * t, mix(prev.r, st.r),
                       mix(prev.g, st.g), mix(prev.b, st.b), prev.a + (st.a - prev.a) * t});
      }
    }
    out.push_back(st);
  }
  return out;
}

FillSource setFillSource(const DrawState& s, const FillStyle& style, const DeviceBox* extent) {
  switch (style.kind) {
    case FillKind::Solid: {
      if (s.maskMode) {
        cairo_set_source_rgba(s.cr, 0, 0, 0, 1);
        return {true, 1};
      }
      RGBA c = s.cxform.apply(style.color);
      setSourceColor(s.cr, c);
      return {c.a > 0, 1};
    }
    case FillKind::LinearGradient:
    case FillKind::RadialGradient:
    case FillKind::FocalGradient:
      return setGradient(s, style, extent);
    case FillKind::Bitmap:
      return setBitmap(s, style, extent);
  }
  return {};
}

}  // namespace swf
