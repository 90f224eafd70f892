#include "swf/render/cairo_util.h"

#include <cmath>

namespace swf {

cairo_matrix_t toCairo(const Matrix& m) {
  cairo_matrix_t c;
  cairo_matrix_init(&c, m.a, m.b, m.c, m.d, m.tx, m.ty);
  return c;
}

bool usableMatrix(const Matrix& m) {
  double det = m.a * m.d - m.b * m.c;
  return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
         std::isfinite(m.tx) && std::isfinite(m.ty) && std::isfinite(det) && std::fabs(det) > 1e-12;
}

bool setMatrix(cairo_t* cr, const Matrix& m) {
  if (!usableMatrix(m)) return false;
  cairo_matrix_t c = toCairo(m);
  cairo_set_matrix(cr, &c);
  return true;
}

double lengthScale(const Matrix& m) {
  return std::sqrt((m.a * m.a + m.b * m.b + m.c * m.c + m.d * m.d) / 2);
}

void setSourceColor(cairo_t* cr, RGBA c) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

}  // namespace swf
