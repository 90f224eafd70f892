#include "swf/text/text.h"

namespace swf {

static void readRuns(int tagCode, BitReader& body, const ParseContext& ctx, unsigned glyphBits,
                     unsigned advanceBits, std::vector<TextRun>& runs);

std::shared_ptr<Character> parseTextTag(int tagCode, BitReader& body, const ParseContext& ctx) {
  if (tagCode != 11 && tagCode != 33) throw ReadError("not a text tag");
  auto text = std::make_shared<TextCharacter>();
  text->id = body.u16();
  text->bounds = readRect(body);
  text->matrix = readMatrix(body);
  unsigned glyphBits = body.u8(), advanceBits = body.u8();
  // A text cut short keeps the runs read in full.
  try {
    readRuns(tagCode, body, ctx, glyphBits, advanceBits, text->runs);
  } catch (const ReadError&) {
  }
  return text;
}

static void readRuns(int tagCode, BitReader& body, const ParseContext& ctx, unsigned glyphBits,
                     unsigned advanceBits, std::vector<TextRun>& runs) {
  TextRun style;  // font, colour, size and position carry over from record to record
  for (;;) {
    uint8_t flags = body.u8();
    if (flags == 0) break;
    if (flags & 0x08) {
      uint16_t fontId = body.u16();
      style.font = std::dynamic_pointer_cast<const FontCharacter>(ctx.find(fontId));
    }
    if (flags & 0x04) style.color = tagCode == 33 ? readRGBA(body) : readRGB(body);
    if (flags & 0x01) style.x = body.s16();
    if (flags & 0x02) style.y = body.s16();
    if (flags & 0x08) style.height = body.u16();
    TextRun run = style;
    run.glyphs.clear();
    unsigned count = body.u8();
    for (unsigned i = 0; i < count; ++i) {
      GlyphEntry g;
      g.index = body.ub(glyphBits);
      g.advance = body.sb(advanceBits);
      run.glyphs.push_back(g);
      style.x += g.advance;
    }
    body.align();
    runs.push_back(std::move(run));
  }
}

}  // namespace swf
