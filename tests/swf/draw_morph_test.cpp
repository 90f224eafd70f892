// Morph shapes: edges and colours at the start, the end and in between.
#include "draw_support.h"
#include "swf/shapes/morph_shape.h"

namespace drawtest {
namespace {

// A square's outline from (x, y): a move, four straight edges, the end of the shape.
void square(BitWriter& w, int x, int y, int size, bool withFill) {
  w.ub(4, withFill ? 1 : 0);  // fill bits
  w.ub(4, 0);                 // line bits
  w.ub(1, 0);                 // style change: fill 1 (when given) and a move
  w.ub(5, withFill ? 0x05 : 0x01);
  w.ub(5, 12);
  w.sb(12, x);
  w.sb(12, y);
  if (withFill) w.ub(1, 1);
  int steps[4][2] = {{size, 0}, {0, size}, {-size, 0}, {0, -size}};
  for (auto& s : steps) {
    w.ub(1, 1);
    w.ub(1, 1);
    w.ub(4, 12 - 2);
    w.ub(1, 1);  // general line
    w.sb(12, s[0]);
    w.sb(12, s[1]);
  }
  w.ub(6, 0);
  w.align();
}

// A red 10 px square at the origin becoming a blue 20 px square 10 px to the right.
std::shared_ptr<swf::Character> growingSquare() {
  BitWriter styles;
  styles.u8(1);
  styles.u8(0x00);
  swf::author::writeRGBA(styles, kRed);
  swf::author::writeRGBA(styles, kBlue);
  styles.u8(0);  // no line styles
  square(styles, 0, 0, 200, true);
  BitWriter end;
  square(end, 200, 0, 400, false);

  BitWriter w;
  w.u16(9);
  swf::author::writeRect(w, swf::Rect{0, 200, 0, 200});
  swf::author::writeRect(w, swf::Rect{200, 600, 0, 400});
  w.u32(uint32_t(styles.size()));
  w.bytes(styles.data());
  w.bytes(end.data());
  return parse(swf::parseMorphShapeTag, 46, w.data());
}

TEST(DrawMorph, RatioMovesEdgesAndColoursFromStartToEnd) {
  auto morph = growingSquare();
  ASSERT_NE(morph, nullptr);
  for (int ratio : {0, 32768, 65535}) {
    Stage st;
    st.place(1, morph).ratio = ratio;
    Frame f(st.root, 40, 40);
    if (ratio == 0) {
      EXPECT_TRUE(near(f.at(5, 5), kRed));
      EXPECT_TRUE(near(f.at(15, 5), kWhite));
    } else if (ratio == 65535) {
      EXPECT_TRUE(near(f.at(5, 5), kWhite));
      EXPECT_TRUE(near(f.at(25, 15), kBlue));
      EXPECT_TRUE(near(f.at(35, 5), kWhite));
    } else {  // halfway: 5..20 × 0..15 px, halfway between the colours
      EXPECT_TRUE(near(f.at(12, 7), {128, 0, 127, 255}, 2));
      EXPECT_TRUE(near(f.at(22, 7), kWhite));
      EXPECT_TRUE(near(f.at(12, 17), kWhite));
    }
  }
}

TEST(DrawMorph, BoundsFollowTheRatio) {
  auto morph = growingSquare();
  auto& m = static_cast<const swf::MorphShapeCharacter&>(*morph);
  swf::Rect mid = m.boundsAt(32768);
  EXPECT_NEAR(mid.xMin, 100, 1);
  EXPECT_NEAR(mid.xMax, 400, 1);
  EXPECT_TRUE(swf::hitTestCharacter(m, 450, 100, 65535));
  EXPECT_FALSE(swf::hitTestCharacter(m, 450, 100, 0));
}

}  // namespace
}  // namespace drawtest
