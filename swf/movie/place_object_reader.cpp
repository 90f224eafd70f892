#include "swf/movie/control_tags.h"
#include "swf/movie/tag_codes.h"

namespace swf {

void skipFilterList(BitReader& r) {
  unsigned count = r.u8();
  for (unsigned i = 0; i < count; ++i) {
    switch (r.u8()) {
      case 0:
        r.skip(23);
        break;  // drop shadow
      case 1:
        r.skip(9);
        break;  // blur
      case 2:
        r.skip(15);
        break;  // glow
      case 3:
        r.skip(27);
        break;   // bevel
      case 4:    // gradient glow
      case 7: {  // gradient bevel
        unsigned colors = r.u8();
        r.skip(colors * 5 + 19);
        break;
      }
      case 5: {  // convolution
        unsigned w = r.u8(), h = r.u8();
        r.skip(8 + size_t(w) * h * 4 + 4 + 1);
        break;
      }
      case 6:
        r.skip(80);
        break;  // colour matrix
      default:
        throw ReadError("unknown filter");
    }
  }
}

PlaceCommand readPlaceObject(int tagCode, BitReader& r, const CharacterLookup& lookup) {
  PlaceCommand p;
  if (tagCode == tag::PlaceObject) {
    p.version = 1;
    p.hasCharacter = true;
    p.characterId = r.u16();
    p.depth = r.u16();
    p.matrix = readMatrix(r);
    if (!r.atEnd()) p.cxform = readColorTransform(r, false);
    p.character = lookup(p.characterId);
    return p;
  }
  p.version = tagCode == tag::PlaceObject3 ? 3 : 2;
  uint8_t f = r.u8();
  uint8_t f2 = p.version == 3 ? r.u8() : 0;
  bool hasClipActions = f & 0x80, hasClipDepth = f & 0x40, hasName = f & 0x20, hasRatio = f & 0x10,
       hasCxform = f & 0x08, hasMatrix = f & 0x04;
  p.hasCharacter = f & 0x02;
  p.move = f & 0x01;
  bool hasImage = f2 & 0x10, hasClassName = f2 & 0x08, hasCacheAsBitmap = f2 & 0x04,
       hasBlendMode = f2 & 0x02, hasFilters = f2 & 0x01, hasVisible = f2 & 0x20,
       opaqueBackground = f2 & 0x40;
  p.depth = r.u16();
  if (hasClassName || (hasImage && p.hasCharacter)) r.cstring();
  if (p.hasCharacter) {
    p.characterId = r.u16();
    p.character = lookup(p.characterId);
  }
  if (hasMatrix) p.matrix = readMatrix(r);
  if (hasCxform) p.cxform = readColorTransform(r, true);
  if (hasRatio) p.ratio = r.u16();
  if (hasName) p.name = r.cstring();
  if (hasClipDepth) p.clipDepth = r.u16();
  if (hasFilters) skipFilterList(r);
  if (hasBlendMode) p.blendMode = r.u8();
  if (hasCacheAsBitmap) r.u8();
  if (hasVisible) p.visible = r.u8() != 0;
  if (opaqueBackground) r.skip(4);
  if (hasClipActions) p.clipActions = r.bytes(r.remaining());
  return p;
}

RemoveCommand readRemoveObject(int tagCode, BitReader& r) {
  RemoveCommand c;
  if (tagCode == tag::RemoveObject) r.u16();  // the character id adds nothing to the depth
  c.depth = r.u16();
  return c;
}

}  // namespace swf
