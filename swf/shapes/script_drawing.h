#pragma once
// A shape drawn by a movie's script (moveTo, lineTo, beginFill, ...). Each fill starts a layer
// of its own, so a fill covers the fills and lines drawn before it, and the lines drawn while it
// is open lie on top of it. Coordinates are twips of the clip's own space.

#include <cstddef>
#include <optional>

#include "swf/model/geometry.h"
#include "swf/shapes/shape_drawing.h"

namespace swf {

// Whether a point in a drawing's own twips falls on its fills or lines (swf/render/hit_test.cpp).
bool hitTestDrawing(const ShapeDrawing& d, double x, double y);

class ScriptDrawing {
 public:
  // More path steps than this are ignored: a script drawing in a loop cannot take memory
  // without bound.
  static constexpr size_t kMaxSteps = 1u << 20;

  void clear();
  void moveTo(double x, double y);
  void lineTo(double x, double y);
  void curveTo(double cx, double cy, double x, double y);
  // Ends an open fill and starts a new one at the pen.
  void beginFill(const FillStyle& style);
  void endFill();
  // Lines drawn from now on; nothing: no lines.
  void setLineStyle(std::optional<LineStyle> style);
  // Changes the fill of the current line style (lineGradientStyle).
  void setLineFill(const FillStyle& fill);

  const ShapeDrawing& drawing() const { return drawing_; }
  // The extent of the fills and lines, lines widened by their whole width each way (as the
  // original player measures them); none when empty.
  std::optional<Rect> bounds() const;
  // The extent of the path points alone (what getRect reports).
  std::optional<Rect> pathBounds() const;
  bool empty() const { return steps_ == 0; }
  size_t steps() const { return steps_; }

 private:
  DrawLayer& layer();
  void include(double x, double y, double margin);
  // Starts the stroke of the current line style in the current layer when none is open.
  PathData* stroke();
  bool budget();
  void closeStrokeAt(PathData& p, double x, double y);

  ShapeDrawing drawing_;
  double penX_ = 0, penY_ = 0;
  double startX_ = 0, startY_ = 0;  // where the open fill's current contour began
  bool filling_ = false;
  bool fillMoved_ = false;  // the open fill's contour has a start point
  std::optional<LineStyle> line_;
  bool strokeOpen_ = false;  // the last stroke of the current layer takes new lines
  bool strokeMoved_ = false;
  double strokeStartX_ = 0, strokeStartY_ = 0;
  size_t steps_ = 0;
  double x0_ = 1e300, y0_ = 1e300, x1_ = -1e300, y1_ = -1e300;
  double px0_ = 1e300, py0_ = 1e300, px1_ = -1e300, py1_ = -1e300;
};

}  // namespace swf
