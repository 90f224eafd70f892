#pragma once
// DefineFont 1, 2 and 3, completed by DefineFontInfo 1 and 2.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "swf/movie/character.h"
#include "swf/shapes/shape_drawing.h"

namespace swf {

struct Glyph {
  ShapeDrawing shape;  // in font units (emSize to the em), filled with the text's colour
  uint16_t code = 0;   // the character it draws, once known
  double advance = 0;  // font units; 0 when the font has no layout
  Rect bounds;
};

class FontCharacter : public Character {
 public:
  CharacterKind kind() const override { return CharacterKind::Font; }

  // The glyph for a character code, or -1 (the first glyph with that code wins).
  int glyphFor(uint32_t code) const;
  // The layout's adjustment between two character codes, in font units (0 without a pair).
  double kerning(uint32_t left, uint32_t right) const;
  // Builds the code lookup glyphFor uses once the codes are final; without it glyphFor searches.
  void indexCodes();

  std::string name;
  bool bold = false, italic = false, smallText = false, shiftJIS = false, ansi = false;
  bool wideCodes = false;
  int language = 0;
  double emSize = 1024;  // DefineFont3 glyphs are drawn at 20 times the resolution
  bool hasLayout = false;
  double ascent = 0, descent = 0, leading = 0;  // font units
  std::vector<Glyph> glyphs;

  struct KerningPair {
    uint32_t codes = 0;  // left code << 16 | right code
    int16_t adjustment = 0;
  };
  std::vector<KerningPair> kerningPairs;  // sorted by codes

 private:
  std::vector<std::pair<uint32_t, uint32_t>> codeIndex_;  // (code, glyph) sorted by code
};

}  // namespace swf
