#pragma once
// Inverse of an affine matrix, for mapping device points back into characters and for
// fill source matrices.

#include <cmath>
#include <optional>

#include "swf/model/geometry.h"

namespace swf {

// The inverse with no check of the determinant: a singular matrix gives infinities or NaNs.
inline Matrix inverse(const Matrix& m) {
  double det = m.a * m.d - m.b * m.c;
  Matrix r;
  r.a = m.d / det;
  r.b = -m.b / det;
  r.c = -m.c / det;
  r.d = m.a / det;
  r.tx = -(r.a * m.tx + r.c * m.ty);
  r.ty = -(r.b * m.tx + r.d * m.ty);
  return r;
}

// The inverse, or none when the matrix is singular or its determinant is not finite.
inline std::optional<Matrix> invert(const Matrix& m) {
  double det = m.a * m.d - m.b * m.c;
  if (!std::isfinite(det) || std::fabs(det) < 1e-12) return std::nullopt;
  return inverse(m);
}

inline void transformPoint(const Matrix& m, double x, double y, double& ox, double& oy) {
  ox = m.a * x + m.c * y + m.tx;
  oy = m.b * x + m.d * y + m.ty;
}

}  // namespace swf
