#include "swf/shapes/script_drawing.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {
// Lines lie just over half a pixel right of and below their coordinates: a line along whole
// pixels covers the pixels beside it the way the original player's lines do (the near one
// 8 of its 17 sample columns, the far one 9).
constexpr double kLineShift = 10.625;
}  // namespace

void ScriptDrawing::clear() { *this = ScriptDrawing(); }

DrawLayer& ScriptDrawing::layer() {
  if (drawing_.layers.empty()) drawing_.layers.emplace_back();
  return drawing_.layers.back();
}

bool ScriptDrawing::budget() {
  if (steps_ >= kMaxSteps) return false;
  ++steps_;
  return true;
}

void ScriptDrawing::include(double x, double y, double margin) {
  px0_ = std::min(px0_, x);
  py0_ = std::min(py0_, y);
  px1_ = std::max(px1_, x);
  py1_ = std::max(py1_, y);
  x0_ = std::min(x0_, x - margin);
  y0_ = std::min(y0_, y - margin);
  x1_ = std::max(x1_, x + margin);
  y1_ = std::max(y1_, y + margin);
}

PathData* ScriptDrawing::stroke() {
  if (!line_) return nullptr;
  DrawLayer& l = layer();
  if (!strokeOpen_ || l.strokes.empty()) {
    l.styles.lines.push_back(*line_);
    l.strokes.push_back({uint32_t(l.styles.lines.size() - 1), {}});
    strokeOpen_ = true;
    strokeMoved_ = false;
  }
  PathData* p = &l.strokes.back().path;
  if (!strokeMoved_) {
    p->moveTo(penX_ + kLineShift, penY_ + kLineShift);
    strokeStartX_ = penX_;
    strokeStartY_ = penY_;
    include(penX_, penY_, line_->width);
    strokeMoved_ = true;
  }
  return p;
}

// A line that comes back to where it began joins there instead of ending in two caps.
void ScriptDrawing::closeStrokeAt(PathData& p, double x, double y) {
  if (x == strokeStartX_ && y == strokeStartY_) p.close();
}

void ScriptDrawing::moveTo(double x, double y) {
  if (!budget()) return;
  if (filling_ && fillMoved_) {
    PathData& f = layer().fills.back().path;
    f.close();
    f.moveTo(x, y);
    startX_ = x;
    startY_ = y;
  }
  penX_ = x;
  penY_ = y;
  strokeMoved_ = false;
}

void ScriptDrawing::lineTo(double x, double y) {
  if (!budget()) return;
  if (filling_) {
    layer().fills.back().path.lineTo(x, y);
    include(penX_, penY_, 0);
    include(x, y, 0);
  }
  if (PathData* s = stroke()) {
    s->lineTo(x + kLineShift, y + kLineShift);
    closeStrokeAt(*s, x, y);
    include(x, y, line_->width);
  }
  if (!filling_ && !line_) {  // an edge drawn with neither still counts in the size
    include(penX_, penY_, 0);
    include(x, y, 0);
  }
  penX_ = x;
  penY_ = y;
}

void ScriptDrawing::curveTo(double cx, double cy, double x, double y) {
  if (!budget()) return;
  if (filling_) {
    layer().fills.back().path.quadTo(cx, cy, x, y);
    include(penX_, penY_, 0);
    include(cx, cy, 0);
    include(x, y, 0);
  }
  if (PathData* s = stroke()) {
    s->quadTo(cx + kLineShift, cy + kLineShift, x + kLineShift, y + kLineShift);
    closeStrokeAt(*s, x, y);
    include(cx, cy, line_->width);
    include(x, y, line_->width);
  }
  if (!filling_ && !line_) {
    include(penX_, penY_, 0);
    include(cx, cy, 0);
    include(x, y, 0);
  }
  penX_ = x;
  penY_ = y;
}

void ScriptDrawing::beginFill(const FillStyle& style) {
  endFill();
  if (!budget()) return;
  DrawLayer& l = drawing_.layers.emplace_back();
  l.styles.fills.push_back(style);
  l.fills.push_back({0, {}, {}});
  l.fills.back().path.moveTo(penX_, penY_);
  startX_ = penX_;
  startY_ = penY_;
  filling_ = fillMoved_ = true;
  strokeOpen_ = false;
}

void ScriptDrawing::endFill() {
  if (!filling_) return;
  layer().fills.back().path.close();
  filling_ = fillMoved_ = false;
  // The pen goes back to where the contour began, as the closing edge ends there.
  penX_ = startX_;
  penY_ = startY_;
  strokeMoved_ = false;
}

void ScriptDrawing::setLineStyle(std::optional<LineStyle> style) {
  line_ = std::move(style);
  strokeOpen_ = false;
}

void ScriptDrawing::setLineFill(const FillStyle& fill) {
  if (!line_) return;
  line_->hasFill = true;
  line_->fill = fill;
  strokeOpen_ = false;
}

std::optional<Rect> ScriptDrawing::bounds() const {
  if (x1_ < x0_) return std::nullopt;
  auto i = [](double v) { return int32_t(std::clamp(v, -1e9, 1e9)); };
  return Rect{i(std::floor(x0_)), i(std::ceil(x1_)), i(std::floor(y0_)), i(std::ceil(y1_))};
}

std::optional<Rect> ScriptDrawing::pathBounds() const {
  if (px1_ < px0_) return std::nullopt;
  auto i = [](double v) { return int32_t(std::clamp(v, -1e9, 1e9)); };
  return Rect{i(std::floor(px0_)), i(std::ceil(px1_)), i(std::floor(py0_)), i(std::ceil(py1_))};
}

}  // namespace swf
