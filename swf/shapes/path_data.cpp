#include "swf/shapes/path_data.h"

namespace swf {

void PathData::moveTo(double x, double y) {
  verbs_.push_back(Verb::Move);
  coords_.insert(coords_.end(), {x, y});
  curX_ = x;
  curY_ = y;
}

void PathData::lineTo(double x, double y) {
  verbs_.push_back(Verb::Line);
  coords_.insert(coords_.end(), {x, y});
  curX_ = x;
  curY_ = y;
}

void PathData::quadTo(double cx, double cy, double x, double y) {
  verbs_.push_back(Verb::Cubic);
  coords_.insert(coords_.end(), {curX_ + 2.0 / 3.0 * (cx - curX_), curY_ + 2.0 / 3.0 * (cy - curY_),
                                 x + 2.0 / 3.0 * (cx - x), y + 2.0 / 3.0 * (cy - y), x, y});
  curX_ = x;
  curY_ = y;
}

void PathData::close() { verbs_.push_back(Verb::Close); }

void PathData::emit(cairo_t* cr) const {
  const double* p = coords_.data();
  for (Verb v : verbs_) {
    switch (v) {
      case Verb::Move:
        cairo_move_to(cr, p[0], p[1]);
        p += 2;
        break;
      case Verb::Line:
        cairo_line_to(cr, p[0], p[1]);
        p += 2;
        break;
      case Verb::Cubic:
        cairo_curve_to(cr, p[0], p[1], p[2], p[3], p[4], p[5]);
        p += 6;
        break;
      case Verb::Close:
        cairo_close_path(cr);
        break;
    }
  }
}

}  // namespace swf
