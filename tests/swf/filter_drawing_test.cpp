// Objects with filters on the stage: the filtered picture is made in device space, scaled with
// the stage but not with the object, reaches past the object's own extent, and is combined with
// the object's colour transform and blend mode.
#include <cmath>
#include <memory>

#include "core_test_movies.h"
#include "draw_support.h"

namespace drawtest {
namespace {

std::shared_ptr<const swf::FilterList> filters(swf::Filter f) {
  return std::make_shared<const swf::FilterList>(swf::FilterList{std::move(f)});
}

swf::DropShadowFilter sharpShadow(double angle, double distance) {
  swf::DropShadowFilter d;
  d.blur = {0, 0, 1};
  d.angle = angle;
  d.distance = distance;
  return d;
}

// A blue 10 × 10 pixel square at (10, 10) of the stage with a shadow 5 pixels to the right.
swf::DisplayObject& shadowedSquare(Stage& st, swf::Matrix m = translate(200, 200)) {
  auto& o = st.place(1, shape(rect(0, 0, 200, 200, kBlue)), m);
  o.filters = filters(sharpShadow(0, 5));
  return o;
}

TEST(FilterDrawing, TheShadowDrawsBeyondTheObject) {
  Stage st;
  shadowedSquare(st);
  Frame f(st.root, 40, 40);
  ASSERT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(near(f.at(15, 15), kBlue));
  EXPECT_TRUE(near(f.at(22, 15), kBlack));  // past the object's right edge at 20
  EXPECT_TRUE(near(f.at(26, 15), kWhite));
  EXPECT_TRUE(near(f.at(15, 22), kWhite));
}

TEST(FilterDrawing, SizesFollowTheStageScaleNotTheObjectsTransform) {
  {
    Stage st;
    shadowedSquare(st);
    Frame f(st.root, 80, 80, true, kWhite, 0.1);  // the stage at twice its size
    EXPECT_TRUE(near(f.at(45, 30), kBlack));      // ten device pixels of shadow
    EXPECT_TRUE(near(f.at(52, 30), kWhite));
  }
  {
    Stage st;
    shadowedSquare(st, {2, 0, 0, 2, 200, 200});  // the object twice its size
    Frame f(st.root, 60, 60);
    EXPECT_TRUE(near(f.at(32, 20), kBlack));  // still five pixels of shadow
    EXPECT_TRUE(near(f.at(37, 20), kWhite));
  }
  {
    Stage st;
    double a = M_PI / 2;  // turned a quarter: the shadow still falls to the right of the stage
    shadowedSquare(st, {std::cos(a), std::sin(a), -std::sin(a), std::cos(a), 400, 200});
    Frame f(st.root, 40, 40);
    EXPECT_TRUE(near(f.at(15, 15), kBlue));
    EXPECT_TRUE(near(f.at(22, 15), kBlack));
    EXPECT_TRUE(near(f.at(15, 22), kWhite));
  }
}

TEST(FilterDrawing, TheColourTransformAppliesToTheFilteredPicture) {
  Stage st;
  auto& o = shadowedSquare(st);
  o.cxform.am = 0.5;
  Frame f(st.root, 40, 40);
  EXPECT_TRUE(near(f.at(15, 15), {127, 127, 255, 255}));
  EXPECT_TRUE(near(f.at(22, 15), {128, 128, 128, 255}));  // the shadow fades with the object
}

TEST(FilterDrawing, ABlendModeCombinesTheFilteredPicture) {
  for (int mode : {3, 9}) {  // multiply as drawn, subtract in a group
    Stage st;
    st.place(1, shape(rect(0, 0, 800, 800, kRed)));
    auto& o = st.place(2, shape(rect(200, 200, 200, 200, {128, 128, 128, 255})));
    o.filters = filters(sharpShadow(0, 5));
    o.blendMode = mode;
    Frame f(st.root, 40, 40);
    EXPECT_TRUE(
        near(f.at(15, 15), mode == 3 ? swf::RGBA{128, 0, 0, 255} : swf::RGBA{127, 0, 0, 255}))
        << mode;
    // Black multiplies red to black; subtracting black leaves it red.
    EXPECT_TRUE(near(f.at(22, 15), mode == 3 ? kBlack : kRed)) << mode;
    EXPECT_TRUE(near(f.at(30, 15), kRed)) << mode;
  }
}

TEST(FilterDrawing, AnInnerGlowCutByTheFrameEdgeShowsOnlyAtTheObjectsEdges) {
  Stage st;
  auto& o = st.place(1, shape(rect(-2000, 200, 4000, 400, kBlue)));
  swf::GlowFilter g;
  g.color = {0, 255, 0, 255};
  g.blur = {6, 6, 1};
  g.strength = 4;
  g.inner = true;
  o.filters = filters(g);
  Frame f(st.root, 40, 40);
  EXPECT_TRUE(near(f.at(0, 20), kBlue));  // the object goes on past the frame's left edge
  EXPECT_TRUE(near(f.at(39, 20), kBlue));
  EXPECT_TRUE(near(f.at(20, 10), kGreen));  // its top edge glows inside
  EXPECT_TRUE(near(f.at(20, 29), kGreen));
  EXPECT_TRUE(near(f.at(20, 9), kWhite));
}

TEST(FilterDrawing, MasksAndHiddenSizesStayBounded) {
  Stage st;
  // A mask with a filter masks by its shape alone.
  auto& mask = st.place(1, shape(rect(0, 0, 200, 800, kBlack)));
  mask.clipDepth = 3;
  mask.filters = filters(sharpShadow(0, 20));
  st.place(2, shape(rect(0, 0, 800, 800, kRed)));
  // Blurs past the format's largest, far outside the frame, and lists longer than we run.
  auto& far = st.place(4, shape(rect(0, 0, 200, 200, kBlue)), translate(100000, 100000));
  swf::BlurFilter huge;
  huge.blur = {1e6, 1e6, 31};
  far.filters = filters(huge);
  auto& many = st.place(5, shape(rect(600, 600, 100, 100, kBlue)));
  auto list = std::make_shared<swf::FilterList>(200, swf::Filter{huge});
  many.filters = list;
  Frame f(st.root, 40, 40);
  ASSERT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(near(f.at(5, 5), kRed));
  EXPECT_TRUE(near(f.at(15, 5), kWhite));
}

TEST(FilterDrawing, HostileNumbersDrawSomethingSane) {
  const double nan = std::nan(""), inf = HUGE_VAL;
  swf::DropShadowFilter shadow;
  shadow.blur = {-5, nan, 31};
  shadow.angle = inf;
  shadow.distance = 1e30;
  shadow.strength = 1e9;
  swf::BevelFilter bevel;
  bevel.angle = nan;
  bevel.distance = -1e30;
  bevel.strength = -4;
  swf::ColorMatrixFilter matrix;
  matrix.matrix[0] = float(nan);
  swf::ConvolutionFilter conv;
  conv.columns = 3;
  conv.rows = 3;
  conv.matrix.assign(9, float(inf));
  conv.divisor = 0;
  swf::GradientFilterParams empty;  // no stops at all
  Stage st;
  auto& o = shadowedSquare(st);
  o.filters = std::make_shared<const swf::FilterList>(
      swf::FilterList{shadow, bevel, matrix, conv, swf::GradientGlowFilter{empty},
                      swf::GradientBevelFilter{empty}});
  Frame f(st.root, 40, 40);
  ASSERT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(near(f.at(15, 15), kBlue));  // filters that mean nothing leave the object alone
  EXPECT_TRUE(near(f.at(35, 35), kWhite));
}

TEST(FilterDrawing, AMovieShowsTheGlowItsPlacementAsksFor) {
  using namespace rvtest;
  SwfWriter w(8, 40, 40, 12);
  w.defineShape(1, square(200, kBlue));
  PlaceParams p = placeNew(1, 1, at(200, 200));
  swf::GlowFilter g;
  g.color = {255, 0, 0, 255};
  g.blur = {4, 4, 1};
  g.strength = 4;
  p.filters = swf::FilterList{g};
  w.placeObject3(p);
  w.showFrame();
  swf::Player player;
  show(player, w.finish());
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 80, 80);
  cairo_t* cr = cairo_create(target);
  player.render(cr, 80, 80);  // twice the stage: the glow is twice as wide
  cairo_destroy(cr);
  cairo_surface_flush(target);
  auto pixel = [&](int x, int y) {
    auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(target) +
                                                  y * cairo_image_surface_get_stride(target));
    return row[x];
  };
  EXPECT_EQ(pixel(30, 30), 0xff0000ffu);
  EXPECT_EQ(pixel(18, 30), 0xffff0000u);  // two device pixels out: glowing
  EXPECT_EQ(pixel(30, 41), 0xffff0000u);
  EXPECT_EQ(pixel(12, 30), 0xffffffffu);  // eight out: beyond the glow
  cairo_surface_destroy(target);
}

}  // namespace
}  // namespace drawtest
