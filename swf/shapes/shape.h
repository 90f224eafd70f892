#pragma once
// DefineShape 1 to 4.

#include "swf/movie/character.h"
#include "swf/shapes/shape_drawing.h"

namespace swf {

struct ShapeCharacter : Character {
  CharacterKind kind() const override { return CharacterKind::Shape; }
  Rect bounds;
  ShapeDrawing drawing;
};

}  // namespace swf
