// Text: glyph outlines of static text, text fields with embedded and desktop fonts, and the
// text handling under them.
#include "draw_support.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"
#include "swf/text/font.h"
#include "swf/text/text.h"
#include "swf/text/text_content.h"

namespace drawtest {
namespace {

using namespace swf::author;

// A font whose only glyph, 'A', is a square of half an em standing on the baseline.
void defineSquareFont(SwfWriter& w) {
  GlyphDef a;
  a.code = 'A';
  a.outline.setFill1(1);
  a.outline.rectangle(0, -512, 512, 512);
  a.advance = 600;
  w.defineFont2(1, "Squares", {a}, 800, 200);
}

std::shared_ptr<const swf::Movie> movieWith(void (*define)(SwfWriter&)) {
  SwfWriter w(8, 100, 40, 12);
  defineSquareFont(w);
  define(w);
  return swf::loadMovieFromMemory(w.finish());
}

TEST(DrawText, StaticTextDrawsEachGlyphAtItsAdvanceInTheRunColour) {
  auto movie = movieWith([](SwfWriter& w) {
    TextLine run;
    run.font = 1;
    run.height = 400;  // the square is 200 twips = 10 px
    run.color = kBlue;
    run.x = 100;
    run.y = 400;
    run.glyphs = {{0, 400}, {0, 400}};
    w.defineText(2, swf::Rect{0, 2000, 0, 800}, {run});
  });
  Stage st;
  st.place(1, movie->character(2));
  Frame f(st.root, 100, 40);
  EXPECT_TRUE(near(f.at(10, 15), kBlue));   // first glyph: 5..15 × 10..20 px
  EXPECT_TRUE(near(f.at(20, 15), kWhite));  // between the glyphs
  EXPECT_TRUE(near(f.at(30, 15), kBlue));   // second glyph: 25..35 px
  EXPECT_TRUE(near(f.at(10, 5), kWhite));   // above the baseline's glyph
}

std::shared_ptr<const swf::Character> field(int align, bool outlines, const char* text) {
  SwfWriter w(8, 100, 40, 12);
  defineSquareFont(w);
  EditTextDef s;
  s.bounds = swf::Rect{0, 2000, 0, 600};
  s.font = 1;
  s.height = 400;
  s.color = kRed;
  s.text = text;
  s.align = align;
  s.useOutlines = outlines;
  w.defineEditText(2, s);
  return swf::loadMovieFromMemory(w.finish())->character(2);
}

bool anyRed(const Frame& f, int x0, int x1, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (f.at(x, y).r > 200 && f.at(x, y).g < 100) return true;
  return false;
}

TEST(DrawText, TextFieldsAlignTheirEmbeddedGlyphs) {
  Stage left, right;
  left.place(1, field(0, true, "AA"));
  right.place(1, field(1, true, "AA"));
  Frame l(left.root, 100, 40), r(right.root, 100, 40);
  EXPECT_TRUE(anyRed(l, 0, 25, 0, 30));
  EXPECT_FALSE(anyRed(l, 50, 100, 0, 30));
  EXPECT_TRUE(anyRed(r, 75, 100, 0, 30));
  EXPECT_FALSE(anyRed(r, 0, 50, 0, 30));
}

TEST(DrawText, TextFieldsWithoutOutlinesUseADesktopFont) {
  Stage st;
  st.place(1, field(0, false, "Hello"));
  Frame f(st.root, 100, 40);
  EXPECT_TRUE(anyRed(f, 0, 100, 0, 30));
}

TEST(DrawText, CharactersMissingFromTheFontAreSkipped) {
  Stage st;
  st.place(1, field(0, true, "xyz"));
  Frame f(st.root, 100, 40);
  EXPECT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
  EXPECT_FALSE(anyRed(f, 0, 100, 0, 40));
}

TEST(DrawText, FontInfoGivesTheCodesOfAnEarlierFont) {
  BitWriter font;
  font.u16(3);
  font.u16(2);    // DefineFont: one glyph, its offset right after the table
  font.u8(0x10);  // SHAPE: 1 fill bit, 0 line bits
  font.u8(0);     // end record
  auto base = parse(swf::parseFontTag, 10, font.data());
  BitWriter info;
  info.u16(3);
  info.u8(4);
  info.bytes(std::vector<uint8_t>{'S', 'a', 'n', 's'});
  info.u8(0x01);  // wide codes
  info.u16(0x263a);
  swf::ParseContext ctx;
  ctx.owner = &base;
  ctx.lookup = [](const void* owner, uint16_t id) -> std::shared_ptr<const swf::Character> {
    auto& f = *static_cast<const std::shared_ptr<swf::Character>*>(owner);
    return f->id == id ? f : nullptr;
  };
  auto completed = parse(swf::parseFontInfoTag, 13, info.data(), ctx);
  ASSERT_NE(completed, nullptr);
  auto& f = static_cast<const swf::FontCharacter&>(*completed);
  EXPECT_EQ(f.name, "Sans");
  EXPECT_EQ(f.glyphFor(0x263a), 0);
  // The font it completes is left as it was: the dictionary is shared.
  EXPECT_EQ(static_cast<const swf::FontCharacter&>(*base).glyphFor(0x263a), -1);
}

TEST(DrawText, DamagedFontsAndTextsKeepWhatWasReadInFull) {
  BitWriter font;  // DefineFont2 naming a desktop font, without glyphs or layout
  font.u16(4);
  font.u8(0x80);  // claims a layout it does not have
  font.u8(0);
  font.u8(5);
  font.bytes(std::vector<uint8_t>{'_', 's', 'a', 'n', 's'});
  font.u16(0);
  auto f = parse(swf::parseFontTag, 48, font.data());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(static_cast<const swf::FontCharacter&>(*f).name, "_sans");

  BitWriter text;  // DefineText whose second record is cut off
  text.u16(2);
  swf::author::writeRect(text, swf::Rect{0, 2000, 0, 800});
  swf::author::writeMatrix(text, {});
  text.u8(4);     // glyph bits
  text.u8(8);     // advance bits
  text.u8(0x81);  // style record with an x offset
  text.s16(100);
  text.u8(1);
  text.ub(4, 0);
  text.sb(8, 100);
  text.align();
  text.u8(0x81);
  text.s16(300);
  auto t = parse(swf::parseTextTag, 11, text.data());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(static_cast<const swf::TextCharacter&>(*t).runs.size(), 1u);
}

TEST(DrawText, StaticTextInAFontWithoutOutlinesUsesADesktopFont) {
  BitWriter font;  // DefineFont with one empty glyph
  font.u16(3);
  font.u16(2);
  font.u8(0x10);
  font.u8(0);
  auto outline = parse(swf::parseFontTag, 10, font.data());
  BitWriter info;  // ... naming "_sans" and giving the glyph the code 'H'
  info.u16(3);
  info.u8(5);
  info.bytes(std::vector<uint8_t>{'_', 's', 'a', 'n', 's'});
  info.u8(0);
  info.u8('H');
  swf::ParseContext ctx;
  std::shared_ptr<swf::Character> current = outline;
  ctx.owner = &current;
  ctx.lookup = [](const void* owner, uint16_t) -> std::shared_ptr<const swf::Character> {
    return *static_cast<const std::shared_ptr<swf::Character>*>(owner);
  };
  current = parse(swf::parseFontInfoTag, 13, info.data(), ctx);
  ASSERT_NE(current, nullptr);

  BitWriter text;
  text.u16(2);
  swf::author::writeRect(text, swf::Rect{0, 2000, 0, 800});
  swf::author::writeMatrix(text, {});
  text.u8(1);     // glyph bits
  text.u8(12);    // advance bits
  text.u8(0x8f);  // font, colour, x and y
  text.u16(3);
  swf::author::writeRGB(text, kRed);
  text.s16(100);
  text.s16(500);
  text.u16(400);
  text.u8(2);
  text.ub(1, 0);
  text.sb(12, 400);
  text.ub(1, 0);
  text.sb(12, 400);
  text.align();
  text.u8(0);
  Stage st;
  st.place(1, parse(swf::parseTextTag, 11, text.data(), ctx));
  Frame f(st.root, 100, 40);
  EXPECT_TRUE(anyRed(f, 4, 16, 5, 26));   // the first H
  EXPECT_TRUE(anyRed(f, 24, 36, 5, 26));  // the second, one advance on
  EXPECT_FALSE(anyRed(f, 40, 100, 0, 40));
}

TEST(TextContent, VersionDecidesBetweenUtf8AndLatin1) {
  std::string bytes = "\xc3\xa9";
  EXPECT_EQ(swf::decodeText(bytes, 6), U"\u00e9");
  EXPECT_EQ(swf::decodeText(bytes, 5), U"\u00c3\u00a9");
  EXPECT_EQ(swf::decodeText("\xff"
                            "a",
                            6),
            U"\u00ff"
            U"a");  // malformed: taken byte by byte
}

}  // namespace
}  // namespace drawtest
