#pragma once
// Text with formatting, as a text field holds it: paragraphs of runs. HTML fields get theirs
// from the parser (html_text.h); plain fields are one run per paragraph in the field's format.

#include <string>
#include <vector>

#include "swf/model/geometry.h"

namespace swf {

enum class TextAlign { Left, Right, Center, Justify };

// Where tabs stop when a paragraph names no stops: every 36 pixels, in twips.
constexpr double kDefaultTabStop = 720;

// How a run of characters looks. Sizes and spacing are twips.
struct CharFormat {
  std::string font;  // a font name, as the movie's fonts or the desktop know it
  double size = 240;
  RGBA color{0, 0, 0, 255};
  bool bold = false, italic = false, underline = false;
  bool kerning = true;       // the embedded font's kerning pairs apply
  double letterSpacing = 0;  // added after every character
  std::string url, target;   // of an <a> link

  friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// How a paragraph is laid out. Twips; the indent applies to the first line only and may be
// negative, the block indent to every line.
struct ParagraphFormat {
  TextAlign align = TextAlign::Left;
  double leftMargin = 0, rightMargin = 0, indent = 0, blockIndent = 0;
  double leading = 0;  // added below every line
  bool bullet = false;
  std::vector<double> tabStops;  // from the text's left edge; empty: every kDefaultTabStop

  friend bool operator==(const ParagraphFormat&, const ParagraphFormat&) = default;
};

struct StyledRun {
  std::u32string text;
  CharFormat format;
};

// A paragraph always has at least one run: an empty one gives an empty line its height.
struct StyledParagraph {
  ParagraphFormat format;
  std::vector<StyledRun> runs;
  // Ended by a bare \r of HTML text: a field counts that end but leaves it out of its text.
  bool silentEnd = false;
  // Ended by its closing tag: the line end keeps this paragraph's values (a line end from a
  // newline character takes those of the paragraph it starts).
  bool closedByTag = false;
};

struct StyledText {
  std::vector<StyledParagraph> paragraphs;

  // The characters, paragraphs separated by \r.
  std::u32string plainText() const;
};

// Plain text in one format: each \r, \n or \r\n starts a paragraph.
StyledText styledPlainText(const std::u32string& text, const CharFormat& format,
                           const ParagraphFormat& paragraph);

}  // namespace swf
