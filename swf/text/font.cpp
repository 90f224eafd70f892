#include "swf/text/font.h"

#include <algorithm>

#include "swf/shapes/shape_records.h"
#include "swf/text/font_table.h"

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
  size_t pairs = body.u16();
  for (size_t i = 0; i < pairs; ++i) {
    uint32_t left = font.wideCodes ? body.u16() : body.u8();
    uint32_t right = font.wideCodes ? body.u16() : body.u8();
    int16_t adjustment = body.s16();
    font.kerningPairs.push_back({left << 16 | right, adjustment});
  }
}

// Sorts the kerning pairs (the first of duplicates wins), indexes the codes and makes the font
// known by name to the text fields of the movie.
void completeFont(const std::shared_ptr<FontCharacter>& font, const ParseContext& ctx) {
  auto& pairs = font->kerningPairs;
  std::stable_sort(pairs.begin(), pairs.end(),
                   [](const auto& a, const auto& b) { return a.codes < b.codes; });
  pairs.erase(std::unique(pairs.begin(), pairs.end(),
                          [](const auto& a, const auto& b) { return a.codes == b.codes; }),
              pairs.end());
  font->indexCodes();
  if (ctx.fonts) ctx.fonts->add(font);
}

}  // namespace

int FontCharacter::glyphFor(uint32_t code) const {
  if (codeIndex_.size() != glyphs.size()) {
    for (size_t i = 0; i < glyphs.size(); ++i)
      if (glyphs[i].code == code) return int(i);
    return -1;
  }
  auto it = std::lower_bound(codeIndex_.begin(), codeIndex_.end(),
                             std::pair<uint32_t, uint32_t>{code, 0});
  return it != codeIndex_.end() && it->first == code ? int(it->second) : -1;
}

double FontCharacter::kerning(uint32_t left, uint32_t right) const {
  if (kerningPairs.empty() || left > 0xffff || right > 0xffff) return 0;
  uint32_t key = left << 16 | right;
  auto it = std::lower_bound(kerningPairs.begin(), kerningPairs.end(), key,
                             [](const KerningPair& p, uint32_t k) { return p.codes < k; });
  return it != kerningPairs.end() && it->codes == key ? it->adjustment : 0;
}

void FontCharacter::indexCodes() {
  codeIndex_.clear();
  codeIndex_.reserve(glyphs.size());
  for (size_t i = 0; i < glyphs.size(); ++i) codeIndex_.emplace_back(glyphs[i].code, uint32_t(i));
  // Stable: of glyphs sharing a code, the first stays first, as a search would find it.
  std::stable_sort(codeIndex_.begin(), codeIndex_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::shared_ptr<Character> parseFontTag(int tagCode, BitReader& body, const ParseContext& ctx) {
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
  completeFont(font, ctx);
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
  completeFont(font, ctx);
  return font;
}

}  // namespace swf
