#include "swf/text/font.h"

#include "swf/shapes/shape_records.h"

namespace swf {

namespace {

ShapeDrawing glyphShape(std::span<const uint8_t> data) {
  BitReader r(data);
  ParseContext none;
  StyleArrays styles;
  styles.fills.push_back(FillStyle{});  // the text colour replaces it when drawn
  ShapeRecords records = readShapeRecords(r, StyleFormat{1}, none);
  return buildShapeDrawing(buildEdgeLayers(records, std::move(styles)));
}

// Glyph i spans offsets[i] .. offsets[i + 1] (the last one up to `end`), relative to `base`.
void readGlyphShapes(BitReader& body, size_t base, const std::vector<uint32_t>& offsets, size_t end,
                     FontCharacter& font) {
  auto data = body.data();
  end = std::min(end, data.size());
  for (size_t i = 0; i < offsets.size(); ++i) {
    size_t from = base + offsets[i];
    size_t to = i + 1 < offsets.size() ? base + offsets[i + 1] : end;
    Glyph g;
    if (from < to && to <= end) g.shape = glyphShape(data.subspan(from, to - from));
    font.glyphs.push_back(std::move(g));
  }
}

void readFont1(BitReader& body, FontCharacter& font) {
  size_t base = body.pos();
  if (body.remaining() < 2) return;  // a font without glyphs
  uint16_t first = body.u16();
  size_t count = first / 2;
  std::vector<uint32_t> offsets{first};
  for (size_t i = 1; i < count; ++i) offsets.push_back(body.u16());
  readGlyphShapes(body, base, offsets, body.size(), font);
}

void readFont23(int tagCode, BitReader& body, FontCharacter& font) {
  uint8_t flags = body.u8();
  bool hasLayout = flags & 0x80;
  font.shiftJIS = flags & 0x40;
  font.smallText = flags & 0x20;
  font.ansi = flags & 0x10;
  bool wideOffsets = flags & 0x08;
  font.wideCodes = flags & 0x04;
  font.italic = flags & 0x02;
  font.bold = flags & 0x01;
  font.language = body.u8();
  auto name = body.bytes(body.u8());
  font.name.assign(name.begin(), name.end());
  while (!font.name.empty() && font.name.back() == '\0') font.name.pop_back();
  if (tagCode == 75) font.emSize = 1024 * 20;
  size_t count = body.u16();
  size_t base = body.pos();
  if (count == 0) return;  // a desktop font named only: nothing more is needed
  std::vector<uint32_t> offsets;
  for (size_t i = 0; i < count; ++i) offsets.push_back(wideOffsets ? body.u32() : body.u16());
  uint32_t codeTableOffset = wideOffsets ? body.u32() : body.u16();
  readGlyphShapes(body, base, offsets, base + codeTableOffset, font);
  body.seek(base + codeTableOffset);
  for (size_t i = 0; i < count; ++i) font.glyphs[i].code = font.wideCodes ? body.u16() : body.u8();
  if (!hasLayout) return;
  font.hasLayout = true;
  font.ascent = body.u16();
  font.descent = body.u16();
  font.leading = body.s16();
  for (size_t i = 0; i < count; ++i) font.glyphs[i].advance = body.s16();
  for (size_t i = 0; i < count; ++i) font.glyphs[i].bounds = readRect(body);
  // Kerning pairs follow; text layout here does not use them.
}

}  // namespace

int FontCharacter::glyphFor(uint32_t code) const {
  for (size_t i = 0; i < glyphs.size(); ++i)
    if (glyphs[i].code == code) return int(i);
  return -1;
}

std::shared_ptr<Character> parseFontTag(int tagCode, BitReader& body, const ParseContext&) {
  auto font = std::make_shared<FontCharacter>();
  font->id = body.u16();
  switch (tagCode) {
    case 10:
      readFont1(body, *font);
      break;
    case 48:
    case 75:
      // Fonts often end early (a missing layout, a cut code table): keep what was read.
      try {
        readFont23(tagCode, body, *font);
      } catch (const ReadError&) {
      }
      break;
    default:
      throw ReadError("not a font tag");
  }
  return font;
}

std::shared_ptr<Character> parseFontInfoTag(int tagCode, BitReader& body, const ParseContext& ctx) {
  if (tagCode != 13 && tagCode != 62) throw ReadError("not a font info tag");
  uint16_t fontId = body.u16();
  auto base = std::dynamic_pointer_cast<const FontCharacter>(ctx.find(fontId));
  if (!base) return nullptr;
  auto font = std::make_shared<FontCharacter>(*base);
  auto name = body.bytes(body.u8());
  font->name.assign(name.begin(), name.end());
  while (!font->name.empty() && font->name.back() == '\0') font->name.pop_back();
  uint8_t flags = body.u8();
  font->smallText = flags & 0x20;
  font->shiftJIS = flags & 0x10;
  font->ansi = flags & 0x08;
  font->italic = flags & 0x04;
  font->bold = flags & 0x02;
  font->wideCodes = tagCode == 62 || (flags & 0x01);
  if (tagCode == 62) font->language = body.u8();
  for (Glyph& g : font->glyphs) {
    if (body.atEnd()) break;
    g.code = font->wideCodes ? body.u16() : body.u8();
  }
  return font;
}

}  // namespace swf
