#pragma once
// A text format as scripts give and ask for it: every value may be absent. Setting a format
// changes only what it names; asking for the format of a range names only what the whole range
// shares.

#include <optional>
#include <string>
#include <vector>

#include "swf/text/styled_text.h"

namespace swf {

struct FormatSpec {
  std::optional<std::string> font, url, target;
  std::optional<double> size, letterSpacing;  // twips
  std::optional<RGBA> color;
  std::optional<bool> bold, italic, underline, kerning, bullet;
  std::optional<TextAlign> align;
  std::optional<double> leftMargin, rightMargin, indent, blockIndent, leading;  // twips
  std::optional<std::vector<double>> tabStops;                                  // twips

  // Everything the two formats say.
  static FormatSpec of(const CharFormat& c, const ParagraphFormat& p);
  void applyTo(CharFormat& c) const;
  void applyTo(ParagraphFormat& p) const;
  // Forgets every value `other` does not share.
  void keepCommon(const FormatSpec& other);
  bool hasParagraphValues() const;
};

}  // namespace swf
