#include "swf/render/character_painter.h"

#include "swf/render/bounds.h"
#include "swf/render/shape_painter.h"
#include "swf/render/shape_tile_cache.h"
#include "swf/render/text_painter.h"
#include "swf/render/video_painter.h"
#include "swf/shapes/morph_shape.h"
#include "swf/shapes/script_drawing.h"
#include "swf/shapes/shape.h"

namespace swf {

namespace {

// Whether a rectangle of the object's space lies wholly outside the area being drawn.
bool outsideClip(const DrawState& s, const std::optional<Rect>& r) {
  if (!r) return false;
  Box b = transformBox(*r, s.toDevice);
  constexpr double kPad = 2;  // hairlines and anti-aliasing reach past the bounds
  return b.x1 + kPad < s.clipX0 || b.x0 - kPad > s.clipX1 || b.y1 + kPad < s.clipY0 ||
         b.y0 - kPad > s.clipY1;
}

}  // namespace

void paintCharacter(const DrawState& s, const DisplayObject& obj) {
  const Character& c = *obj.character;
  if (outsideClip(s, characterBounds(obj))) return;
  switch (c.kind()) {
    case CharacterKind::Shape: {
      const ShapeDrawing& d = static_cast<const ShapeCharacter&>(c).drawing;
      if (!paintShapeTile(s, obj.character, d)) paintShape(s, d);
      break;
    }
    case CharacterKind::MorphShape:
      paintShape(s, static_cast<const MorphShapeCharacter&>(c).drawingAt(obj.ratio));
      break;
    case CharacterKind::Text:
      paintText(s, static_cast<const TextCharacter&>(c));
      break;
    case CharacterKind::EditText:
      paintEditText(s, static_cast<const EditTextCharacter&>(c), obj);
      break;
    case CharacterKind::Other:
      paintVideo(s, obj);  // draws only video objects
      break;
    default:
      break;
  }
}

void paintOwnContent(const DrawState& s, const DisplayObject& obj) {
  if (obj.character) paintCharacter(s, obj);
  if (!obj.drawing || obj.drawing->empty() || outsideClip(s, obj.drawing->bounds())) return;
  paintShape(s, obj.drawing->drawing());
}

}  // namespace swf
