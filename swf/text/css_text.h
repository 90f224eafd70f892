#pragma once
// Style sheets as TextField.StyleSheet reads them: "a, b { font-size: 12; color: #FF0000; }".
// The reading is as forgiving, and as strict, as the original player's: values keep their
// trailing spaces, property names lose their hyphens ("font-size" is fontSize), and anything it
// cannot read fails the whole sheet.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace swf {

struct CssRule {
  std::string selector;
  std::vector<std::pair<std::string, std::string>> declarations;  // in the sheet's order
};

// The rules of `css`, one per selector (a selector named twice keeps its last block); nothing
// when the text does not read. `version` is the movie's: from 8, white space may stand between
// the braces of an empty block.
std::optional<std::vector<CssRule>> parseCss(std::string_view css, int version);

// "#RRGGBB" as a number; nothing for any other text.
std::optional<unsigned> parseCssColor(std::string_view s);

// The player's own name for a generic CSS family ("mono" is _typewriter, "sans-serif" _sans,
// "serif" _serif, in any case); other names as they are.
std::string cssFontFamily(const std::string& name);

}  // namespace swf
