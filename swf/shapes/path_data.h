#pragma once
// A path kept in our own compact form, replayed into a Cairo context each time it is drawn.

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

class PathData {
 public:
  void moveTo(double x, double y);
  void lineTo(double x, double y);
  // A quadratic curve from the current point, stored as the equivalent cubic.
  void quadTo(double cx, double cy, double x, double y);
  void close();

  bool empty() const { return verbs_.empty(); }
  size_t verbCount() const { return verbs_.size(); }
  // Appends the path to the current path of `cr`, in its user space.
  void emit(cairo_t* cr) const;

 private:
  enum class Verb : uint8_t { Move, Line, Cubic, Close };
  std::vector<Verb> verbs_;
  std::vector<double> coords_;
  double curX_ = 0, curY_ = 0;
};

}  // namespace swf
