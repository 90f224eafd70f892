#pragma once
// Shape records as read from a SHAPE or SHAPEWITHSTYLE, and their conversion into layers of edges
// with absolute coordinates.

#include <cstdint>
#include <vector>

#include "swf/shapes/styles.h"

namespace swf {

struct ShapeRecord {
  enum class Type : uint8_t { StyleChange, Straight, Curve };
  Type type = Type::StyleChange;
  // Style change.
  bool hasMove = false, hasFill0 = false, hasFill1 = false, hasLine = false;
  int32_t moveX = 0, moveY = 0;
  uint32_t fill0 = 0, fill1 = 0, line = 0;
  int newStyles = -1;  // index into ShapeRecords::newStyles, -1 when none
  // Edges: control delta (curves only) then anchor delta.
  int32_t cdx = 0, cdy = 0, adx = 0, ady = 0;
};

struct StyleArrays {
  std::vector<FillStyle> fills;
  std::vector<LineStyle> lines;
};

struct ShapeRecords {
  std::vector<ShapeRecord> records;
  std::vector<StyleArrays> newStyles;
};

// Reads NumFillBits/NumLineBits and the records up to the end record. New style arrays are only
// accepted when `f.shapeVersion` >= 2 (DefineShape 1 has no such records).
ShapeRecords readShapeRecords(BitReader& r, const StyleFormat& f, const ParseContext& ctx);

// One edge in absolute twips. Straight edges keep their control point at the midpoint so that
// morphing between a straight and a curved edge works.
struct Edge {
  double x0 = 0, y0 = 0, cx = 0, cy = 0, x1 = 0, y1 = 0;
  bool curve = false;
  uint32_t fill0 = 0, fill1 = 0, line = 0;  // 1-based into the layer's arrays, 0 for none
};

// The edge drawn by a straight or curved edge record from the pen at (x, y), which it moves to
// the edge's end. Styles are left at "none".
Edge edgeFrom(const ShapeRecord& rec, double& x, double& y);

// The edges drawn with one set of style arrays. A new-styles record starts a new layer, drawn
// above the previous one.
struct EdgeLayer {
  StyleArrays styles;
  std::vector<Edge> edges;
};

// Walks the records from (0,0). Style indexes past their arrays are treated as "none".
std::vector<EdgeLayer> buildEdgeLayers(const ShapeRecords& shape, StyleArrays initial);

}  // namespace swf
