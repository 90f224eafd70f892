#include "swf/render/shape_painter.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "swf/render/cairo_util.h"
#include "swf/render/fill_source.h"

namespace swf {

namespace {

cairo_line_cap_t capOf(CapStyle c) {
  switch (c) {
    case CapStyle::None:
      return CAIRO_LINE_CAP_BUTT;
    case CapStyle::Square:
      return CAIRO_LINE_CAP_SQUARE;
    case CapStyle::Round:
      break;
  }
  return CAIRO_LINE_CAP_ROUND;
}

cairo_line_join_t joinOf(JoinStyle j) {
  switch (j) {
    case JoinStyle::Bevel:
      return CAIRO_LINE_JOIN_BEVEL;
    case JoinStyle::Miter:
      return CAIRO_LINE_JOIN_MITER;
    case JoinStyle::Round:
      break;
  }
  return CAIRO_LINE_JOIN_ROUND;
}

// Whether a fill covers what is under it completely once transformed.
bool isOpaque(const FillStyle& f, const ColorTransform& cx) {
  switch (f.kind) {
    case FillKind::Solid:
      return cx.apply(f.color).a == 255;
    case FillKind::LinearGradient:
    case FillKind::RadialGradient:
    case FillKind::FocalGradient:
      if (f.gradient.stops.empty()) return cx.apply(RGBA{}).a == 255;
      for (const GradientStop& st : f.gradient.stops)
        if (cx.apply(st.color).a != 255) return false;
      return true;
    case FillKind::Bitmap:
      break;
  }
  return false;
}

// The device pixels the current path covers, within the clip.
std::optional<DeviceBox> deviceExtent(cairo_t* cr) {
  cairo_save(cr);
  cairo_identity_matrix(cr);
  double x0, y0, x1, y1, cx0, cy0, cx1, cy1;
  cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
  cairo_clip_extents(cr, &cx0, &cy0, &cx1, &cy1);
  cairo_restore(cr);
  x0 = std::max(x0, cx0);
  y0 = std::max(y0, cy0);
  x1 = std::min(x1, cx1);
  y1 = std::min(y1, cy1);
  if (!(x1 > x0 && y1 > y0) || x1 - x0 > 1e6 || y1 - y0 > 1e6) return std::nullopt;
  return DeviceBox{int(std::floor(x0)), int(std::floor(y0)), int(std::ceil(x1)),
                   int(std::ceil(y1))};
}

void paintFill(const DrawState& s, const DrawLayer& layer, const DrawLayer::Fill& fill,
               std::optional<RGBA> solidColor) {
  cairo_t* cr = s.cr;
  setMatrix(cr, s.toDevice);
  const FillStyle* style = &layer.styles.fills[fill.style];
  FillStyle recoloured;
  if (solidColor && style->kind == FillKind::Solid) {
    recoloured = *style;
    recoloured.color = *solidColor;
    style = &recoloured;
  }
  cairo_new_path(cr);
  fill.path.emit(cr);
  std::optional<DeviceBox> extent;
  if (style->kind != FillKind::Solid && !s.maskMode) extent = deviceExtent(cr);
  FillSource src = setFillSource(s, *style, extent ? &*extent : nullptr);
  if (!src.visible) {
    cairo_new_path(cr);
    return;
  }
  if (src.alpha < 1) {
    cairo_save(cr);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, src.alpha);
    cairo_restore(cr);
    return;
  }
  cairo_fill(cr);
  // Widening under a blend operator would blend the seam twice.
  if (!s.antialias || s.maskMode || fill.seams.empty() || s.fillOperator != CAIRO_OPERATOR_OVER ||
      !isOpaque(*style, s.cxform))
    return;
  bool any = false;
  cairo_new_path(cr);
  for (const DrawLayer::Seam& seam : fill.seams) {
    if (!isOpaque(layer.styles.fills[seam.partner], s.cxform)) continue;
    seam.path.emit(cr);
    any = true;
  }
  if (!any) return;
  cairo_identity_matrix(cr);
  cairo_set_line_width(cr, 1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void paintStroke(const DrawState& s, const LineStyle& style, const PathData& path) {
  cairo_t* cr = s.cr;
  setMatrix(cr, s.toDevice);
  if (style.hasFill) {
    if (!setFillSource(s, style.fill).visible) return;
  } else {
    RGBA c = s.cxform.apply(style.color);
    if (c.a == 0) return;
    setSourceColor(cr, c);
  }
  cairo_new_path(cr);
  path.emit(cr);
  cairo_identity_matrix(cr);  // the pen is round on the device, however the shape is scaled
  double scale = style.noHScale || style.noVScale ? s.stageScale : lengthScale(s.toDevice);
  cairo_set_line_width(cr, std::max(style.width * scale, 1.0));
  cairo_set_line_cap(cr, capOf(style.startCap));
  cairo_set_line_join(cr, joinOf(style.join));
  cairo_set_miter_limit(cr, style.miterLimit);
  cairo_stroke(cr);
}

void paint(const DrawState& s, const ShapeDrawing& d, std::optional<RGBA> solidColor) {
  if (!usableMatrix(s.toDevice)) return;
  cairo_t* cr = s.cr;
  cairo_save(cr);
  cairo_set_fill_rule(cr, d.nonZeroWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  cairo_set_operator(cr, s.fillOperator);
  for (const DrawLayer& layer : d.layers) {
    for (const DrawLayer::Fill& f : layer.fills) paintFill(s, layer, f, solidColor);
    if (s.maskMode) continue;  // masks are made of fills only
    for (const DrawLayer::Stroke& st : layer.strokes)
      paintStroke(s, layer.styles.lines[st.style], st.path);
  }
  cairo_restore(cr);
}

}  // namespace

void paintShape(const DrawState& s, const ShapeDrawing& d) { paint(s, d, std::nullopt); }

void paintShape(const DrawState& s, const ShapeDrawing& d, RGBA solidColor) {
  paint(s, d, solidColor);
}

}  // namespace swf
