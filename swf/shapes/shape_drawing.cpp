#include "swf/shapes/shape_drawing.h"

#include <map>

namespace swf {

DrawLayer buildDrawLayer(const std::vector<Edge>& edges, const EdgeVertices& vertices,
                         const LayerPlan& plan, StyleArrays styles) {
  DrawLayer layer;
  layer.styles = std::move(styles);
  // Fills are drawn in style order, so of two fills meeting at an edge the lower index is first.
  std::map<uint32_t, std::map<uint32_t, PathData>> seams;  // first fill → later fill → edges
  for (const Edge& e : edges) {
    if (!e.fill0 || !e.fill1 || e.fill0 == e.fill1) continue;
    PathData& p = seams[std::min(e.fill0, e.fill1)][std::max(e.fill0, e.fill1)];
    p.moveTo(e.x0, e.y0);
    if (e.curve)
      p.quadTo(e.cx, e.cy, e.x1, e.y1);
    else
      p.lineTo(e.x1, e.y1);
  }
  for (const StyledContours& f : plan.fills) {
    if (f.style == 0 || f.style > layer.styles.fills.size()) continue;
    DrawLayer::Fill fill{f.style - 1, fillPath(edges, f.contours), {}};
    for (auto& [partner, path] : seams[f.style])
      if (partner <= layer.styles.fills.size())
        fill.seams.push_back({partner - 1, std::move(path)});
    layer.fills.push_back(std::move(fill));
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
