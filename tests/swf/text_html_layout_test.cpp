// Laying a text field's text out with the glyphs of an embedded font: where lines break, how
// paragraphs align, how high lines are, and kerning.
#include <gtest/gtest.h>

#include "swf/render/text_fonts.h"
#include "swf/text/field_text.h"
#include "swf/text/text_layout.h"
#include "text_html_support.h"

namespace texttest {
namespace {

struct Laid {
  std::vector<swf::LaidLine> lines;
  std::vector<std::u32string> texts;
  swf::StyledText text;  // the lines point into it
};

// Lays the field out as the painter does, inside its 2-pixel gutter.
std::unique_ptr<Laid> layout(const EditTextDef& def) {
  auto movie = fieldMovie(def);
  const swf::EditTextCharacter& field = fieldOf(*movie);
  auto out = std::make_unique<Laid>();
  out->text = swf::fieldStyledText(field, field.initialText);
  swf::LayoutBox box;
  box.left = field.bounds.xMin + 40;
  box.top = field.bounds.yMin + 40;
  box.width = field.bounds.width() - 80;
  box.bottom = field.bounds.yMax - 40;
  box.wordWrap = field.wordWrap;
  swf::DrawState s;
  swf::FieldFonts fonts(s, field);
  out->lines = swf::layoutText(out->text, box, fonts);
  for (const auto& line : out->lines) {
    out->texts.emplace_back();
    for (const auto& c : line.chars) out->texts.back() += c.code;
  }
  return out;
}

TEST(TextHtmlLayout, WordWrapBreaksAtSpacesAndSplitsOnlyWordsWiderThanTheField) {
  EditTextDef def = textField("AA AA AAAAAAA");
  def.bounds = swf::Rect{0, 1080, 0, 4000};  // 1000 twips inside the gutter: two and a half A
  def.wordWrap = true;
  auto laid = layout(def);
  EXPECT_EQ(laid->texts, (std::vector<std::u32string>{U"AA ", U"AA ", U"AA", U"AA", U"AA", U"A"}));
  ASSERT_EQ(laid->lines.size(), 6u);
  EXPECT_DOUBLE_EQ(laid->lines[0].chars[0].x, 40);
  EXPECT_DOUBLE_EQ(laid->lines[0].chars[1].x, 440);
  EXPECT_EQ(laid->lines[0].visible, 2u);                // the trailing space does not count
  EXPECT_DOUBLE_EQ(laid->lines[0].baseline, 40 + 400);  // the gutter, then the ascent
  EXPECT_DOUBLE_EQ(laid->lines[1].baseline, 440 + 112 + 400);

  def.wordWrap = false;  // one line, however long; newlines still break
  def.text = "AA AA AAAAAAA\rB";
  def.multiline = false;
  EXPECT_EQ(layout(def)->texts, (std::vector<std::u32string>{U"AA AA AAAAAAA", U"B"}));
}

TEST(TextHtmlLayout, OnlyLinesThatFitWhollyAreShownButTheFirst) {
  EditTextDef def = textField("A\rA\rA\rA");
  def.bounds = swf::Rect{0, 2080, 0, 40 + 2 * 512 + 40};  // two lines of 512 and the gutters
  EXPECT_EQ(layout(def)->lines.size(), 2u);
  def.bounds.yMax -= 1;
  EXPECT_EQ(layout(def)->lines.size(), 1u);
  def.bounds.yMax = 100;  // too low for any line: the first still shows, clipped
  EXPECT_EQ(layout(def)->lines.size(), 1u);
}

TEST(TextHtmlLayout, ParagraphsAlignBetweenTheirMarginsAndIndents) {
  auto firstX = [](const EditTextDef& d) { return layout(d)->lines.at(0).chars.at(0).x; };
  EditTextDef def = textField("AA");
  def.align = 1;  // right: 2000 inside, "AA" is 800 wide
  EXPECT_DOUBLE_EQ(firstX(def), 40 + 1200);
  def.align = 2;
  EXPECT_DOUBLE_EQ(firstX(def), 40 + 600);
  def.leftMargin = 100;
  def.rightMargin = 300;
  def.indent = 50;
  def.align = 0;
  EXPECT_DOUBLE_EQ(firstX(def), 40 + 100 + 50);
  def.align = 1;
  EXPECT_DOUBLE_EQ(firstX(def), 40 + 2000 - 300 - 800);

  // HTML paragraphs override the field's alignment; the indent is the first line's only.
  EditTextDef html = textField(
      "<p align='right'>A</p><p align='center'>A</p>"
      "<textformat indent='5' blockindent='10' leftmargin='2'><p>AA AA</p></textformat>",
      true);
  html.bounds = swf::Rect{0, 1580, 0, 4000};  // 1500 inside
  html.wordWrap = true;
  auto laid = layout(html);
  ASSERT_EQ(laid->texts, (std::vector<std::u32string>{U"A", U"A", U"AA ", U"AA"}));
  EXPECT_DOUBLE_EQ(laid->lines[0].chars[0].x, 40 + 1500 - 400);
  EXPECT_DOUBLE_EQ(laid->lines[1].chars[0].x, 40 + 550);
  EXPECT_DOUBLE_EQ(laid->lines[2].chars[0].x, 40 + 40 + 200 + 100);
  EXPECT_DOUBLE_EQ(laid->lines[3].chars[0].x, 40 + 40 + 200);
}

TEST(TextHtmlLayout, JustifiedLinesFillTheWidthExceptAParagraphsLast) {
  EditTextDef def = textField("<p align='justify'>A A A A A</p>", true);
  def.bounds = swf::Rect{0, 1780, 0, 4000};  // 1700 inside: "A A A" is 1600 wide
  def.wordWrap = true;
  auto laid = layout(def);
  ASSERT_EQ(laid->texts, (std::vector<std::u32string>{U"A A A ", U"A A"}));
  const auto& first = laid->lines[0];
  EXPECT_DOUBLE_EQ(first.chars[4].x + 400, 40 + 1700);  // the two spaces share the 100 left
  EXPECT_DOUBLE_EQ(first.chars[2].x, 40 + 600 + 50);
  EXPECT_DOUBLE_EQ(laid->lines[1].chars[2].x, 40 + 600);
}

TEST(TextHtmlLayout, LinesAreAsHighAsTheirLargestRunAndLeadingSpacesThem) {
  EditTextDef def =
      textField("A<font size='51.2'>B</font><br><textformat leading='5'>A</textformat><br>A", true);
  auto laid = layout(def);
  ASSERT_EQ(laid->lines.size(), 3u);
  EXPECT_DOUBLE_EQ(laid->lines[0].ascent, 800);  // B at 1024 twips, the full EM
  EXPECT_DOUBLE_EQ(laid->lines[0].baseline, 40 + 800);
  EXPECT_DOUBLE_EQ(laid->lines[0].chars[1].x, 40 + 400);  // no kerning across sizes
  EXPECT_DOUBLE_EQ(laid->lines[1].baseline, 840 + 224 + 400);
  EXPECT_DOUBLE_EQ(laid->lines[2].baseline, laid->lines[1].baseline + 112 + 100 + 400);
}

TEST(TextHtmlLayout, KerningPairsOfTheEmbeddedFontMoveTheNextCharacter) {
  auto secondX = [](const std::string& text) {
    return layout(textField(text, true))->lines.at(0).chars.at(1).x;
  };
  EXPECT_DOUBLE_EQ(secondX("<font kerning='1'>AB</font>"), 40 + 400 - 200);
  EXPECT_DOUBLE_EQ(secondX("<font kerning='1'>BA</font>"), 40 + 400);  // pairs are ordered
  EXPECT_DOUBLE_EQ(secondX("AB"), 40 + 400);  // a field kerns only when asked to
  EXPECT_DOUBLE_EQ(secondX("<font kerning='1' letterSpacing='2'>AB</font>"), 40 + 400 + 40 - 200);
}

TEST(TextHtmlLayout, DesktopFontsSpaceByAdvancesAlone) {
  // DejaVu Sans, the usual sans, kerns "AV" in its own tables; the player's device text does not.
  auto firstAdvance = [](const std::string& text) {
    EditTextDef def = textField("<font face='_sans'>" + text + "</font>", true);
    def.useOutlines = false;
    return layout(def)->lines.at(0).chars.at(0).advance;
  };
  EXPECT_GT(firstAdvance("A"), 0);
  EXPECT_DOUBLE_EQ(firstAdvance("AV"), firstAdvance("A"));
}

TEST(TextHtmlLayout, RunsTakeTheMovieFontOfTheirNameAndStyle) {
  auto laid =
      layout(textField("<b>A</b>A<font face='SQUARES'><b>A</b></font><font "
                       "face='Missing'>A</font>A",
                       true));
  const auto& chars = laid->lines.at(0).chars;
  ASSERT_EQ(chars.size(), 5u);
  // The bold font, defined after the field, is 500 wide; a name the movie lacks falls back to
  // the field's own font.
  EXPECT_DOUBLE_EQ(chars[1].x - chars[0].x, 500);
  EXPECT_DOUBLE_EQ(chars[2].x - chars[1].x, 400);
  EXPECT_DOUBLE_EQ(chars[3].x - chars[2].x, 500);
  EXPECT_DOUBLE_EQ(chars[4].x - chars[3].x, 400);
}

TEST(TextHtmlLayout, AListOfFontNamesTakesTheFirstTheMovieHas) {
  EXPECT_EQ(swf::fontNames(" Missing ,Squares,, Other "),
            (std::vector<std::string>{"Missing", "Squares", "Other"}));
  EXPECT_EQ(swf::fontNames(" , "), (std::vector<std::string>{""}));
  auto laid = layout(textField("<font face='Missing, Squares'><b>A</b>A</font>", true));
  const auto& chars = laid->lines.at(0).chars;
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_DOUBLE_EQ(chars[1].x - chars[0].x, 500);  // the bold Squares
}

TEST(TextHtmlLayout, TabsStopAtTheParagraphsStopsOrEveryThirtySixPixels) {
  auto secondX = [](const std::string& text) {
    return layout(textField(text, true))->lines.at(0).chars.at(2).x;
  };
  EXPECT_DOUBLE_EQ(secondX("A\tA"), 40 + 720);
  EXPECT_DOUBLE_EQ(secondX("<textformat tabstops='30,60'>A\tA</textformat>"), 40 + 600);
  EXPECT_DOUBLE_EQ(secondX("<textformat tabstops='10'>A\tA</textformat>"), 40 + 200 + 720);
}

TEST(TextHtmlLayout, PasswordFieldsShowStars) {
  EditTextDef def = textField("<b>AB</b>\rA", true);
  def.password = true;
  auto movie = fieldMovie(def);
  EXPECT_EQ(swf::fieldStyledText(fieldOf(*movie), fieldOf(*movie).initialText).plainText(),
            U"**\r*");
}

}  // namespace
}  // namespace texttest
