#include "swf/render/filters/color_filters.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace swf {
namespace {

struct Straight {
  float r, g, b, a;  // 0..255, not premultiplied
};

inline Straight unpremultiply(uint32_t p) {
  float a = float(p >> 24);
  if (a == 0) return {0, 0, 0, 0};
  float k = 255.f / a;
  return {float((p >> 16) & 0xff) * k, float((p >> 8) & 0xff) * k, float(p & 0xff) * k, a};
}

inline uint32_t toByte(float v) {
  if (!(v > 0)) return 0;  // also NaN
  return v >= 255.f ? 255u : uint32_t(v + 0.5f);
}

inline uint32_t premultiply(float r, float g, float b, float a) {
  uint32_t A = toByte(a);
  return px::pack(A, px::mul(toByte(r), A), px::mul(toByte(g), A), px::mul(toByte(b), A));
}

}  // namespace

void applyColorMatrix(const ColorMatrixFilter& f, FilterImage img) {
  const auto& m = f.matrix;
  for (float v : m)
    if (!std::isfinite(v)) return;
  // A transparent pixel turns into the offsets column; compute it once.
  uint32_t fromClear = premultiply(m[4], m[9], m[14], m[19]);
  for (int y = 0; y < img.height; ++y) {
    uint32_t* row = img.row(y);
    for (int x = 0; x < img.width; ++x) {
      if (row[x] == 0) {
        row[x] = fromClear;
        continue;
      }
      Straight s = unpremultiply(row[x]);
      auto out = [&](int i) {
        return m[i] * s.r + m[i + 1] * s.g + m[i + 2] * s.b + m[i + 3] * s.a + m[i + 4];
      };
      row[x] = premultiply(out(0), out(5), out(10), out(15));
    }
  }
}

void applyConvolution(const ConvolutionFilter& f, FilterImage img) {
  const int cols = f.columns, rows = f.rows;
  if (cols <= 0 || rows <= 0 || cols > kMaxConvolutionSide || rows > kMaxConvolutionSide) return;
  if (f.matrix.size() != size_t(cols) * rows) return;
  float divisor = std::isfinite(f.divisor) && f.divisor != 0 ? f.divisor : 1.f;
  float bias = std::isfinite(f.bias) ? f.bias : 0.f;
  for (float v : f.matrix)
    if (!std::isfinite(v)) return;
  const int w = img.width, h = img.height;
  std::vector<Straight> src(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) src[size_t(y) * w + x] = unpremultiply(img.row(y)[x]);
  const Straight outside{float(f.defaultColor.r), float(f.defaultColor.g), float(f.defaultColor.b),
                         float(f.defaultColor.a)};
  const int cx = cols / 2, cy = rows / 2;
  for (int y = 0; y < h; ++y) {
    uint32_t* out = img.row(y);
    for (int x = 0; x < w; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int j = 0; j < rows; ++j) {
        int sy = y + j - cy;
        for (int i = 0; i < cols; ++i) {
          int sx = x + i - cx;
          const Straight* p;
          if (sx >= 0 && sy >= 0 && sx < w && sy < h)
            p = &src[size_t(sy) * w + sx];
          else if (f.clamp)
            p = &src[size_t(std::clamp(sy, 0, h - 1)) * w + std::clamp(sx, 0, w - 1)];
          else
            p = &outside;
          float k = f.matrix[size_t(j) * cols + i];
          r += p->r * k;
          g += p->g * k;
          b += p->b * k;
          a += p->a * k;
        }
      }
      float alpha = f.preserveAlpha ? src[size_t(y) * w + x].a : a / divisor + bias;
      out[x] = premultiply(r / divisor + bias, g / divisor + bias, b / divisor + bias, alpha);
    }
  }
}

void applyColorTransform(const ColorTransform& cx, FilterImage img) {
  for (int y = 0; y < img.height; ++y) {
    uint32_t* row = img.row(y);
    for (int x = 0; x < img.width; ++x) {
      if (row[x] == 0) continue;  // the transform colours what is drawn, not the empty box
      Straight s = unpremultiply(row[x]);
      row[x] = premultiply(float(s.r * cx.rm + cx.ra), float(s.g * cx.gm + cx.ga),
                           float(s.b * cx.bm + cx.ba), float(s.a * cx.am + cx.aa));
    }
  }
}

}  // namespace swf
