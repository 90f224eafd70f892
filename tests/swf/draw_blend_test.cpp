// Blend modes of placed objects.
#include "draw_support.h"

namespace drawtest {
namespace {

// A red square below an object drawn over it with `mode`.
swf::RGBA blendOverRed(int mode, swf::RGBA top) {
  Stage st;
  st.place(1, shape(rect(0, 0, 400, 400, kRed)));
  st.place(2, shape(rect(0, 0, 200, 400, top))).blendMode = mode;  // left half
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(15, 10), kRed)) << "outside the object, mode " << mode;
  return f.at(5, 10);
}

TEST(DrawBlendModes, SeparableModesCombineChannelByChannel) {
  swf::RGBA gray{128, 128, 128, 255};
  EXPECT_TRUE(near(blendOverRed(1, gray), gray));                  // normal
  EXPECT_TRUE(near(blendOverRed(3, gray), {128, 0, 0, 255}));      // multiply
  EXPECT_TRUE(near(blendOverRed(4, gray), {255, 128, 128, 255}));  // screen
  EXPECT_TRUE(near(blendOverRed(5, gray), {255, 128, 128, 255}));  // lighten
  EXPECT_TRUE(near(blendOverRed(6, gray), {128, 0, 0, 255}));      // darken
  EXPECT_TRUE(near(blendOverRed(7, gray), {127, 128, 128, 255}));  // difference
  EXPECT_TRUE(near(blendOverRed(8, gray), {255, 128, 128, 255}));  // add
  EXPECT_TRUE(near(blendOverRed(9, gray), {127, 0, 0, 255}));      // subtract
}

TEST(DrawBlendModes, AnObjectOfSeveralPartsBlendsAsOneLayer) {
  Stage st;
  st.place(1, shape(rect(0, 0, 400, 400, kRed)));
  auto& sprite = st.place(2, nullptr);
  sprite.blendMode = 3;  // multiply
  swf::RGBA gray{128, 128, 128, 255};
  st.place(1, shape(rect(0, 0, 300, 400, gray)), {}, &sprite);
  st.place(2, shape(rect(100, 0, 300, 400, gray)), {}, &sprite);
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(10, 10), {128, 0, 0, 255}));  // the overlap is multiplied once
  EXPECT_TRUE(near(f.at(2, 10), {128, 0, 0, 255}));
}

TEST(DrawBlendModes, InvertTurnsWhatIsBelowAroundWhereTheObjectIs) {
  EXPECT_TRUE(near(blendOverRed(10, kBlue), {0, 255, 255, 255}));
}

TEST(DrawBlendModes, AlphaAndEraseCutIntoTheLayerBelowThem) {
  for (int mode : {11, 12}) {
    Stage st;
    auto& layer = st.place(1, nullptr);
    layer.blendMode = 2;
    st.place(1, shape(rect(0, 0, 400, 400, kRed)), {}, &layer);
    st.place(2, shape(rect(0, 0, 200, 400, kBlue)), {}, &layer).blendMode = mode;
    Frame f(st.root, 20, 20);
    // Alpha keeps the layer where the object is; erase removes it there.
    EXPECT_TRUE(near(f.at(5, 10), mode == 11 ? kRed : kWhite)) << mode;
    EXPECT_TRUE(near(f.at(15, 10), mode == 11 ? kWhite : kRed)) << mode;
  }
}

}  // namespace
}  // namespace drawtest
