#include "swf/render/filters/shadow_filters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "swf/render/filters/box_blur.h"

namespace swf {

double deviceBlur(double stagePixels, double scale) {
  if (!(stagePixels > 0)) return 0;
  return std::min(stagePixels, 255.0) * scale;
}

int cappedPasses(int passes) { return std::clamp(passes, 0, 15); }

void filterOffset(double angle, double distance, FilterScale scale, int& dx, int& dy) {
  double d = std::isfinite(distance) ? std::clamp(distance, -2048.0, 2048.0) : 0;
  double a = std::isfinite(angle) ? angle : 0;
  dx = int(std::lround(d * std::cos(a) * scale.x));
  dy = int(std::lround(d * std::sin(a) * scale.y));
}

namespace {

// Where the effect goes relative to the object.
enum class Side { Outer, Inner, Full };

struct Placing {
  Side side = Side::Outer;
  bool knockout = false;
  bool hideObject = false;
};

Placing placing(bool inner, bool onTop, bool knockout, bool compositeSource) {
  return {onTop ? Side::Full : inner ? Side::Inner : Side::Outer, knockout, !compositeSource};
}

// The source pixel `s` with the effect's pixel `e` (both premultiplied).
inline uint32_t combine(uint32_t s, uint32_t e, const Placing& p) {
  uint32_t sa = px::alpha(s);
  switch (p.side) {
    case Side::Outer: {
      if (p.hideObject && !p.knockout) return e;
      if (sa == 255) return p.knockout ? 0 : s;  // the object hides its own shadow
      uint32_t masked = px::scale(e, 255 - sa);  // around the object only
      return p.knockout ? masked : px::add(s, masked);
    }
    case Side::Inner: {
      uint32_t masked = px::scale(e, sa);  // inside the object only
      if (p.knockout || p.hideObject) return masked;
      return px::add(masked, px::scale(s, 255 - px::alpha(e)));
    }
    case Side::Full:
    default:
      return p.knockout || p.hideObject ? e : px::over(e, s);
  }
}

// The image's alpha as a plane of bytes, inverted for effects inside the object.
std::vector<uint8_t> alphaPlane(FilterImage img, bool inverted) {
  std::vector<uint8_t> a(size_t(img.width) * img.height);
  for (int y = 0; y < img.height; ++y) {
    const uint32_t* r = img.row(y);
    uint8_t* o = a.data() + size_t(y) * img.width;
    for (int x = 0; x < img.width; ++x) o[x] = uint8_t(inverted ? 255 - (r[x] >> 24) : r[x] >> 24);
  }
  return a;
}

struct BlurredAlpha {
  std::vector<uint8_t> plane;
  int width = 0, height = 0;
  uint8_t outside = 0;
};

BlurredAlpha blurredAlpha(FilterImage img, const FilterBlur& blur, bool inverted,
                          FilterScale scale) {
  BlurredAlpha b{alphaPlane(img, inverted), img.width, img.height, uint8_t(inverted ? 255 : 0)};
  Plane8 p{b.plane.data(), img.width, img.height, 1, size_t(img.width)};
  boxBlur(p, deviceBlur(blur.blurX, scale.x), deviceBlur(blur.blurY, scale.y),
          cappedPasses(blur.passes), b.outside);
  return b;
}

// Strength as 8.8 fixed point, so that alpha × strength stays in integers.
int strength256(double strength) {
  if (!(strength > 0)) return 0;
  return int(std::lround(std::min(strength, 255.0) * 256));
}

inline uint32_t strengthen(int v, int s256) {
  int t = (v * s256 + 128) >> 8;
  return uint32_t(std::clamp(t, 0, 255));
}

// The colour at every alpha 0..255, premultiplied.
std::array<uint32_t, 256> shadeTable(RGBA c) {
  std::array<uint32_t, 256> t;
  for (uint32_t v = 0; v < 256; ++v) {
    uint32_t a = px::mul(v, c.a);
    t[v] = px::pack(a, px::mul(c.r, a), px::mul(c.g, a), px::mul(c.b, a));
  }
  return t;
}

// The gradient at every ratio 0..255, premultiplied.
std::array<uint32_t, 256> gradientTable(const std::vector<FilterGradientStop>& stops) {
  std::array<uint32_t, 256> t{};
  if (stops.empty()) return t;
  for (int i = 0; i < 256; ++i) {
    size_t k = 0;
    while (k < stops.size() && stops[k].ratio < i) ++k;
    RGBA c;
    if (k == 0)
      c = stops.front().color;
    else if (k == stops.size())
      c = stops.back().color;
    else {
      const auto &a = stops[k - 1], &b = stops[k];
      double f = b.ratio == a.ratio ? 1.0 : double(i - a.ratio) / (b.ratio - a.ratio);
      auto mix = [f](int x, int y) { return uint8_t(std::lround(x + (y - x) * f)); };
      c = {mix(a.color.r, b.color.r), mix(a.color.g, b.color.g), mix(a.color.b, b.color.b),
           mix(a.color.a, b.color.a)};
    }
    t[i] = px::pack(c.a, px::mul(c.r, c.a), px::mul(c.g, c.a), px::mul(c.b, c.a));
  }
  return t;
}

// Row y of the blurred alpha moved by (dx, dy), through `str` unless it is null (strength 1).
void shiftedRow(const BlurredAlpha& a, int y, int dx, int dy, const uint8_t* str,
                std::vector<uint8_t>& out) {
  int sy = y - dy;
  uint8_t outside = str ? str[a.outside] : a.outside;
  if (sy < 0 || sy >= a.height) {
    std::fill(out.begin(), out.end(), outside);
    return;
  }
  const uint8_t* src = a.plane.data() + size_t(sy) * a.width;
  int x0 = std::clamp(dx, 0, a.width), x1 = std::clamp(a.width + dx, 0, a.width);
  std::fill(out.begin(), out.begin() + x0, outside);
  if (!str)
    std::memcpy(out.data() + x0, src + (x0 - dx), size_t(x1 - x0));
  else
    for (int x = x0; x < x1; ++x) out[size_t(x)] = str[src[x - dx]];
  std::fill(out.begin() + x1, out.end(), outside);
}

template <Side side>
void combineRow(uint32_t* r, const uint8_t* v, int n, const std::array<uint32_t, 256>& colours,
                const Placing& p) {
  for (int x = 0; x < n; ++x) {
    if (!p.knockout && !p.hideObject) {
      if (v[x] == 0) continue;  // no effect: the object as it is
      if (side == Side::Outer && px::alpha(r[x]) == 255) continue;  // it hides what is under it
    }
    r[x] = combine(r[x], colours[v[x]], {side, p.knockout, p.hideObject});
  }
}

// The effect taken from one shifted sample of the blurred alpha: shadows and glows.
void applyShifted(FilterImage img, const BlurredAlpha& a, int dx, int dy, int s256,
                  const std::array<uint32_t, 256>& colours, const Placing& placing) {
  std::array<uint8_t, 256> str;
  for (int v = 0; v < 256; ++v) str[size_t(v)] = uint8_t(strengthen(v, s256));
  // An effect whose colour at zero is not clear (a gradient's first stop) is never skipped.
  Placing p = placing;
  bool clearAtZero = colours[0] == 0;
  std::vector<uint8_t> values(size_t(img.width));
  for (int y = 0; y < img.height; ++y) {
    shiftedRow(a, y, dx, dy, s256 == 256 ? nullptr : str.data(), values);
    uint32_t* r = img.row(y);
    if (!clearAtZero) {
      for (int x = 0; x < img.width; ++x) r[x] = combine(r[x], colours[values[size_t(x)]], p);
      continue;
    }
    switch (p.side) {
      case Side::Outer:
        combineRow<Side::Outer>(r, values.data(), img.width, colours, p);
        break;
      case Side::Inner:
        combineRow<Side::Inner>(r, values.data(), img.width, colours, p);
        break;
      case Side::Full:
        combineRow<Side::Full>(r, values.data(), img.width, colours, p);
        break;
    }
  }
}

// The effect from the difference of two samples on either side: bevels. `pick` turns the
// signed difference (positive on the shadow's side) into the effect's pixel.
template <typename Pick>
void applyBevelLike(FilterImage img, const BlurredAlpha& a, int dx, int dy, int s256, Pick pick,
                    const Placing& placing) {
  std::vector<uint8_t> behind(size_t(img.width)), ahead(size_t(img.width));
  for (int y = 0; y < img.height; ++y) {
    shiftedRow(a, y, dx, dy, nullptr, behind);
    shiftedRow(a, y, -dx, -dy, nullptr, ahead);
    uint32_t* r = img.row(y);
    for (int x = 0; x < img.width; ++x) {
      int d = int(behind[size_t(x)]) - int(ahead[size_t(x)]);
      int v = std::clamp((d * s256 + (d < 0 ? -128 : 128)) / 256, -255, 255);
      r[x] = combine(r[x], pick(v), placing);
    }
  }
}

}  // namespace

void applyDropShadow(const DropShadowFilter& f, FilterImage img, FilterScale scale) {
  int dx, dy;
  filterOffset(f.angle, f.distance, scale, dx, dy);
  BlurredAlpha a = blurredAlpha(img, f.blur, f.inner, scale);
  applyShifted(img, a, dx, dy, strength256(f.strength), shadeTable(f.color),
               placing(f.inner, false, f.knockout, f.compositeSource));
}

void applyGlow(const GlowFilter& f, FilterImage img, FilterScale scale) {
  BlurredAlpha a = blurredAlpha(img, f.blur, f.inner, scale);
  applyShifted(img, a, 0, 0, strength256(f.strength), shadeTable(f.color),
               placing(f.inner, false, f.knockout, f.compositeSource));
}

void applyGradientGlow(const GradientFilterParams& f, FilterImage img, FilterScale scale) {
  int dx, dy;
  filterOffset(f.angle, f.distance, scale, dx, dy);
  BlurredAlpha a = blurredAlpha(img, f.blur, f.inner, scale);
  applyShifted(img, a, dx, dy, strength256(f.strength), gradientTable(f.stops),
               placing(f.inner, f.onTop, f.knockout, f.compositeSource));
}

void applyBevel(const BevelFilter& f, FilterImage img, FilterScale scale) {
  int dx, dy;
  filterOffset(f.angle, f.distance, scale, dx, dy);
  BlurredAlpha a = blurredAlpha(img, f.blur, false, scale);
  auto shadow = shadeTable(f.shadowColor), highlight = shadeTable(f.highlightColor);
  applyBevelLike(
      img, a, dx, dy, strength256(f.strength),
      [&](int v) { return v >= 0 ? shadow[size_t(v)] : highlight[size_t(-v)]; },
      placing(f.inner, f.onTop, f.knockout, f.compositeSource));
}

void applyGradientBevel(const GradientFilterParams& f, FilterImage img, FilterScale scale) {
  int dx, dy;
  filterOffset(f.angle, f.distance, scale, dx, dy);
  BlurredAlpha a = blurredAlpha(img, f.blur, false, scale);
  auto colours = gradientTable(f.stops);
  // The highlight's side takes the gradient's start, the shadow's its end, no effect its middle.
  applyBevelLike(
      img, a, dx, dy, strength256(f.strength),
      [&](int v) { return colours[size_t((v + 255) / 2)]; },
      placing(f.inner, f.onTop, f.knockout, f.compositeSource));
}

}  // namespace swf
