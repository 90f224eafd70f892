#pragma once
// Small bridges between our records and Cairo.

#include <cairo.h>

#include <memory>

#include "swf/model/geometry.h"

namespace swf {

cairo_matrix_t toCairo(const Matrix& m);
// Whether Cairo can use the matrix (finite, invertible, and not so degenerate that nothing shows).
bool usableMatrix(const Matrix& m);
// Sets the CTM; returns false (and leaves the CTM alone) for an unusable matrix.
bool setMatrix(cairo_t* cr, const Matrix& m);
// The factor by which the matrix scales lengths, averaged over both axes.
double lengthScale(const Matrix& m);

void setSourceColor(cairo_t* cr, RGBA c);

struct PatternDeleter {
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using PatternPtr = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

}  // namespace swf
