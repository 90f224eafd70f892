#include "swf/render/filters/box_blur.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace swf {
namespace {

// A box of width 2m + 1 + 2f: m whole pixels each side of the centre, then one pixel each side
// weighted by f (0 <= f < 1). `inner` weighs the sum over the 2m + 1 pixels, `outer` the sum over
// 2m + 3; their mix gives the end pixels their fraction.
struct Kernel {
  int m = 0;
  float inner = 1, outer = 0;
  bool identity = true;
};

Kernel kernelFor(double width) {
  Kernel k;
  if (!(width > 1.0 + 1e-6)) return k;  // also NaN
  double r = width / 2;
  k.m = int(std::floor(r - 0.5));
  double f = r - 0.5 - k.m;
  if (f < 1.0 / 512) f = 0;
  k.inner = float((1 - f) / width);
  k.outer = float(f / width);
  k.identity = false;
  return k;
}

inline uint8_t toByte(float v) {
  v += 0.5f;
  return uint8_t(v >= 255.f ? 255 : int(v));
}

template <int C>
void blurRows(Plane8 p, const Kernel& k, int passes, uint8_t outside) {
  const int pad = k.m + 2;
  std::vector<uint8_t> buf(size_t(p.width + 2 * pad) * C, outside);
  uint8_t* mid = buf.data() + size_t(pad) * C;
  const int m = k.m;
  for (int y = 0; y < p.height; ++y) {
    uint8_t* row = p.data + p.stride * size_t(y);
    for (int pass = 0; pass < passes; ++pass) {
      std::memcpy(mid, row, size_t(p.width) * C);
      int32_t sIn[C], sOut[C];
      for (int c = 0; c < C; ++c) {
        int32_t s = 0;
        for (int x = -m; x <= m; ++x) s += mid[x * C + c];
        sIn[c] = s;
        sOut[c] = s + mid[(-m - 1) * C + c] + mid[(m + 1) * C + c];
      }
      for (int x = 0; x < p.width; ++x) {
        const uint8_t* add = mid + (x + m + 1) * C;
        const uint8_t* sub = mid + (x - m) * C;
        for (int c = 0; c < C; ++c) {
          row[x * C + c] = toByte(float(sIn[c]) * k.inner + float(sOut[c]) * k.outer);
          sIn[c] += add[c] - sub[c];
          sOut[c] += add[C + c] - sub[c - C];
        }
      }
    }
  }
}

// One vertical pass from `src` to `dst` (planes of the same shape).
void blurColumns(const Plane8& src, uint8_t* dst, const Kernel& k, uint8_t outside,
                 std::vector<int32_t>& sIn, std::vector<int32_t>& sOut,
                 const std::vector<uint8_t>& outsideRow) {
  const size_t n = size_t(src.width) * src.channels;
  const int m = k.m, h = src.height;
  auto row = [&](int y) -> const uint8_t* {
    return y < 0 || y >= h ? outsideRow.data() : src.data + src.stride * size_t(y);
  };
  sIn.assign(n, 0);
  for (int y = -m; y <= m; ++y) {
    const uint8_t* r = row(y);
    for (size_t j = 0; j < n; ++j) sIn[j] += r[j];
  }
  {
    const uint8_t *a = row(-m - 1), *b = row(m + 1);
    sOut.resize(n);
    for (size_t j = 0; j < n; ++j) sOut[j] = sIn[j] + a[j] + b[j];
  }
  (void)outside;
  int32_t* si = sIn.data();
  int32_t* so = sOut.data();
  const float wi = k.inner, wo = k.outer;
  for (int y = 0; y < h; ++y) {
    uint8_t* out = dst + src.stride * size_t(y);
    for (size_t j = 0; j < n; ++j) out[j] = toByte(float(si[j]) * wi + float(so[j]) * wo);
    const uint8_t *addIn = row(y + m + 1), *subIn = row(y - m);
    const uint8_t *addOut = row(y + m + 2), *subOut = row(y - m - 1);
    for (size_t j = 0; j < n; ++j) {
      si[j] += addIn[j] - subIn[j];
      so[j] += addOut[j] - subOut[j];
    }
  }
}

void blurAllColumns(Plane8 p, const Kernel& k, int passes, uint8_t outside) {
  const size_t n = size_t(p.width) * p.channels;
  std::vector<uint8_t> scratch(p.stride * size_t(p.height));
  std::vector<uint8_t> outsideRow(n, outside);
  std::vector<int32_t> sIn, sOut;
  Plane8 a = p, b = p;
  b.data = scratch.data();
  for (int pass = 0; pass < passes; ++pass) {
    blurColumns(a, b.data, k, outside, sIn, sOut, outsideRow);
    std::swap(a, b);
  }
  if (a.data != p.data)
    for (int y = 0; y < p.height; ++y)
      std::memcpy(p.data + p.stride * size_t(y), a.data + p.stride * size_t(y), n);
}

}  // namespace

int blurReach(double width, int passes) {
  Kernel k = kernelFor(width);
  if (k.identity || passes <= 0) return 0;
  return passes * (k.m + (k.outer > 0 ? 1 : 0));
}

void boxBlur(Plane8 p, double widthX, double widthY, int passes, uint8_t outside) {
  if (passes <= 0 || p.width <= 0 || p.height <= 0) return;
  Kernel kx = kernelFor(widthX), ky = kernelFor(widthY);
  if (!kx.identity) {
    if (p.channels == 4)
      blurRows<4>(p, kx, passes, outside);
    else
      blurRows<1>(p, kx, passes, outside);
  }
  if (!ky.identity) blurAllColumns(p, ky, passes, outside);
}

}  // namespace swf
