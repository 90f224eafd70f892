#include "swf/render/character_painter.h"

#include "swf/render/shape_painter.h"
#include "swf/render/text_painter.h"
#include "swf/shapes/morph_shape.h"
#include "swf/shapes/shape.h"

namespace swf {

void paintCharacter(const DrawState& s, const DisplayObject& obj) {
  const Character& c = *obj.character;
  switch (c.kind()) {
    case CharacterKind::Shape:
      paintShape(s, static_cast<const ShapeCharacter&>(c).drawing);
      break;
    case CharacterKind::MorphShape:
      paintShape(s, static_cast<const MorphShapeCharacter&>(c).drawingAt(obj.ratio));
      break;
    case CharacterKind::Text:
      paintText(s, static_cast<const TextCharacter&>(c));
      break;
    case CharacterKind::EditText:
      paintEditText(s, static_cast<const EditTextCharacter&>(c), obj);
      break;
    default:
      break;
  }
}

}  // namespace swf
