// Drawing HTML text fields: each run in its colour, underlines, kerning, colour transforms,
// desktop fonts; and the kerning table as the font parser reads it.
#include "draw_support.h"
#include "swf/text/font.h"
#include "text_html_support.h"

namespace texttest {
namespace {

using drawtest::Frame;
using drawtest::kBlue;
using drawtest::kRed;
using drawtest::kWhite;
using drawtest::near;
using drawtest::Stage;

// The field drawn at 20 twips to the pixel. With the usual size the first glyph covers x 2..18
// and y 6..22, the second (unkerned) x 22..38.
struct Drawn {
  std::shared_ptr<const swf::Movie> movie;
  std::unique_ptr<Frame> frame;
};

Drawn draw(const EditTextDef& def, swf::ColorTransform cx = {}) {
  Drawn d;
  d.movie = fieldMovie(def);
  Stage st;
  st.place(1, d.movie->character(2)).cxform = cx;
  d.frame = std::make_unique<Frame>(st.root, 100, 40);
  return d;
}

TEST(TextHtmlDraw, EachRunIsDrawnInItsOwnColour) {
  EditTextDef def =
      textField("<font color='#FF0000'>A</font><font color=\"#0000ff\">A</font>A", true);
  def.color = {0, 160, 0, 255};
  auto d = draw(def);
  EXPECT_TRUE(near(d.frame->at(10, 14), kRed));
  EXPECT_TRUE(near(d.frame->at(30, 14), kBlue));
  EXPECT_TRUE(near(d.frame->at(50, 14), (swf::RGBA{0, 160, 0, 255})));  // the field's colour
  EXPECT_TRUE(near(d.frame->at(20, 14), kWhite));
  EXPECT_TRUE(near(d.frame->at(10, 25), kWhite));  // nothing underlined
}

TEST(TextHtmlDraw, ColourTransformsApplyToEveryRun) {
  EditTextDef def = textField("<font color='#FF0000'>A</font>", true);
  swf::ColorTransform toBlue;
  toBlue.rm = 0;
  toBlue.ba = 255;
  EXPECT_TRUE(near(draw(def, toBlue).frame->at(10, 14), kBlue));
}

TEST(TextHtmlDraw, UnderlinesRunBelowTheBaselineInTheRunsColour) {
  auto d = draw(textField("<u><font color='#0000FF'>A A</font></u>A", true));
  // Baseline at 22 px; the line 0.1 em below it, 1.5 px thick, under "A A" only.
  EXPECT_TRUE(near(d.frame->at(10, 25), kBlue));
  EXPECT_TRUE(near(d.frame->at(22, 25), kBlue));  // under the space between the A's
  EXPECT_TRUE(near(d.frame->at(10, 29), kWhite));
  EXPECT_TRUE(near(d.frame->at(60, 25), kWhite));
}

TEST(TextHtmlDraw, KerningMovesTheDrawnGlyph) {
  // "AB" kerns by 10 px when asked to: B covers 12..28 rather than 22..38.
  auto kerned = draw(textField("<font color='#FF0000' kerning='1'>AB</font>", true));
  auto plain = draw(textField("<font color='#FF0000'>AB</font>", true));
  EXPECT_TRUE(near(kerned.frame->at(20, 14), kRed));
  EXPECT_TRUE(near(kerned.frame->at(32, 14), kWhite));
  EXPECT_TRUE(near(plain.frame->at(20, 14), kWhite));
  EXPECT_TRUE(near(plain.frame->at(32, 14), kRed));
  // A field's own format does not kern, as TextFormat's kerning is false unless set.
  EditTextDef field = textField("AB");
  field.color = kRed;
  EXPECT_TRUE(near(draw(field).frame->at(20, 14), kWhite));
}

bool anyOf(const Frame& f, swf::RGBA c) {
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (near(f.at(x, y), c, 40)) return true;
  return false;
}

TEST(TextHtmlDraw, DesktopFontsDrawEachRunInItsColour) {
  EditTextDef def =
      textField("<font color='#FF0000'>Hello</font> <font color='#0000FF'>World</font>", true);
  def.useOutlines = false;
  auto d = draw(def);
  EXPECT_EQ(d.frame->status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(anyOf(*d.frame, kRed));
  EXPECT_TRUE(anyOf(*d.frame, kBlue));
  // A size of nothing draws nothing, and leaves the drawing usable.
  def.text = "<font size='0' color='#FF0000'>Hello</font>";
  auto empty = draw(def);
  EXPECT_EQ(empty.frame->status(), CAIRO_STATUS_SUCCESS);
  EXPECT_FALSE(anyOf(*empty.frame, kRed));
}

TEST(TextHtmlDraw, CodesNoFontHasAndExtremeFormatsDrawTheRest) {
  // A UTF-16 surrogate written as UTF-8, control characters and a code beyond Unicode.
  EditTextDef def =
      textField("<font color='#FF0000'>\xED\xA0\x80\x01\t\xF7\xBF\xBF\xBFHello</font>", true);
  def.useOutlines = false;
  auto d = draw(def);
  EXPECT_EQ(d.frame->status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(anyOf(*d.frame, kRed));

  EditTextDef far = textField(
      "<textformat indent='-99999' leading='99999999'><font letterSpacing='-1e9' size='+99999' "
      "color='#FF0000'>AB A</font></textformat><br>A",
      true);
  auto e = draw(far);
  EXPECT_EQ(e.frame->status(), CAIRO_STATUS_SUCCESS);
}

TEST(TextHtmlDraw, KerningTablesAreReadWithNarrowAndWideCodes) {
  auto movie = fieldMovie(textField("AB"));
  const auto& wide = static_cast<const swf::FontCharacter&>(*movie->character(1));
  EXPECT_EQ(wide.kerning('A', 'B'), -400);
  EXPECT_EQ(wide.kerning('B', 'A'), 0);
  EXPECT_EQ(wide.glyphFor('B'), 1);

  swf::author::BitWriter
      font;  // DefineFont2 with 8-bit codes: one empty glyph, two pairs for the same codes
  font.u16(7);
  font.u8(0x80);  // layout
  font.u8(0);
  font.u8(1);
  font.u8('K');
  font.u16(1);
  font.u16(4);  // offset of the glyph
  font.u16(6);  // offset of the code table
  font.u8(0x10);
  font.u8(0);
  font.u8('V');
  font.u16(900);
  font.u16(100);
  font.s16(0);
  font.s16(500);
  swf::author::writeRect(font, swf::Rect{});
  font.u16(2);
  font.u8('V');
  font.u8('V');
  font.s16(-30);
  font.u8('V');
  font.u8('V');
  font.s16(99);
  auto parsed = drawtest::parse(swf::parseFontTag, 48, font.data());
  const auto& narrow = static_cast<const swf::FontCharacter&>(*parsed);
  EXPECT_EQ(narrow.kerning('V', 'V'), -30);  // the first of a repeated pair counts
  EXPECT_EQ(narrow.glyphFor('V'), 0);
}

TEST(TextHtmlDraw, ABorderIsOneCrispLineOnThePixelsOfTheFieldsEdges) {
  EditTextDef def = textField("");
  def.border = true;
  def.bounds = swf::Rect{200, 1200, 200, 600};  // x 10..60, y 10..30 in pixels
  auto d = draw(def);
  using drawtest::kBlack;
  for (auto [x, y] : {std::pair{10, 20}, {60, 20}, {30, 10}, {30, 30}})
    EXPECT_TRUE(near(d.frame->at(x, y), kBlack)) << x << "," << y;
  for (auto [x, y] : {std::pair{9, 20}, {11, 20}, {59, 20}, {61, 20}, {30, 11}, {30, 31}})
    EXPECT_TRUE(near(d.frame->at(x, y), kWhite)) << x << "," << y;
}

}  // namespace
}  // namespace texttest
