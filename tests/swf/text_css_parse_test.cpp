// Style sheet text as TextField.StyleSheet reads it: which sheets read at all, and what rules
// and declarations come out of those that do.
#include <gtest/gtest.h>

#include "swf/text/css_text.h"

namespace {

// Rules as "sel{name=value;...}" in order, or "fail".
std::string read(const char* css, int version = 7) {
  auto rules = swf::parseCss(css, version);
  if (!rules) return "fail";
  std::string out;
  for (const auto& r : *rules) {
    out += r.selector + "{";
    for (const auto& [n, v] : r.declarations) out += n + "=" + v + ";";
    out += "}";
  }
  return out;
}

TEST(CssText, SheetsReadAsTheOriginalPlayerReadThem) {
  struct {
    const char* css;
    int version;
    const char* want;
  } const cases[] = {
      {"a { a: 1; b: 2; }", 7, "a{a=1;b=2;}"},
      {"a { a: 1; } a { c:3; }", 7, "a{c=3;}"},  // the last block of a name wins
      {",a,, ,, c,, { a: 1; }, b,{ b: 2; }", 7, "a{a=1;}c{a=1;}b{b=2;}"},
      {"a { a: 1   ; }", 7, "a{a=1   ;}"},  // values keep trailing spaces
      {"a { a: 1 }", 7, "a{a=1 ;}"},
      {"a { a: 1; b: 2; ", 7, "a{a=1;b=2;}"},  // may end after a ';'
      {"a { a: 1; b: 2  ", 7, "fail"},         // but not inside a value
      {"a { a: 1;; }", 7, "fail"},
      {"a b { a: 1; }", 7, "fail"},  // names need commas between them
      {"a {}", 7, "a{}"},
      {"a { }", 7, "fail"},  // white space alone: SWF 8 only
      {"a { }", 8, "a{}"},
      {"a { a-a: 1; b--b: 2; e-: 5; }", 7, "a{aA=1;b-b=2;e-=5;}"},  // hyphens camel-case
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.css, c.version), c.want) << c.css;
}

TEST(CssText, ColoursAreSixHexDigitsAfterAHash) {
  EXPECT_EQ(swf::parseCssColor("#FF0000"), 0xFF0000u);
  EXPECT_EQ(swf::parseCssColor("#abcabc"), 0xABCABCu);
  for (const char* bad : {"#FFF", "#FFXXFF", " #FF00FF", "#FF00FF ", "xFF00FF", "white"})
    EXPECT_FALSE(swf::parseCssColor(bad)) << bad;
}

TEST(CssText, GenericFamiliesBecomeThePlayersFonts) {
  EXPECT_EQ(swf::cssFontFamily("mONo"), "_typewriter");
  EXPECT_EQ(swf::cssFontFamily("SANS-SERIF"), "_sans");
  EXPECT_EQ(swf::cssFontFamily("serif"), "_serif");
  EXPECT_EQ(swf::cssFontFamily("serif "), "serif ");
}

}  // namespace
