#pragma once
// Flash's edge model: every edge carries the fill on its left (fill0) and right (fill1) and a
// line style. Fills are drawn as closed contours, one path per fill style, built by chaining the
// edges that bound that fill: fill1 edges as they are, fill0 edges reversed, so that every
// contour of a fill winds the same way.

#include <cstdint>
#include <vector>

#include "swf/shapes/path_data.h"
#include "swf/shapes/shape_records.h"

namespace swf {

struct ContourStep {
  uint32_t edge;
  bool reversed;
};
using Contour = std::vector<ContourStep>;

struct StyledContours {
  uint32_t style;  // 1-based into the layer's fill or line styles
  std::vector<Contour> contours;
};

struct LayerPlan {
  std::vector<StyledContours> fills;    // by style index
  std::vector<StyledContours> strokes;  // by style index
};

// Vertex identities of each edge's start and end: edges join where the identities match.
struct EdgeVertices {
  std::vector<uint32_t> start, end;
};

// Identities from coordinates (a plain shape).
EdgeVertices vertexIdsByPosition(const std::vector<Edge>& edges);
// Identities from two coordinate sets at once (a morph shape: its start and end edges).
EdgeVertices vertexIdsByPosition(const std::vector<Edge>& a, const std::vector<Edge>& b);

LayerPlan planLayer(const std::vector<Edge>& edges, const EdgeVertices& v);

// Replays contours as a path. Fill contours are always closed; stroke contours only when they
// end where they began and `closeStrokes` is set.
PathData fillPath(const std::vector<Edge>& edges, const std::vector<Contour>& contours);
PathData strokePath(const std::vector<Edge>& edges, const std::vector<Contour>& contours,
                    const EdgeVertices& v, bool closeStrokes);

}  // namespace swf
