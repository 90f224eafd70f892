#include "swf/shapes/shape_drawing.h"

namespace swf {

DrawLayer buildDrawLayer(const std::vector<Edge>& edges, const EdgeVertices& vertices,
                         const LayerPlan& plan, StyleArrays styles) {
  DrawLayer layer;
  layer.styles = std::move(styles);
  for (const StyledContours& f : plan.fills) {
    if (f.style == 0 || f.style > layer.styles.fills.size()) continue;
    layer.fills.push_back({f.style - 1, fillPath(edges, f.contours)});
  }
  for (const StyledContours& s : plan.strokes) {
    if (s.style == 0 || s.style > layer.styles.lines.size()) continue;
    bool close = !layer.styles.lines[s.style - 1].noClose;
    layer.strokes.push_back({s.style - 1, strokePath(edges, s.contours, vertices, close)});
  }
  return layer;
}

ShapeDrawing buildShapeDrawing(std::vector<EdgeLayer> layers) {
  ShapeDrawing d;
  for (EdgeLayer& l : layers) {
    if (l.edges.empty()) continue;
    EdgeVertices v = vertexIdsByPosition(l.edges);
    LayerPlan plan = planLayer(l.edges, v);
    d.layers.push_back(buildDrawLayer(l.edges, v, plan, std::move(l.styles)));
  }
  return d;
}

}  // namespace swf
