// Shapes: the edge model, fills, strokes and damaged records.
#include "draw_support.h"
#include "swf/shapes/shape.h"

namespace drawtest {
namespace {

TEST(DrawShapes, SolidRectangleCoversExactlyItsPixels) {
  Stage st;
  st.place(1, shape(rect(200, 200, 400, 200, kRed)));  // 10..30 × 10..20 px
  Frame f(st.root, 40, 40);
  EXPECT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(near(f.at(10, 10), kRed));
  EXPECT_TRUE(near(f.at(29, 19), kRed));
  EXPECT_TRUE(near(f.at(9, 10), kWhite));
  EXPECT_TRUE(near(f.at(30, 15), kWhite));
  EXPECT_TRUE(near(f.at(15, 20), kWhite));
}

TEST(DrawShapes, FillOnEitherSideOfTheEdgesFillsTheSameArea) {
  ShapeBuilder left;
  left.setFill0(left.solidFill(kBlue));
  left.rectangle(200, 200, 400, 200);
  Stage st;
  st.place(1, shape(left));
  Frame f(st.root, 40, 40);
  EXPECT_TRUE(near(f.at(10, 10), kBlue));
  EXPECT_TRUE(near(f.at(29, 19), kBlue));
  EXPECT_TRUE(near(f.at(30, 19), kWhite));
}

// Two fills meeting along one edge (fill 1 on one side, fill 2 on the other), as the authoring
// tool writes neighbouring areas. The shared edge lies in the middle of pixel column 10.
ShapeBuilder neighbours(swf::RGBA a, swf::RGBA b) {
  ShapeBuilder s;
  int fa = s.solidFill(a), fb = s.solidFill(b);
  s.moveTo(0, 0);
  s.setFill1(fa);
  s.lineTo(210, 0);
  s.setFill0(fb);
  s.lineTo(210, 200);
  s.setFill0(0);
  s.lineTo(0, 200);
  s.lineTo(0, 0);
  s.moveTo(210, 0);
  s.setFill1(fb);
  s.lineTo(420, 0);
  s.lineTo(420, 200);
  s.lineTo(210, 200);
  return s;
}

TEST(DrawShapes, NeighbouringFillsLeaveNoSeamOfBackground) {
  Stage st;
  st.place(1, shape(neighbours(kRed, kBlue)));
  Frame f(st.root, 30, 20);
  EXPECT_TRUE(near(f.at(5, 5), kRed));
  EXPECT_TRUE(near(f.at(15, 5), kBlue));
  // The boundary pixel mixes the two fills only: no white (green channel) shows through.
  swf::RGBA edge = f.at(10, 5);
  EXPECT_LE(edge.g, 3);
  EXPECT_NEAR(edge.r + edge.b, 255, 4);
}

TEST(DrawShapes, NeighbouringTranslucentFillsAreNotWidened) {
  Stage st;
  st.place(1, shape(neighbours({255, 0, 0, 128}, {0, 0, 255, 128})));
  Frame f(st.root, 30, 20);
  // Widening a translucent fill under its neighbour would darken the boundary; the plain
  // anti-aliased boundary is lighter than either fill.
  swf::RGBA edge = f.at(10, 5);
  EXPECT_GE(edge.g, 100);
}

TEST(DrawShapes, StyleIndexesPastTheirArraysDrawNothing) {
  ShapeBuilder s;
  s.solidFill(kRed);
  s.solidFill(kBlue);
  s.setFill1(3);  // only two fill styles exist
  s.rectangle(0, 0, 400, 400);
  Stage st;
  st.place(1, shape(s));
  Frame f(st.root, 20, 20);
  EXPECT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(near(f.at(10, 10), kWhite));
}

TEST(DrawShapes, CutShapeRecordsKeepTheEdgesReadInFull) {
  ShapeBuilder s = rect(0, 0, 400, 400, kRed);
  BitWriter w;
  w.u16(1);
  swf::author::writeRect(w, s.bounds());
  s.writeShapeWithStyle(w, 3);
  std::vector<uint8_t> body = w.data();
  body.resize(body.size() - 2);  // loses the end record and part of the last edge
  auto c = parse(swf::parseShapeTag, 32, body);
  ASSERT_NE(c, nullptr);
  auto& drawing = static_cast<const swf::ShapeCharacter&>(*c).drawing;
  ASSERT_EQ(drawing.layers.size(), 1u);
  EXPECT_EQ(drawing.layers[0].fills.size(), 1u);
}

TEST(DrawShapes, CutStyleArraysAreAReadError) {
  ShapeBuilder s;
  s.setFill1(s.linearGradient({}, {{0, kRed}, {255, kBlue}}));
  s.rectangle(0, 0, 400, 400);
  BitWriter w;
  w.u16(1);
  swf::author::writeRect(w, s.bounds());
  s.writeShapeWithStyle(w, 3);
  std::vector<uint8_t> body(w.data().begin(), w.data().begin() + 14);
  EXPECT_THROW(parse(swf::parseShapeTag, 32, body), swf::ReadError);
}

TEST(DrawShapes, HairlinesAreOnePixelWideWhateverTheScale) {
  ShapeBuilder s;
  s.setLine(s.lineStyle(0, kBlack));
  s.moveTo(0, 210);
  s.lineTo(400, 210);  // along the middle of pixel row 10
  for (bool aa : {true, false}) {
    Stage st;
    st.place(1, shape(s), swf::Matrix{0.1, 0, 0, 0.1, 0, 189});  // scaled far down
    Frame f(st.root, 20, 20, aa);
    EXPECT_TRUE(near(f.at(1, 10), kBlack, 10)) << "antialias " << aa;
    EXPECT_TRUE(near(f.at(1, 8), kWhite)) << "antialias " << aa;
    EXPECT_TRUE(near(f.at(1, 12), kWhite)) << "antialias " << aa;
  }
}

TEST(DrawShapes, StrokesAreDrawnOverTheFills) {
  ShapeBuilder s;
  s.setFill1(s.solidFill(kRed));
  s.setLine(s.lineStyle(200, kBlue));  // 10 px wide, centred on the edges
  s.rectangle(200, 200, 800, 800);
  Stage st;
  st.place(1, shape(s));
  Frame f(st.root, 60, 60);
  EXPECT_TRUE(near(f.at(12, 30), kBlue));  // on the left edge, inside the fill
  EXPECT_TRUE(near(f.at(30, 30), kRed));
  EXPECT_TRUE(near(f.at(6, 30), kBlue));  // outside the fill, under the stroke
}

TEST(DrawShapes, UnusableMatricesDrawNothingAndSpoilNothing) {
  Stage st;
  st.place(1, shape(rect(0, 0, 400, 400, kRed)), swf::Matrix{0, 0, 0, 0, 0, 0});
  st.place(2, shape(rect(0, 0, 400, 400, kBlue)), swf::Matrix{1e308, 0, 0, 1e308, 0, 0});
  st.place(3, shape(rect(0, 0, 200, 200, kGreen)));
  Frame f(st.root, 20, 20);
  EXPECT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(near(f.at(5, 5), kGreen));
}

TEST(DrawShapes, DeepNestingIsCutOffInsteadOfExhaustingTheStack) {
  Stage st;
  swf::DisplayObject* parent = &st.root;
  for (int i = 0; i < 10000; ++i) parent = &st.place(1, nullptr, {}, parent);
  st.place(1, shape(rect(0, 0, 400, 400, kRed)), {}, parent);
  Frame f(st.root, 20, 20);
  EXPECT_EQ(f.status(), CAIRO_STATUS_SUCCESS);
}

}  // namespace
}  // namespace drawtest
