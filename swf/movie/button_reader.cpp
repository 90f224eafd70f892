#include "swf/movie/control_tags.h"
#include "swf/movie/tag_codes.h"

namespace swf {
namespace {

// Reads records up to the terminating zero flag byte.
void readRecords(ButtonCharacter& b, BitReader& r, const CharacterLookup& lookup) {
  for (;;) {
    uint8_t flags = r.u8();
    if (flags == 0) break;
    ButtonRecord rec;
    rec.states = flags & 0x0f;
    rec.characterId = r.u16();
    rec.depth = r.u16();
    rec.matrix = readMatrix(r);
    if (b.version == 2) {
      rec.cxform = readColorTransform(r, true);
      if (flags & 0x10) rec.filters = std::make_shared<const FilterList>(readFilterList(r));
      if (flags & 0x20) rec.blendMode = r.u8();
    }
    rec.character = lookup(rec.characterId);
    b.records.push_back(std::move(rec));
  }
}

}  // namespace

std::shared_ptr<ButtonCharacter> readButton(int tagCode, BitReader& r,
                                            const CharacterLookup& lookup) {
  auto b = std::make_shared<ButtonCharacter>();
  b->id = r.u16();
  if (tagCode == tag::DefineButton) {
    b->version = 1;
    readRecords(*b, r, lookup);
    b->actions.push_back({kCondOverDownToOverUp, r.bytes(r.remaining())});
    return b;
  }
  b->version = 2;
  b->trackAsMenu = r.u8() & 1;
  size_t offsetField = r.pos();
  uint16_t actionOffset = r.u16();
  readRecords(*b, r, lookup);
  if (actionOffset == 0) return b;
  // The offset counts from the offset field itself; it must not point back into the records.
  size_t first = offsetField + actionOffset;
  if (first < r.pos() || first > r.size()) throw ReadError("button action offset out of range");
  r.seek(first);
  for (;;) {
    size_t start = r.pos();
    uint16_t size = r.u16();
    uint16_t conditions = r.u16();
    size_t end = size == 0 ? r.size() : start + size;
    if (size != 0 && size < 4) throw ReadError("button action size too small");
    if (end > r.size()) throw ReadError("button action size out of range");
    b->actions.push_back({conditions, r.bytes(end - r.pos())});
    if (size == 0) break;
  }
  return b;
}

}  // namespace swf
