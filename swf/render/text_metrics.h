#pragma once
// How a text field's text lays out, for scripts (textWidth, maxscroll, autoSize): measured with
// the same fonts and layout the painter draws with.

#include <string>
#include <vector>

#include "swf/text/edit_text.h"

namespace swf {

struct FieldMetrics {
  double textWidth = 0, textHeight = 0;  // twips, the gutter excluded
  int lines = 0;                         // all lines of the text
  int linesShown = 1;                    // lines that fit the field from the first one
  // Where each line's bottom is, from the top of the text.
  std::vector<double> lineBottoms;
};

// `text` is what the field shows.
FieldMetrics measureField(const EditTextCharacter& field, const StyledText& text);

// The inner margin between a field's bounds and its text, twips.
inline constexpr double kFieldGutter = 40;

}  // namespace swf
