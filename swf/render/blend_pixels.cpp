#include "swf/render/blend_pixels.h"

#include <cstring>

// The lane helpers are forced inline: the row loop is compiled once per instruction set, and a
// helper left out of line would pass vectors under the other set's conventions.
#pragma GCC diagnostic ignored "-Wpsabi"
#define LANE_INLINE inline __attribute__((always_inline))

namespace swf {

namespace {

// Sixteen 16-bit lanes hold four pixels, one channel each; products of two channels fit.
typedef uint16_t Lanes __attribute__((vector_size(32)));
typedef uint8_t Bytes __attribute__((vector_size(16)));

LANE_INLINE Lanes load(const uint32_t* p) {
  Bytes b;
  std::memcpy(&b, p, sizeof b);
  return __builtin_convertvector(b, Lanes);
}

LANE_INLINE void store(uint32_t* p, Lanes v) {
  Bytes b = __builtin_convertvector(v, Bytes);
  std::memcpy(p, &b, sizeof b);
}

// Each pixel's alpha copied into its four lanes (ARGB32 keeps alpha in the high byte).
LANE_INLINE Lanes alphaOf(Lanes v) {
  return __builtin_shufflevector(v, v, 3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15);
}

// x / 255 rounded, exact for x ≤ 255 × 255.
LANE_INLINE Lanes div255(Lanes x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

LANE_INLINE Lanes select(Lanes mask, Lanes a, Lanes b) { return (mask & a) | (~mask & b); }
LANE_INLINE Lanes lessMask(Lanes a, Lanes b) { return (Lanes)(a < b); }
LANE_INLINE Lanes minOf(Lanes a, Lanes b) { return select(lessMask(a, b), a, b); }
LANE_INLINE Lanes maxOf(Lanes a, Lanes b) { return select(lessMask(a, b), b, a); }

// Lanes that hold alpha rather than colour.
constexpr Lanes kAlphaLanes = {0, 0, 0, 0xffff, 0, 0, 0, 0xffff, 0, 0, 0, 0xffff, 0, 0, 0, 0xffff};

// Hard light of s over d in premultiplied terms (sa·da·B(d/da, s/sa)), with `light` choosing
// the branch: 2·s·d where the light is dark, sa·da − 2·(sa − s)·(da − d) where it is bright.
LANE_INLINE Lanes hardLightTerm(Lanes s, Lanes d, Lanes sa, Lanes da, Lanes darkSide) {
  Lanes dark = div255(s * d) * 2;
  Lanes whole = div255(sa * da), cut = div255((sa - s) * (da - d)) * 2;
  Lanes bright = select(lessMask(cut, whole), whole - cut, Lanes{});
  return select(darkSide, dark, bright);
}

template <PixelBlend mode>
LANE_INLINE Lanes blend(Lanes s, Lanes d) {
  const Lanes full = Lanes{} + 255;
  Lanes sa = alphaOf(s), da = alphaOf(d);
  Lanes alpha = sa + da - div255(sa * da);
  Lanes colour;
  if constexpr (mode == PixelBlend::Invert) {
    // White difference, masked by the object's coverage.
    Lanes isa = full - sa;
    colour = div255(d * isa) + div255((full - d) * sa);
    alpha = div255(da * isa) + sa;
  } else if constexpr (mode == PixelBlend::Screen) {
    colour = s + d - div255(s * d);
  } else if constexpr (mode == PixelBlend::Difference) {
    colour = s + d - div255(minOf(s * da, d * sa)) * 2;
  } else {
    Lanes base = div255(s * (full - da)) + div255(d * (full - sa));
    Lanes term;
    if constexpr (mode == PixelBlend::Multiply)
      term = div255(s * d);
    else if constexpr (mode == PixelBlend::Darken)
      term = div255(minOf(s * da, d * sa));
    else if constexpr (mode == PixelBlend::Lighten)
      term = div255(maxOf(s * da, d * sa));
    else if constexpr (mode == PixelBlend::HardLight)
      term = hardLightTerm(s, d, sa, da, lessMask(s * 2, sa + 1));
    else  // overlay: hard light with the layers' roles exchanged
      term = hardLightTerm(s, d, sa, da, lessMask(d * 2, da + 1));
    colour = base + term;
  }
  // Rounding must not leave a colour above its alpha, which premultiplied pixels never have.
  return select(kAlphaLanes, alpha, minOf(colour, alpha));
}

LANE_INLINE bool allClear(const uint32_t* p) { return (p[0] | p[1] | p[2] | p[3]) == 0; }

template <PixelBlend mode>
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void blendRowIn(uint32_t* dst, const uint32_t* src, size_t n) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    if (allClear(src + i)) continue;  // nothing of the object here
    store(dst + i, blend<mode>(load(src + i), load(dst + i)));
  }
  if (i == n) return;
  uint32_t s[4] = {}, d[4] = {};
  std::memcpy(s, src + i, (n - i) * 4);
  std::memcpy(d, dst + i, (n - i) * 4);
  store(d, blend<mode>(load(s), load(d)));
  std::memcpy(dst + i, d, (n - i) * 4);
}

}  // namespace

void blendRow(PixelBlend mode, uint32_t* dst, const uint32_t* src, size_t n) {
  switch (mode) {
    case PixelBlend::Multiply:
      return blendRowIn<PixelBlend::Multiply>(dst, src, n);
    case PixelBlend::Screen:
      return blendRowIn<PixelBlend::Screen>(dst, src, n);
    case PixelBlend::Lighten:
      return blendRowIn<PixelBlend::Lighten>(dst, src, n);
    case PixelBlend::Darken:
      return blendRowIn<PixelBlend::Darken>(dst, src, n);
    case PixelBlend::Difference:
      return blendRowIn<PixelBlend::Difference>(dst, src, n);
    case PixelBlend::Overlay:
      return blendRowIn<PixelBlend::Overlay>(dst, src, n);
    case PixelBlend::HardLight:
      return blendRowIn<PixelBlend::HardLight>(dst, src, n);
    case PixelBlend::Invert:
      return blendRowIn<PixelBlend::Invert>(dst, src, n);
  }
}

}  // namespace swf
