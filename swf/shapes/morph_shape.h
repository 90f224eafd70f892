#pragma once
// DefineMorphShape 1 and 2: a shape whose edges and styles move from a start to an end state as
// the ratio of the placed object goes from 0 to 65535.

#include "swf/movie/character.h"
#include "swf/shapes/shape_drawing.h"

namespace swf {

class MorphShapeCharacter : public Character {
 public:
  CharacterKind kind() const override { return CharacterKind::MorphShape; }

  // The shape at `ratio` (0..65535). The last one asked for is kept, so a morph that stands
  // still costs nothing to redraw.
  const ShapeDrawing& drawingAt(int ratio) const;
  Rect boundsAt(int ratio) const;

  Rect startBounds, endBounds;
  StyleArrays startStyles, endStyles;
  std::vector<Edge> startEdges,
      endEdges;  // pairwise: edge i of the start becomes edge i of the end
  EdgeVertices vertices;
  LayerPlan plan;

 private:
  mutable int cachedRatio_ = -1;
  mutable ShapeDrawing cached_;
};

}  // namespace swf
