// Masks: clip depths, masks under masks, and what of a mask counts.
#include "draw_support.h"

namespace drawtest {
namespace {

TEST(DrawMasks, AMaskShowsTheDepthsUpToItsClipDepthOnlyWhereItCovers) {
  Stage st;
  st.place(1, shape(rect(0, 0, 200, 400, kBlack))).clipDepth = 2;  // left half
  st.place(2, shape(rect(0, 0, 400, 400, kRed)));                  // masked
  st.place(3, shape(rect(300, 0, 100, 100, kBlue)));               // above the clip depth
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(5, 10), kRed));
  EXPECT_TRUE(near(f.at(12, 10), kWhite));  // masked away, and the mask itself is not drawn
  EXPECT_TRUE(near(f.at(17, 2), kBlue));
}

TEST(DrawMasks, AMaskUnderAnotherMaskIsNarrowedByIt) {
  Stage st;
  st.place(1, shape(rect(0, 0, 200, 400, kBlack))).clipDepth = 2;  // left half
  st.place(2, shape(rect(0, 0, 400, 200, kBlack))).clipDepth = 4;  // top half, masked by 1
  st.place(4, shape(rect(0, 0, 400, 400, kRed)));                  // masked by 2 only
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(5, 5), kRed));
  EXPECT_TRUE(near(f.at(15, 5), kWhite));
  EXPECT_TRUE(near(f.at(5, 15), kWhite));
}

TEST(DrawMasks, OnlyTheCoverageOfAMaskCounts) {
  Stage st;
  auto& mask = st.place(1, shape(rect(0, 0, 200, 400, {0, 0, 0, 0})));  // fully transparent fill
  mask.clipDepth = 2;
  mask.cxform.am = 0;
  mask.visible = false;
  st.place(2, shape(rect(0, 0, 400, 400, kRed)));
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(5, 10), kRed));
  EXPECT_TRUE(near(f.at(15, 10), kWhite));
}

TEST(DrawMasks, MasksInsideASpriteStayInsideIt) {
  Stage st;
  auto& sprite = st.place(1, nullptr);
  st.place(1, shape(rect(0, 0, 200, 400, kBlack)), {}, &sprite).clipDepth = 5;
  st.place(2, shape(rect(0, 0, 400, 400, kRed)), {}, &sprite);
  st.place(2, shape(rect(200, 0, 200, 200, kBlue)));  // root depth 2: not under the mask
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(5, 10), kRed));
  EXPECT_TRUE(near(f.at(15, 5), kBlue));
  EXPECT_TRUE(near(f.at(15, 15), kWhite));
}

// Sprites inside sprites, each masking the next with a mask covering the whole frame.
void nestMasks(Stage& st, int levels) {
  swf::DisplayObject* parent = &st.root;
  for (int i = 0; i < levels; ++i) {
    st.place(1, shape(rect(0, 0, 400, 400, kBlack)), {}, parent).clipDepth = 2;
    parent = &st.place(2, nullptr, {}, parent);
  }
  st.place(1, shape(rect(0, 0, 400, 400, kRed)), {}, parent);
}

TEST(DrawMasks, NestedMasksDrawAndDeepNestingStaysBounded) {
  Stage shallow;
  nestMasks(shallow, 3);
  Frame f(shallow.root, 20, 20);
  EXPECT_TRUE(near(f.at(10, 10), kRed));
  // Hundreds of full-frame groups inside one another would each hold a copy of the frame.
  Stage deep;
  nestMasks(deep, 100);
  Frame g(deep.root, 20, 20);
  EXPECT_EQ(g.status(), CAIRO_STATUS_SUCCESS);
}

}  // namespace
}  // namespace drawtest
