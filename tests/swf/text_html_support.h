#pragma once
// A movie with the test font "Squares" and one text field, written with our authoring code.
//
// At the field's usual size of 512 twips (half the EM) 'A' and 'B' are squares of 320 twips
// standing on the baseline, 400 twips apart; a space is 200 wide; "AB" kerns by -200. The
// ascent is 400 twips and the descent 112. A bold "Squares" (id 3), defined after the field,
// has an 'A' 500 twips wide.

#include <memory>
#include <string>

#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"
#include "swf/text/edit_text.h"

namespace texttest {

using swf::author::EditTextDef;
using swf::author::GlyphDef;

inline GlyphDef squareGlyph(uint16_t code, int advance, int side = 640) {
  GlyphDef g;
  g.code = code;
  g.outline.setFill1(1);
  g.outline.rectangle(0, -side, side, side);
  g.advance = advance;
  return g;
}

inline GlyphDef spaceGlyph() {
  GlyphDef g;
  g.code = ' ';
  g.advance = 400;
  return g;
}

// A field of `field` (font, size, colour and a 2000-twip inner width filled in when not given).
inline std::shared_ptr<const swf::Movie> fieldMovie(EditTextDef field) {
  swf::author::SwfWriter w(8, 200, 100, 12);
  swf::author::FontStyleDef regular;
  regular.kerning = {{'A', 'B', -400}};
  w.defineFont2(1, "Squares", {squareGlyph('A', 800), squareGlyph('B', 800), spaceGlyph()}, 800,
                224, regular);
  if (field.bounds.xMax == 0) field.bounds = swf::Rect{0, 2080, 0, 4000};
  if (!field.font) field.font = 1;
  if (field.height == 240) field.height = 512;
  w.defineEditText(2, field);
  swf::author::FontStyleDef bold;
  bold.bold = true;
  w.defineFont2(3, "Squares", {squareGlyph('A', 1000, 900), spaceGlyph()}, 800, 224, bold);
  return swf::loadMovieFromMemory(w.finish());
}

inline EditTextDef textField(const std::string& text, bool html = false) {
  EditTextDef f;
  f.text = text;
  f.html = html;
  f.multiline = true;
  return f;
}

inline const swf::EditTextCharacter& fieldOf(const swf::Movie& m) {
  return static_cast<const swf::EditTextCharacter&>(*m.character(2));
}

}  // namespace texttest
