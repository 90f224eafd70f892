#pragma once
// A text field's text as the layout takes it, and the fonts its runs are drawn with.

#include <string>
#include <vector>

#include "swf/text/edit_text.h"
#include "swf/text/styled_text.h"

namespace swf {

// The formats the field's text starts in, from its definition.
CharFormat fieldCharFormat(const EditTextCharacter& field);
ParagraphFormat fieldParagraphFormat(const EditTextCharacter& field);

// `bytes` (the field's text as the file or a script gives it) as styled text: parsed as HTML in
// an HTML field, one format otherwise; every character a '*' in a password field.
StyledText fieldStyledText(const EditTextCharacter& field, const std::string& bytes);

// The movie's font for a run: the field's own font when it has the run's name and style, else
// the movie's font of that name (in that style if there is one), else the field's own font.
// A name may list several, separated by commas: the first the movie has counts. Null when the
// field names no font and the movie has none of the names.
const FontCharacter* fontForRun(const EditTextCharacter& field, const CharFormat& format);

// The names of a font list ("Verdana, Arial"), trimmed; one empty name for an empty list.
std::vector<std::string> fontNames(const std::string& list);

}  // namespace swf
