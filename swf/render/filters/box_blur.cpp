#include "swf/render/filters/box_blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace swf {
namespace {

// Boxes are whole pixels wide: a box of odd width W covers the pixel and (W - 1) / 2 each side;
// of even width, the pixel, W / 2 - 1 each side fully and one more each side at half weight.
// Both come out as a sum T of twice the weights over 2W, which one running sum gives.
struct Kernel {
  int width = 1;
  int m = 0;          // pixels fully covered each side
  bool even = false;  // the pixels at m + 1 weigh a half
  bool identity() const { return width <= 1; }
};

Kernel kernelFor(double width) {
  Kernel k;
  if (!(width >= 1.5)) return k;  // also NaN
  k.width = int(std::lround(std::min(width, 1e6)));
  k.even = k.width % 2 == 0;
  k.m = k.even ? k.width / 2 - 1 : (k.width - 1) / 2;
  return k;
}

// Sixteen-bit sums hold the doubled sum while m stays at or below this; they halve the work.
constexpr int kMaxNarrowM = 62;

// Each byte position keeps U, the plain sum over a window of W lines: [i - m, i + m] for odd
// widths, [i - m - 1, i + m] for even ones. The doubled sum T is 2U for odd widths; for even
// ones the mean of two neighbouring windows, U(i) + U(i + 1) = 2U + d, where d is what moves U
// on by a line. Both need only the line entering and the line leaving.
template <bool Even, typename Sum, typename Wide>
void blurStep(uint8_t* __restrict out, Sum* __restrict u, const uint8_t* __restrict add,
              const uint8_t* __restrict sub, size_t n, Wide bias, Wide recip, int shift) {
  for (size_t j = 0; j < n; ++j) {
    Sum d = Sum(add[j] - sub[j]);
    Sum t = Sum(2 * u[j] + (Even ? d : 0));
    Wide v = Wide((Wide(t) + bias) * recip) >> shift;
    out[j] = uint8_t(v > 255 ? 255 : v);
    u[j] = Sum(u[j] + d);
  }
}

// The same in sixteen bits throughout (wrapping in between is harmless: T itself always fits);
// the multiply keeps only its high half. These loops are most of a blur's time; on x86-64
// they are also built for AVX2, taken when the processor has it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define RV_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define RV_WIDE_VECTORS
#endif
template <bool Even>
inline void narrowLoop(uint8_t* __restrict out, uint16_t* __restrict u,
                       const uint8_t* __restrict add, const uint8_t* __restrict sub, size_t n,
                       uint16_t b, uint16_t r) {
  for (size_t j = 0; j < n; ++j) {
    uint16_t d = uint16_t(add[j] - sub[j]);
    uint16_t x = uint16_t(2 * u[j] + (Even ? d : 0) + b);
    uint16_t v = uint16_t((uint32_t(x) * r) >> 16);
    out[j] = uint8_t(v > 255 ? 255 : v);
    u[j] = uint16_t(u[j] + d);
  }
}

RV_WIDE_VECTORS
void narrowStepOdd(uint8_t* __restrict out, uint16_t* __restrict u, const uint8_t* __restrict add,
                   const uint8_t* __restrict sub, size_t n, uint16_t b, uint16_t r) {
  narrowLoop<false>(out, u, add, sub, n, b, r);
}

RV_WIDE_VECTORS
void narrowStepEven(uint8_t* __restrict out, uint16_t* __restrict u, const uint8_t* __restrict add,
                    const uint8_t* __restrict sub, size_t n, uint16_t b, uint16_t r) {
  narrowLoop<true>(out, u, add, sub, n, b, r);
}

template <>
void blurStep<false, uint16_t, uint32_t>(uint8_t* __restrict out, uint16_t* __restrict u,
                                         const uint8_t* __restrict add,
                                         const uint8_t* __restrict sub, size_t n, uint32_t bias,
                                         uint32_t recip, int) {
  narrowStepOdd(out, u, add, sub, n, uint16_t(bias), uint16_t(recip));
}

template <>
void blurStep<true, uint16_t, uint32_t>(uint8_t* __restrict out, uint16_t* __restrict u,
                                        const uint8_t* __restrict add,
                                        const uint8_t* __restrict sub, size_t n, uint32_t bias,
                                        uint32_t recip, int) {
  narrowStepEven(out, u, add, sub, n, uint16_t(bias), uint16_t(recip));
}

// Blurs along a run of lines: each line of the result is the box over the lines around it,
// each line `n` bytes; lines before 0 or from `count` on read as `outside`. Every byte position
// runs its own sum, so the inner loops vectorise.
template <typename Sum, typename Wide>
void blurLines(const uint8_t* src, size_t srcStride, uint8_t* dst, size_t dstStride, int count,
               size_t n, const Kernel& k, const uint8_t* outside, Sum* u, Wide recip, int shift) {
  const int m = k.m;
  auto line = [&](int i) -> const uint8_t* {
    return i < 0 || i >= count ? outside : src + srcStride * size_t(i);
  };
  std::fill(u, u + n, Sum(0));
  for (int i = k.even ? -m - 1 : -m; i <= m; ++i) {
    const uint8_t* l = line(i);
    for (size_t j = 0; j < n; ++j) u[j] = Sum(u[j] + l[j]);
  }
  const Wide bias = Wide(k.width);  // half of the divisor 2W, for rounding
  for (int i = 0; i < count; ++i) {
    uint8_t* out = dst + dstStride * size_t(i);
    if (k.even)
      blurStep<true, Sum, Wide>(out, u, line(i + m + 1), line(i - m - 1), n, bias, recip, shift);
    else
      blurStep<false, Sum, Wide>(out, u, line(i + m + 1), line(i - m), n, bias, recip, shift);
  }
}

struct Scratch {
  std::vector<uint16_t> narrow;
  std::vector<uint32_t> wide;
  std::vector<uint8_t> outside;
};

void blurLinesAny(const uint8_t* src, size_t srcStride, uint8_t* dst, size_t dstStride, int count,
                  size_t n, const Kernel& k, Scratch& s) {
  if (k.m <= kMaxNarrowM) {
    // (T + W) / 2W as a multiply and a 16-bit shift, rounded up so that full coverage stays 255.
    s.narrow.resize(n);
    uint32_t recip = uint32_t((65536 + 2 * k.width - 1) / (2 * k.width));
    blurLines<uint16_t, uint32_t>(src, srcStride, dst, dstStride, count, n, k, s.outside.data(),
                                  s.narrow.data(), recip, 16);
  } else {
    s.wide.resize(n);
    uint64_t recip = (uint64_t(1) << 32) / uint64_t(2 * k.width) + 1;
    blurLines<uint32_t, uint64_t>(src, srcStride, dst, dstStride, count, n, k, s.outside.data(),
                                  s.wide.data(), recip, 32);
  }
}

// Vertical passes run over the plane's rows directly, ping-ponging with a second plane, one
// strip of columns at a time so that a strip stays in cache through all its passes.
void blurColumns(Plane8 p, const Kernel& k, int passes, uint8_t outside) {
  constexpr size_t kStrip = 2048;  // bytes of each row
  const size_t n = size_t(p.width) * p.channels;
  // Kept from frame to frame: a fresh plane each time costs its page faults.
  thread_local std::vector<uint8_t> other;
  if (other.size() < n * size_t(p.height)) other.resize(n * size_t(p.height));
  Scratch s;
  s.outside.assign(std::min(n, kStrip), outside);
  for (size_t x0 = 0; x0 < n; x0 += kStrip) {
    size_t w = std::min(kStrip, n - x0);
    const uint8_t* src = p.data + x0;
    size_t srcStride = p.stride;
    for (int pass = 0; pass < passes; ++pass) {
      bool toOther = pass % 2 == 0;
      uint8_t* dst = toOther ? other.data() + x0 : p.data + x0;
      size_t dstStride = toOther ? n : p.stride;
      blurLinesAny(src, srcStride, dst, dstStride, p.height, w, k, s);
      src = dst;
      srcStride = dstStride;
    }
    if (src != p.data + x0)
      for (int y = 0; y < p.height; ++y)
        std::memcpy(p.data + p.stride * size_t(y) + x0, src + n * size_t(y), w);
  }
}

// Horizontal passes turn a band of rows on its side (pixel x of every row of the band side by
// side), so that the same line-by-line sums run along x.
template <int C>
void blurRows(Plane8 p, const Kernel& k, int passes, uint8_t outside) {
  constexpr int band = 128 / C;  // 128 bytes a line
  constexpr size_t line = size_t(band) * C;
  std::vector<uint8_t> a(line * size_t(p.width)), b(a.size());
  Scratch s;
  s.outside.assign(line, outside);
  for (int y0 = 0; y0 < p.height; y0 += band) {
    int rows = std::min(band, p.height - y0);
    size_t used = size_t(rows) * C;
    // Row by row into the band, a whole line of the band at a time.
    const uint8_t* from[band];
    for (int r = 0; r < rows; ++r) from[r] = p.data + p.stride * size_t(y0 + r);
    // In blocks of 16 pixels, so that what a block writes stays in the nearest cache.
    for (int x0 = 0; x0 < p.width; x0 += 16) {
      int x1 = std::min(x0 + 16, p.width);
      for (int r = 0; r < rows; ++r)
        for (int x = x0; x < x1; ++x)
          std::memcpy(a.data() + line * size_t(x) + size_t(r) * C, from[r] + size_t(x) * C, C);
    }
    uint8_t *cur = a.data(), *next = b.data();
    for (int pass = 0; pass < passes; ++pass) {
      blurLinesAny(cur, line, next, line, p.width, used, k, s);
      std::swap(cur, next);
    }
    uint8_t* to[band];
    for (int r = 0; r < rows; ++r) to[r] = p.data + p.stride * size_t(y0 + r);
    for (int x0 = 0; x0 < p.width; x0 += 16) {
      int x1 = std::min(x0 + 16, p.width);
      for (int r = 0; r < rows; ++r)
        for (int x = x0; x < x1; ++x)
          std::memcpy(to[r] + size_t(x) * C, cur + line * size_t(x) + size_t(r) * C, C);
    }
  }
}

}  // namespace

int blurReach(double width, int passes) {
  Kernel k = kernelFor(width);
  if (k.identity() || passes <= 0) return 0;
  return passes * (k.m + (k.even ? 1 : 0));
}

void boxBlur(Plane8 p, double widthX, double widthY, int passes, uint8_t outside) {
  if (passes <= 0 || p.width <= 0 || p.height <= 0) return;
  Kernel kx = kernelFor(widthX), ky = kernelFor(widthY);
  if (!kx.identity()) {
    if (p.channels == 4)
      blurRows<4>(p, kx, passes, outside);
    else
      blurRows<1>(p, kx, passes, outside);
  }
  if (!ky.identity()) blurColumns(p, ky, passes, outside);
}

}  // namespace swf
