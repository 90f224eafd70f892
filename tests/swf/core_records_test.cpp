// Bit-exact records: what the writer produces is what the format says, and reads back equal.
#include <gtest/gtest.h>

#include "core_test_movies.h"
#include "swf/author/records.h"
#include "swf/io/bit_reader.h"
#include "swf/movie/button.h"
#include "swf/movie/character.h"

namespace {

using namespace swf::author;
using swf::BitReader;

TEST(CoreRecords, RectOfA550By400StageHasItsKnownBytes) {
  BitWriter w;
  writeRect(w, {0, 11000, 0, 8000});
  // Fifteen bits per field: the classic stage header.
  std::vector<uint8_t> expected = {0x78, 0x00, 0x05, 0x5f, 0x00, 0x00, 0x0f, 0xa0, 0x00};
  EXPECT_EQ(w.data(), expected);
  BitReader r(w.data());
  swf::Rect rc = swf::readRect(r);
  EXPECT_EQ(rc.xMax, 11000);
  EXPECT_EQ(rc.yMax, 8000);
  EXPECT_EQ(r.pos(), expected.size());
}

TEST(CoreRecords, SignedBitFieldsRoundTripAtTheirLimits) {
  BitWriter w;
  std::vector<std::pair<unsigned, int32_t>> fields = {
      {1, -1}, {2, 1}, {2, -2}, {5, 15}, {5, -16}, {17, 65535}, {17, -65536}, {31, -(1 << 30)}};
  for (auto [n, v] : fields) {
    EXPECT_LE(BitWriter::signedBits(v), n) << v;
    w.sb(n, v);
  }
  w.ub(3, 5);
  BitReader r(w.data());
  for (auto [n, v] : fields) EXPECT_EQ(r.sb(n), v) << n;
  EXPECT_EQ(r.ub(3), 5u);
  EXPECT_EQ(BitWriter::signedBits(0), 1u);
  EXPECT_EQ(BitWriter::signedBits(-1), 1u);
  EXPECT_EQ(BitWriter::signedBits(1), 2u);
  EXPECT_EQ(BitWriter::unsignedBits(0), 0u);
  EXPECT_EQ(BitWriter::unsignedBits(255), 8u);
}

TEST(CoreRecords, MatricesRoundTrip) {
  std::vector<swf::Matrix> cases = {
      {},                         // identity: translate only, zero bits
      {1, 0, 0, 1, -20, 400000},  // large translation
      {2.5, 0, 0, -0.75, 0, 0},   // scale only, negative
      {0, 1, -1, 0, 10, 10},      // 90° rotation
      {0.7071, 0.7071, -0.7071, 0.7071, 5, -5},
  };
  for (const auto& m : cases) {
    BitWriter w;
    writeMatrix(w, m);
    w.u8(0xab);  // what follows must start on the next byte
    BitReader r(w.data());
    swf::Matrix back = swf::readMatrix(r);
    EXPECT_NEAR(back.a, m.a, 1 / 65536.0);
    EXPECT_NEAR(back.b, m.b, 1 / 65536.0);
    EXPECT_NEAR(back.c, m.c, 1 / 65536.0);
    EXPECT_NEAR(back.d, m.d, 1 / 65536.0);
    EXPECT_EQ(back.tx, m.tx);
    EXPECT_EQ(back.ty, m.ty);
    EXPECT_EQ(r.u8(), 0xab);
  }
  BitWriter identity;
  writeMatrix(identity, {});
  EXPECT_EQ(identity.data(), std::vector<uint8_t>{0x00});  // no scale, no rotate, 0-bit translate
}

TEST(CoreRecords, ColorTransformsRoundTripWithAndWithoutAlpha) {
  swf::ColorTransform cx;
  cx.rm = 0.5;
  cx.gm = 2;
  cx.bm = -1;
  cx.am = 0.25;
  cx.ra = -255;
  cx.ga = 10;
  cx.ba = 255;
  cx.aa = -128;
  for (bool alpha : {false, true}) {
    BitWriter w;
    writeColorTransform(w, cx, alpha);
    BitReader r(w.data());
    swf::ColorTransform back = swf::readColorTransform(r, alpha);
    EXPECT_EQ(back.rm, cx.rm);
    EXPECT_EQ(back.gm, cx.gm);
    EXPECT_EQ(back.bm, cx.bm);
    EXPECT_EQ(back.ra, cx.ra);
    EXPECT_EQ(back.ba, cx.ba);
    EXPECT_EQ(back.am, alpha ? cx.am : 1);
    EXPECT_EQ(back.aa, alpha ? cx.aa : 0);
    EXPECT_EQ(r.pos(), w.size());
  }
  BitWriter none;
  writeColorTransform(none, {}, true);
  EXPECT_EQ(none.data(), std::vector<uint8_t>{0x00});
}

TEST(CoreRecords, PlaceObject2FieldsSurviveTheRoundTrip) {
  SwfWriter w(6, 100, 100, 12);
  w.defineShape(1, rvtest::square(100));
  PlaceParams p = placeNew(7, 1, rvtest::at(-33, 44));
  swf::ColorTransform cx;
  cx.rm = 0.5;
  cx.aa = -20;
  p.cxform = cx;
  p.ratio = 30000;
  p.name = "clip_a";
  p.clipDepth = 9;
  w.placeObject2(p);
  w.placeObject(1, 3, rvtest::at(1, 2));  // PlaceObject 1
  w.showFrame();
  w.removeObject(1, 3);
  w.removeObject2(7);
  w.showFrame();
  auto m = rvtest::parse(w.finish());
  ASSERT_EQ(m->root.frameCount(), 2);
  const auto& f0 = m->root.frames[0].display;
  ASSERT_EQ(f0.size(), 2u);
  const auto& place = std::get<swf::PlaceCommand>(f0[0]);
  EXPECT_EQ(place.version, 2);
  EXPECT_EQ(place.depth, 7);
  EXPECT_FALSE(place.move);
  EXPECT_EQ(place.characterId, 1);
  EXPECT_TRUE(place.character);
  EXPECT_EQ(place.matrix->tx, -33);
  EXPECT_EQ(place.matrix->ty, 44);
  EXPECT_EQ(place.cxform->rm, 0.5);
  EXPECT_EQ(place.cxform->aa, -20);
  EXPECT_EQ(*place.ratio, 30000);
  EXPECT_EQ(*place.name, "clip_a");
  EXPECT_EQ(*place.clipDepth, 9);
  const auto& place1 = std::get<swf::PlaceCommand>(f0[1]);
  EXPECT_EQ(place1.version, 1);
  EXPECT_EQ(place1.depth, 3);
  const auto& f1 = m->root.frames[1].display;
  ASSERT_EQ(f1.size(), 2u);
  EXPECT_EQ(std::get<swf::RemoveCommand>(f1[0]).depth, 3);
  EXPECT_EQ(std::get<swf::RemoveCommand>(f1[1]).depth, 7);
}

TEST(CoreRecords, ButtonRecordsActionsAndCxform) {
  SwfWriter w(6, 100, 100, 12);
  w.defineShape(1, rvtest::square(100));
  w.defineShape(2, rvtest::square(200));
  auto press = ActionBuilder().play().build();
  auto release = ActionBuilder().getURL("FSCommand:x", "y").build();
  w.defineButton2(3,
                  {{swf::kButtonUp | swf::kButtonOver, 1, 1, rvtest::at(5, 6), {}},
                   {swf::kButtonDown | swf::kButtonHit, 2, 2, {}, {}}},
                  {{swf::kCondOverUpToOverDown, press}, {swf::kCondOverDownToOverUp, release}});
  // DefineButtonCxform recolours every record.
  BitWriter cx;
  cx.u16(3);
  swf::ColorTransform tint;
  tint.ra = 100;
  writeColorTransform(cx, tint, false);
  w.tag(23, cx);
  w.showFrame();
  auto m = rvtest::parse(w.finish());
  auto b = std::dynamic_pointer_cast<const swf::ButtonCharacter>(m->character(3));
  ASSERT_TRUE(b);
  ASSERT_EQ(b->records.size(), 2u);
  EXPECT_EQ(b->records[0].states, swf::kButtonUp | swf::kButtonOver);
  EXPECT_EQ(b->records[0].matrix.tx, 5);
  EXPECT_EQ(b->records[1].depth, 2);
  EXPECT_EQ(b->records[1].character, m->character(2));
  EXPECT_EQ(b->records[0].cxform.ra, 100);
  ASSERT_EQ(b->actions.size(), 2u);
  EXPECT_EQ(b->actions[0].conditions, swf::kCondOverUpToOverDown);
  EXPECT_EQ(std::vector<uint8_t>(b->actions[0].actions.begin(), b->actions[0].actions.end()),
            press);
  EXPECT_EQ(std::vector<uint8_t>(b->actions[1].actions.begin(), b->actions[1].actions.end()),
            release);
}

}  // namespace

namespace {

TEST(CoreRecords, AuthoredDefinitionsParseAsTheirKinds) {
  using swf::CharacterKind;
  SwfWriter w(6, 100, 100, 12);
  GlyphDef a;
  a.code = 'A';
  a.outline.setFill1(1);
  a.outline.rectangle(0, -700, 500, 700);
  a.advance = 600;
  w.defineFont2(1, "Test", {a}, 900, 200);
  w.defineText(2, {0, 600, -700, 0}, {{1, 240, {0, 0, 0, 255}, 0, 0, {{0, 120}, {0, 120}}}});
  EditTextDef e;
  e.bounds = {0, 2000, 0, 400};
  e.font = 1;
  e.text = "AA";
  e.variable = "field";
  w.defineEditText(3, e);
  std::vector<uint32_t> px(4 * 3, 0x80ff0000u);
  w.defineBitsLossless2(4, 4, 3, px);
  ShapeBuilder s;
  swf::Matrix g;
  s.setFill1(s.linearGradient(g, {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}}));
  s.setFill0(s.radialGradient(g, {{0, {255, 255, 255, 255}}, {255, {0, 0, 0, 0}}}));
  s.setLine(s.lineStyle(20, {0, 0, 0, 255}));
  s.moveTo(0, 0);
  s.curveTo(100, -100, 200, 0);
  s.lineTo(0, 0);
  w.defineShape(5, s);
  w.showFrame();
  auto m = rvtest::parse(w.finish());
  auto kindOf = [&](uint16_t id) {
    return m->character(id) ? m->character(id)->kind() : CharacterKind::Other;
  };
  // Each parser belongs to the drawing side; a kind of Other means it is not there yet.
  for (auto [id, kind] :
       std::vector<std::pair<uint16_t, CharacterKind>>{{1, CharacterKind::Font},
                                                       {2, CharacterKind::Text},
                                                       {3, CharacterKind::EditText},
                                                       {4, CharacterKind::Bitmap},
                                                       {5, CharacterKind::Shape}}) {
    ASSERT_TRUE(m->character(id)) << id;
    if (kindOf(id) != CharacterKind::Other) {
      EXPECT_EQ(kindOf(id), kind) << id;
    }
  }
}

}  // namespace
