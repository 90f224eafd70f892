#pragma once
// DefineText and DefineText2: static text laid out by the authoring tool, glyph by glyph.

#include <memory>
#include <vector>

#include "swf/movie/character.h"
#include "swf/text/font.h"

namespace swf {

struct GlyphEntry {
  uint32_t index = 0;   // into the font's glyphs
  int32_t advance = 0;  // twips to the next glyph
};

// A run of glyphs in one font, size and colour, starting at (x, y) on its baseline.
struct TextRun {
  std::shared_ptr<const FontCharacter> font;  // null when the font is missing
  RGBA color;
  double height = 0;  // twips to the em
  double x = 0, y = 0;
  std::vector<GlyphEntry> glyphs;
};

class TextCharacter : public Character {
 public:
  CharacterKind kind() const override { return CharacterKind::Text; }
  Rect bounds;
  Matrix matrix;  // the text's own placement inside its bounds
  std::vector<TextRun> runs;
};

}  // namespace swf
