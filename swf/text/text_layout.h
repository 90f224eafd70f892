#pragma once
// Lays styled text out in a text field: lines broken at paragraph ends and, with word wrap, at
// spaces (inside a word only when the word alone is too wide); each line as high as its largest
// font; paragraphs aligned, indented and spaced as their format says. Twips throughout.

#include <limits>
#include <vector>

#include "swf/text/styled_text.h"

namespace swf {

struct FontMetrics {
  double ascent = 0, descent = 0;
};

// What layout needs to know of the fonts; the painter answers with embedded glyphs or desktop
// fonts.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual FontMetrics metrics(const CharFormat& format) = 0;
  virtual double advance(const CharFormat& format, char32_t c) = 0;
  // The adjustment between two neighbours in one format; 0 when the font has none.
  virtual double kerning(const CharFormat& format, char32_t left, char32_t right) = 0;
};

struct PlacedChar {
  char32_t code = 0;
  double x = 0;                        // the origin of its glyph, on the line's baseline
  double advance = 0;                  // to the next character, kerning and letter spacing included
  const CharFormat* format = nullptr;  // points into the laid out StyledText
};

struct LaidLine {
  double baseline = 0, ascent = 0, descent = 0;
  std::vector<PlacedChar> chars;  // spaces a wrapped line ends with included
  size_t visible = 0;             // chars before the trailing spaces
  // The first line of a bulleted paragraph: its bullet's format and place.
  const CharFormat* bullet = nullptr;
  double bulletX = 0;
};

// The text area: the field's bounds less its gutter. A field shows its first line and then
// only lines that end above `bottom`; layout stops at the first that does not.
struct LayoutBox {
  double left = 0, top = 0, width = 0;
  double bottom = std::numeric_limits<double>::infinity();
  bool wordWrap = false;
};

// The text of a bullet and how far a bulleted paragraph's text starts from its bullet, in ems.
constexpr char32_t kBullet = U'\u2022';
constexpr double kBulletIndentEms = 1.5;

std::vector<LaidLine> layoutText(const StyledText& text, const LayoutBox& box,
                                 TextMeasure& measure);

}  // namespace swf
