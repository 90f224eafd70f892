#pragma once
// DefineFont 1, 2 and 3, completed by DefineFontInfo 1 and 2.

#include <cstdint>
#include <string>
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

  // The glyph for a character code, or -1.
  int glyphFor(uint32_t code) const;

  std::string name;
  bool bold = false, italic = false, smallText = false, shiftJIS = false, ansi = false;
  bool wideCodes = false;
  int language = 0;
  double emSize = 1024;  // DefineFont3 glyphs are drawn at 20 times the resolution
  bool hasLayout = false;
  double ascent = 0, descent = 0, leading = 0;  // font units
  std::vector<Glyph> glyphs;
};

}  // namespace swf
