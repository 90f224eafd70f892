// Gradients, colour transforms and anti-aliasing.
#include "draw_support.h"
#include "swf/render/fill_source.h"

namespace drawtest {
namespace {

using swf::author::GradientStop;

// A 200 × 20 px rectangle whose linear gradient runs from x = 20 px to x = 180 px.
std::shared_ptr<swf::Character> gradientBar(std::vector<GradientStop> stops, bool radial = false) {
  ShapeBuilder s;
  swf::Matrix g{3200.0 / 32768, 0, 0, 3200.0 / 32768, 2000, 200};
  s.setFill1(radial ? s.radialGradient(g, std::move(stops))
                    : s.linearGradient(g, std::move(stops)));
  s.rectangle(0, 0, 4000, 400);
  return shape(s);
}

TEST(DrawGradients, LinearGradientHitsItsEndColoursAndPadsBeyond) {
  Stage st;
  st.place(1, gradientBar({{0, kRed}, {255, kBlue}}));
  Frame f(st.root, 200, 20);
  EXPECT_TRUE(near(f.at(5, 10), kRed));  // before the start: first colour
  EXPECT_TRUE(near(f.at(20, 10), kRed, 3));
  EXPECT_TRUE(near(f.at(100, 10), {128, 0, 127, 255}, 3));
  EXPECT_TRUE(near(f.at(179, 10), kBlue, 3));
  EXPECT_TRUE(near(f.at(195, 10), kBlue));  // after the end: last colour
}

TEST(DrawGradients, RatiosGoingBackwardsMakeAStep) {
  Stage st;
  st.place(1, gradientBar({{127, kRed}, {0, kGreen}}));
  Frame f(st.root, 200, 20);
  EXPECT_TRUE(near(f.at(60, 10), kRed));
  EXPECT_TRUE(near(f.at(140, 10), kGreen));
}

TEST(DrawGradients, OfStopsSharingARatioTheSecondColourFollowsTheStep) {
  Stage st;
  st.place(1, gradientBar({{254, kRed}, {0, kBlue}, {0, kGreen}}));
  Frame f(st.root, 200, 20);
  EXPECT_TRUE(near(f.at(100, 10), kRed));
  EXPECT_TRUE(near(f.at(195, 10), kBlue));
}

TEST(DrawGradients, AGradientWithoutColoursIsBlack) {
  Stage st;
  st.place(1, gradientBar({}));
  Frame f(st.root, 200, 20);
  EXPECT_TRUE(near(f.at(100, 10), kBlack));
}

TEST(DrawGradients, RadialGradientRunsFromItsCentreOutwards) {
  Stage st;
  st.place(1, gradientBar({{0, kRed}, {255, kBlue}}, true));
  Frame f(st.root, 200, 20);
  EXPECT_TRUE(near(f.at(100, 10), kRed, 6));
  EXPECT_TRUE(near(f.at(2, 2), kBlue));
}

TEST(DrawGradients, LinearLightInterpolationIsLighterInTheMiddle) {
  swf::Gradient g;
  g.stops = {{0, kBlack}, {255, kWhite}};
  g.linearRGB = true;
  auto stops = swf::gradientStops(g, {});
  ASSERT_GT(stops.size(), 2u);
  double mid = 0;
  for (const auto& s : stops)
    if (s.offset <= 0.5) mid = s.r;
  EXPECT_GT(mid, 0.6);  // sRGB 0.5 would be the plain interpolation
}

swf::DisplayObject& placeRed(Stage& st, const swf::ColorTransform& cx) {
  auto& obj = st.place(1, shape(rect(0, 0, 400, 400, kRed)));
  obj.cxform = cx;
  return obj;
}

TEST(DrawColorTransforms, AddsAndMultipliesAreClampedPerChannel) {
  Stage st;
  swf::ColorTransform cx;
  cx.rm = -1;   // 255 × -1 → 0
  cx.ga = 300;  // 0 + 300 → 255
  cx.ba = 100;
  placeRed(st, cx);
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(10, 10), {0, 255, 100, 255}));
}

TEST(DrawColorTransforms, AlphaMultiplyBlendsWithWhatIsBelow) {
  Stage st;
  swf::ColorTransform cx;
  cx.am = 0.5;
  placeRed(st, cx);
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(10, 10), {255, 127, 127, 255}, 3));
}

TEST(DrawColorTransforms, TransformsOfParentsApplyToTheirChildren) {
  Stage st;
  auto& parent = st.place(1, nullptr);
  parent.cxform.rm = 0.5;
  auto& child = st.place(1, shape(rect(0, 0, 400, 400, kRed)), {}, &parent);
  child.cxform.ga = 64;
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(10, 10), {128, 64, 0, 255}, 2));
}

TEST(DrawQuality, HighQualityBlendsEdgesLowQualityDoesNot) {
  Stage st;
  st.place(1, shape(rect(0, 0, 210, 400, kBlack)));  // right edge in the middle of column 10
  Frame smooth(st.root, 20, 20, true);
  Frame sharp(st.root, 20, 20, false);
  EXPECT_NEAR(smooth.at(10, 5).r, 128, 10);
  swf::RGBA s = sharp.at(10, 5);
  EXPECT_TRUE(s.r == 0 || s.r == 255) << int(s.r);
  EXPECT_TRUE(near(sharp.at(9, 5), kBlack));
  EXPECT_TRUE(near(sharp.at(11, 5), kWhite));
}

}  // namespace
}  // namespace drawtest
