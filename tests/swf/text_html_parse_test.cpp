// Reading a text field's HTML into runs and paragraphs, with the player's lenient rules.
#include <gtest/gtest.h>

#include "swf/text/html_text.h"

namespace {

using swf::CharFormat;
using swf::ParagraphFormat;
using swf::StyledText;
using swf::TextAlign;

CharFormat base() {
  CharFormat f;
  f.font = "Base";
  f.size = 240;
  f.color = {1, 2, 3, 200};
  return f;
}

StyledText html(const std::u32string& text, bool multiline = true) {
  return swf::parseHtmlText(text, base(), ParagraphFormat{}, multiline);
}

// The runs of every paragraph, each as its text.
std::vector<std::vector<std::u32string>> runTexts(const StyledText& t) {
  std::vector<std::vector<std::u32string>> out;
  for (const auto& p : t.paragraphs) {
    out.emplace_back();
    for (const auto& r : p.runs) out.back().push_back(r.text);
  }
  return out;
}

TEST(TextHtmlParse, NestedTagsInheritAndRestoreTheirFormats) {
  StyledText t = html(
      U"<font face=\"Serif\" size=\"20\"><b>x<font color=\"#FF0000\" size=\"+4\">y</font>z"
      U"</b></font>w");
  ASSERT_EQ(runTexts(t), (std::vector<std::vector<std::u32string>>{{U"x", U"y", U"z", U"w"}}));
  const auto& runs = t.paragraphs[0].runs;
  EXPECT_EQ(runs[0].format.font, "Serif");
  EXPECT_EQ(runs[0].format.size, 400);
  EXPECT_TRUE(runs[0].format.bold);
  EXPECT_EQ(runs[0].format.color, (swf::RGBA{1, 2, 3, 200}));
  EXPECT_EQ(runs[1].format.font, "Serif");  // inherited from the outer font tag
  EXPECT_EQ(runs[1].format.size, 480);      // relative to it
  EXPECT_TRUE(runs[1].format.bold);
  EXPECT_EQ(runs[1].format.color, (swf::RGBA{255, 0, 0, 200}));  // the field's alpha stays
  EXPECT_EQ(runs[2].format, runs[0].format);
  EXPECT_EQ(runs[3].format, base());
}

TEST(TextHtmlParse, EntitiesAreDecodedAndMalformedOnesStayText) {
  StyledText t =
      html(U"&lt;&gt;&amp;&quot;&apos;&#65;&#x42;&#X63;&nbsp;|&foo; &#xZZ; & b &#0; &lt");
  EXPECT_EQ(t.plainText(), U"<>&\"'ABc\u00a0|&foo; &#xZZ; & b &#0; &lt");
  // Attribute values have their entities decoded too.
  StyledText link = html(U"<a href='x?a=1&amp;b=2' target=_blank>go</a>");
  EXPECT_EQ(link.paragraphs[0].runs[0].format.url, "x?a=1&b=2");
  EXPECT_EQ(link.paragraphs[0].runs[0].format.target, "_blank");
}

TEST(TextHtmlParse, UnknownUnclosedAndStrayTagsAreTolerated) {
  // Unknown tags vanish; a closing tag closes what opened inside its element; a closing tag
  // nothing opened is ignored; unclosed tags last to the end; tag names ignore case.
  StyledText t = html(U"<blink>a</blink><B><i>b</b>c</u><U>d<img src='x.jpg'>e");
  ASSERT_EQ(runTexts(t), (std::vector<std::vector<std::u32string>>{{U"a", U"b", U"c", U"de"}}));
  const auto& runs = t.paragraphs[0].runs;
  EXPECT_FALSE(runs[0].format.bold);
  EXPECT_TRUE(runs[1].format.bold && runs[1].format.italic);
  EXPECT_FALSE(runs[2].format.bold || runs[2].format.italic);
  EXPECT_TRUE(runs[3].format.underline);
  // A tag that never closes ends the text; comments are skipped.
  EXPECT_EQ(html(U"ab<!-- <b>not</b> -->c<font size='3").plainText(), U"abc");
  // Attributes without values, bad sizes and colours change nothing.
  StyledText bad = html(U"<font size=big color=red face>x</font>");
  EXPECT_EQ(bad.paragraphs[0].runs[0].format.size, 240);
  EXPECT_EQ(bad.paragraphs[0].runs[0].format.color, base().color);
}

TEST(TextHtmlParse, ParagraphsBreakLinesOnlyInMultilineFields) {
  StyledText t =
      html(U"<p align=\"center\">a</p><p align=right>b<br>c</p><p align='JUSTIFY'>d</p>e");
  ASSERT_EQ(t.plainText(), U"a\rb\rc\rd\re");
  EXPECT_EQ(t.paragraphs[0].format.align, TextAlign::Center);
  EXPECT_EQ(t.paragraphs[1].format.align, TextAlign::Right);
  EXPECT_EQ(t.paragraphs[2].format.align, TextAlign::Right);  // <br> keeps the paragraph's
  EXPECT_EQ(t.paragraphs[3].format.align, TextAlign::Justify);
  EXPECT_EQ(t.paragraphs[4].format.align, TextAlign::Left);
  EXPECT_EQ(html(U"<p>a</p>").plainText(), U"a");  // the last </p> adds no empty line
  // Empty paragraphs and a <br> after a paragraph each make an empty line.
  EXPECT_EQ(html(U"<p></p><p>b</p><br>c").plainText(), U"\rb\r\rc");
  // A newline in the source always breaks; the tags do not in a single-line field.
  EXPECT_EQ(html(U"<p>a</p><p>b<br>c</p>", false).plainText(), U"abc");
  EXPECT_EQ(html(U"a\rb\nc", false).plainText(), U"a\rb\rc");
  EXPECT_EQ(html(U"a\r\nb", false).plainText(), U"a\r\rb");  // two line ends
  // Before SWF 7 a single-line field ends a paragraph at each </p> and <br>, newline or not.
  EXPECT_EQ(swf::parseHtmlText(U"<p>a</p>\rb", base(), {}, false, 6).plainText(), U"a\r\rb");
  EXPECT_EQ(swf::parseHtmlText(U"a<br>b", base(), {}, false, 6).plainText(), U"a\rb");
  // An empty paragraph keeps the format it would be typed in (its height counts).
  StyledText empty = html(U"a<br><font size='30'></font>");
  ASSERT_EQ(empty.paragraphs.size(), 2u);
  ASSERT_EQ(empty.paragraphs[1].runs.size(), 1u);
  EXPECT_EQ(empty.paragraphs[1].runs[0].format.size, 600);
}

TEST(TextHtmlParse, WhiteSpaceBetweenTagsAndCondenseWhite) {
  struct {
    const char32_t* in;
    int version;
    bool condense;
    const char32_t* want;
  } const cases[] = {
      {U"a<tab>b", 8, false, U"a\tb"},
      {U"a<b> </b>c", 7, false, U"ac"},  // white space alone between tags goes
      {U"a<b> </b>c", 8, false, U"a c"},
      {U" \ta\r\n<b> \ta\r\n</b>", 7, true, U" a  a "},
      {U" \ta\r\n<b> \ta\r\n</b>", 8, true, U"a a "},  // runs join across tags
  };
  for (const auto& c : cases) {
    StyledText t = swf::parseHtmlText(c.in, base(), {}, false, c.version, c.condense);
    EXPECT_EQ(t.plainText(), c.want) << c.version << c.condense;
  }
  // A bare \r ends its paragraph silently; \n ends it as a field shows it.
  StyledText t = html(U"a\rb\nc", false);
  ASSERT_EQ(t.paragraphs.size(), 3u);
  EXPECT_TRUE(t.paragraphs[0].silentEnd);
  EXPECT_FALSE(t.paragraphs[1].silentEnd);
}

TEST(TextHtmlParse, TextFormatAndListItemsSetParagraphLayoutInPixels) {
  StyledText t = html(
      U"<textformat leftmargin='10' rightmargin=\"-5\" indent='-3' blockindent='4' leading='2' "
      U"tabstops='[40, 20,x]'><li>item</li></textformat>plain");
  ASSERT_EQ(t.paragraphs.size(), 2u);
  const ParagraphFormat& p = t.paragraphs[0].format;
  EXPECT_EQ(p.leftMargin, 200);
  EXPECT_EQ(p.rightMargin, 0);  // margins are never negative
  EXPECT_EQ(p.indent, -60);
  EXPECT_EQ(p.blockIndent, 80);
  EXPECT_EQ(p.leading, 40);
  EXPECT_EQ(p.tabStops, (std::vector<double>{400, 800}));
  EXPECT_TRUE(p.bullet);
  EXPECT_EQ(t.paragraphs[1].format, ParagraphFormat{});
}

TEST(TextHtmlParse, EndlessNestingStaysCheap) {
  std::u32string deep;
  for (int i = 0; i < 20000; ++i) deep += U"<font size='+1'><b>";
  deep += U"x";
  for (int i = 0; i < 20000; ++i) deep += U"</i>";
  StyledText t = html(deep);
  ASSERT_EQ(t.plainText(), U"x");
  // Only the nesting that counts is kept: the size grew a bounded number of times.
  EXPECT_LT(t.paragraphs[0].runs[0].format.size, 240 + 200 * 20);
  EXPECT_TRUE(t.paragraphs[0].runs[0].format.bold);
}

}  // namespace
