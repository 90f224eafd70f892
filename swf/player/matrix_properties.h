#pragma once
// _xscale, _yscale and _rotation as scripts see an object's matrix, and setting them back.

#include <cmath>
#include <numbers>

#include "swf/model/geometry.h"

namespace swf {

inline double matrixXScale(const Matrix& m) { return std::sqrt(m.a * m.a + m.b * m.b) * 100; }
inline double matrixYScale(const Matrix& m) { return std::sqrt(m.c * m.c + m.d * m.d) * 100; }
inline double matrixRotation(const Matrix& m) {
  return std::atan2(m.b, m.a) * 180 / std::numbers::pi;
}

// Scales in percent and rotation in degrees; any skew the matrix had stays.
inline void setScaleRotation(Matrix& m, double xs, double ys, double rot) {
  double r = rot * std::numbers::pi / 180;
  double skew = std::atan2(-m.c, m.d) - std::atan2(m.b, m.a);
  m.a = xs / 100 * std::cos(r);
  m.b = xs / 100 * std::sin(r);
  m.c = -ys / 100 * std::sin(r + skew);
  m.d = ys / 100 * std::cos(r + skew);
}

}  // namespace swf
