#pragma once
// The HTML of a text field, read the way the player reads it: leniently. Unknown tags are
// ignored, unclosed ones last to the end, a closing tag closes whatever was opened inside its
// element, and malformed entities stay as text.
//
// Understood: <p align>, <br>, <tab>, <li>, <font face size color letterSpacing kerning>, <b>, <i>,
// <u>, <a href target>, <textformat leftmargin rightmargin indent blockindent leading tabstops>;
// the entities &lt; &gt; &amp; &quot; &apos; &nbsp; &#N; &#xN;. Sizes and distances in the HTML
// are pixels.

#include <string>

#include "swf/text/styled_text.h"

namespace swf {

// `base` and `paragraph` are the field's own formats, which the tags change. Only a multiline
// field breaks lines at <p>, <li> and <br>; a newline character always breaks. Movies before
// SWF 7 also end a paragraph at every </p> and <br> of a single-line field. Text that is only white
// space between two tags is dropped; `condenseWhite` makes every other run of it one space.
StyledText parseHtmlText(const std::u32string& html, const CharFormat& base,
                         const ParagraphFormat& paragraph, bool multiline, int version = 8,
                         bool condenseWhite = false);

}  // namespace swf
