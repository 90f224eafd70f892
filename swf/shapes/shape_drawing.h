#pragma once
// A shape ready to draw: per layer, its styles with one path per fill style and per line style.
// Built once from the edges and kept with the character.

#include <vector>

#include "swf/shapes/contours.h"
#include "swf/shapes/path_data.h"
#include "swf/shapes/shape_records.h"
#include "swf/shapes/styles.h"

namespace swf {

struct DrawLayer {
  // Edges this fill shares with a fill drawn after it. Anti-aliasing both fills along such an
  // edge would let the background show through; the earlier fill is widened under the later one
  // along them instead.
  struct Seam {
    uint32_t partner;  // 0-based into styles.fills
    PathData path;
  };
  struct Fill {
    uint32_t style;  // 0-based into styles.fills
    PathData path;
    std::vector<Seam> seams;
  };
  struct Stroke {
    uint32_t style;  // 0-based into styles.lines
    PathData path;
  };
  StyleArrays styles;
  std::vector<Fill> fills;
  std::vector<Stroke> strokes;
};

struct ShapeDrawing {
  std::vector<DrawLayer> layers;
  bool nonZeroWinding = false;  // DefineShape4 may ask for the non-zero rule
};

// Plans and builds the paths of one layer, given the vertex identities of its edges.
DrawLayer buildDrawLayer(const std::vector<Edge>& edges, const EdgeVertices& vertices,
                         const LayerPlan& plan, StyleArrays styles);
ShapeDrawing buildShapeDrawing(std::vector<EdgeLayer> layers);

}  // namespace swf
