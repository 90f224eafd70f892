#pragma once
// The basic records of the format: rectangles, matrices, colours and colour transforms.
// Coordinates are in twips (1/20 pixel) unless a name says otherwise.

#include <algorithm>
#include <cstdint>

namespace swf {

struct Rect {
  int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  int32_t width() const { return xMax - xMin; }
  int32_t height() const { return yMax - yMin; }
};

struct RGBA {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  friend bool operator==(const RGBA&, const RGBA&) = default;
};

// x' = a*x + c*y + tx ; y' = b*x + d*y + ty (the format's ScaleX, RotateSkew0, RotateSkew1, ScaleY).
struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  Matrix operator*(const Matrix& inner) const {  // this ∘ inner: apply inner first
    return {a * inner.a + c * inner.b,  b * inner.a + d * inner.b,
            a * inner.c + c * inner.d,  b * inner.c + d * inner.d,
            a * inner.tx + c * inner.ty + tx, b * inner.tx + d * inner.ty + ty};
  }
  friend bool operator==(const Matrix&, const Matrix&) = default;
};

// Multiply terms in 1.0 units (the file's 8.8 values / 256), add terms in 0..255 units.
struct ColorTransform {
  double rm = 1, gm = 1, bm = 1, am = 1;
  double ra = 0, ga = 0, ba = 0, aa = 0;

  ColorTransform operator*(const ColorTransform& inner) const {  // apply inner first
    return {rm * inner.rm, gm * inner.gm, bm * inner.bm, am * inner.am,
            rm * inner.ra + ra, gm * inner.ga + ga, bm * inner.ba + ba, am * inner.aa + aa};
  }
  RGBA apply(RGBA c) const {
    auto ch = [](double v) { return uint8_t(std::clamp(v, 0.0, 255.0)); };
    return {ch(c.r * rm + ra), ch(c.g * gm + ga), ch(c.b * bm + ba), ch(c.a * am + aa)};
  }
  bool isIdentity() const {
    return rm == 1 && gm == 1 && bm == 1 && am == 1 && ra == 0 && ga == 0 && ba == 0 && aa == 0;
  }
  friend bool operator==(const ColorTransform&, const ColorTransform&) = default;
};

}  // namespace swf
