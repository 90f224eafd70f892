#include "swf/shapes/shape.h"

namespace swf {

static int shapeVersion(int tagCode) {
  switch (tagCode) {
    case 2:
      return 1;
    case 22:
      return 2;
    case 32:
      return 3;
    case 83:
      return 4;
    default:
      throw ReadError("not a shape tag");
  }
}

std::shared_ptr<Character> parseShapeTag(int tagCode, BitReader& body, const ParseContext& ctx) {
  auto shape = std::make_shared<ShapeCharacter>();
  StyleFormat format{shapeVersion(tagCode)};
  shape->id = body.u16();
  shape->bounds = readRect(body);
  if (format.shapeVersion == 4) {
    readRect(body);  // edge bounds
    uint8_t flags = body.u8();
    shape->drawing.nonZeroWinding = flags & 0x04;
  }
  StyleArrays styles;
  styles.fills = readFillStyles(body, format, ctx);
  styles.lines = readLineStyles(body, format, ctx);
  ShapeRecords records = readShapeRecords(body, format, ctx);
  bool nonZero = shape->drawing.nonZeroWinding;
  shape->drawing = buildShapeDrawing(buildEdgeLayers(records, std::move(styles)));
  shape->drawing.nonZeroWinding = nonZero;
  return shape;
}

}  // namespace swf
