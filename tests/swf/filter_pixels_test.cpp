// The filters' pixel work on small pictures: blur shape and reach, shadows and their placings,
// bevels, the colour matrix and the convolution.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "swf/render/filters/apply_filters.h"
#include "swf/render/filters/box_blur.h"
#include "swf/render/filters/color_filters.h"

namespace swf {
namespace {

constexpr uint32_t kOpaqueRed = 0xffff0000u, kOpaqueBlue = 0xff0000ffu;

class Image {
 public:
  Image(int w, int h) : w_(w), h_(h), px_(size_t(w) * h, 0) {}
  void fill(int x0, int y0, int x1, int y1, uint32_t p) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) at(x, y) = p;
  }
  uint32_t& at(int x, int y) { return px_[size_t(y) * w_ + x]; }
  int alpha(int x, int y) { return int(at(x, y) >> 24); }
  int channel(int x, int y, int shift) { return int((at(x, y) >> shift) & 0xff); }
  FilterImage view() { return {px_.data(), w_, h_, w_}; }
  void apply(const Filter& f, double scale = 1) { applyFilters({f}, view(), {scale, scale}); }
  long alphaSum() {
    long s = 0;
    for (uint32_t p : px_) s += p >> 24;
    return s;
  }

 private:
  int w_, h_;
  std::vector<uint32_t> px_;
};

BlurFilter blur(double x, double y, int passes) {
  BlurFilter b;
  b.blur = {x, y, passes};
  return b;
}

// A picture opaque from column 10 on; returns the alpha of columns 5..14 after the blur.
std::vector<int> edgeAfter(double width, int passes) {
  Image img(30, 3);
  img.fill(10, 0, 30, 3, kOpaqueBlue);
  img.apply(blur(width, 0, passes));
  std::vector<int> out;
  for (int x = 5; x < 15; ++x) out.push_back(img.alpha(x, 1));
  return out;
}

TEST(FilterBlur, AnEdgeTakesTheShapeOfRepeatedBoxes) {
  // A box two pixels wide weighs the pixel 1/2 and each neighbour 1/4; passes convolve it.
  EXPECT_EQ(edgeAfter(2, 1), (std::vector<int>{0, 0, 0, 0, 64, 191, 255, 255, 255, 255}));
  EXPECT_EQ(edgeAfter(2, 2), (std::vector<int>{0, 0, 0, 16, 80, 175, 239, 255, 255, 255}));
  EXPECT_EQ(edgeAfter(4, 1), (std::vector<int>{0, 0, 0, 32, 96, 159, 223, 255, 255, 255}));
  EXPECT_EQ(edgeAfter(3, 1), (std::vector<int>{0, 0, 0, 0, 85, 170, 255, 255, 255, 255}));
  // Quality 0 and widths up to one pixel leave the picture sharp.
  auto sharp = std::vector<int>{0, 0, 0, 0, 0, 255, 255, 255, 255, 255};
  EXPECT_EQ(edgeAfter(8, 0), sharp);
  EXPECT_EQ(edgeAfter(1, 3), sharp);
}

TEST(FilterBlur, SpreadsAsFarAsItsReachAndKeepsTheTotal) {
  for (auto [width, passes] : {std::pair{10.0, 3}, {5.0, 2}, {2.5, 1}, {20.0, 4}}) {
    int reach = blurReach(width, passes);
    Image img(2 * reach + 61, 2 * reach + 61);
    int c = reach + 30;
    img.fill(c - 5, c - 5, c + 5, c + 5, kOpaqueRed);
    long before = img.alphaSum();
    img.apply(blur(width, width, passes));
    // The farthest pixels get too little to show after rounding; those halfway out do.
    EXPECT_GT(img.alpha(c - 5 - reach / 2, c), 0) << width << " × " << passes;
    EXPECT_EQ(img.alpha(c - 6 - reach, c), 0) << width << " × " << passes;
    EXPECT_GT(img.alpha(c, c + 4 + reach / 2), 0) << width << " × " << passes;
    EXPECT_EQ(img.alpha(c, c + 5 + reach), 0) << width << " × " << passes;
    // Rounding each pass to bytes loses little of the whole.
    EXPECT_NEAR(double(img.alphaSum()), double(before), before * 0.05) << width;
    // Premultiplied colour keeps its hue where it thins out.
    EXPECT_EQ(img.channel(c - 6, c, 16), img.alpha(c - 6, c));
    EXPECT_EQ(img.channel(c - 6, c, 0), 0);
  }
}

TEST(FilterBlur, WideBoxesRampEvenly) {
  // Boxes this wide keep their sums in 32 bits.
  for (double width : {200.0, 201.0}) {
    Image img(700, 3);
    img.fill(350, 0, 700, 3, kOpaqueBlue);
    img.apply(blur(width, 0, 1));
    EXPECT_EQ(img.alpha(248, 1), 0) << width;
    EXPECT_NEAR(img.alpha(300, 1), 64, 1) << width;
    EXPECT_NEAR(img.alpha(350, 1), 128, 1) << width;
    EXPECT_NEAR(img.alpha(400, 1), 191, 1) << width;
    EXPECT_EQ(img.alpha(451, 1), 255) << width;
  }
}

TEST(FilterBlur, EveryColumnOfAWidePictureBlursAlike) {
  // Wide enough that the vertical passes run in several strips of columns.
  Image img(1500, 40);
  img.fill(0, 20, 1500, 40, kOpaqueBlue);
  img.apply(blur(1, 6, 3));
  for (int y = 0; y < 40; ++y)
    for (int x : {0, 511, 512, 1023, 1499})
      ASSERT_EQ(img.at(x, y), img.at(700, y)) << x << "," << y;
  EXPECT_EQ(img.alpha(700, 10), 0);
  EXPECT_GT(img.alpha(700, 17), 0);
  EXPECT_LT(img.alpha(700, 22), 255);
  EXPECT_EQ(img.alpha(700, 30), 255);
}

TEST(FilterBlur, ScalesWithTheStage) {
  Image a(60, 3), b(60, 3);
  a.fill(30, 0, 60, 3, kOpaqueBlue);
  b.fill(30, 0, 60, 3, kOpaqueBlue);
  a.apply(blur(4, 0, 1), 2);
  b.apply(blur(8, 0, 1), 1);
  for (int x = 20; x < 40; ++x) EXPECT_EQ(a.alpha(x, 1), b.alpha(x, 1)) << x;
}

DropShadowFilter shadow(double angle, double distance) {
  DropShadowFilter d;
  d.color = {0, 0, 0, 255};
  d.blur = {0, 0, 1};
  d.angle = angle;
  d.distance = distance;
  return d;
}

// A red square from 10 to 20 in a 40 × 40 picture.
Image redSquare() {
  Image img(40, 40);
  img.fill(10, 10, 20, 20, kOpaqueRed);
  return img;
}

TEST(FilterDropShadow, FallsByItsAngleAndDistanceUnderTheObject) {
  Image right = redSquare();
  right.apply(shadow(0, 6));
  EXPECT_EQ(right.at(15, 15), kOpaqueRed);   // the object stays on top
  EXPECT_EQ(right.at(24, 15), 0xff000000u);  // its shadow six pixels to the right
  EXPECT_EQ(right.at(26, 15), 0u);
  EXPECT_EQ(right.at(15, 21), 0u);
  Image down = redSquare();
  down.apply(shadow(M_PI / 2, 6));
  EXPECT_EQ(down.at(15, 24), 0xff000000u);
  EXPECT_EQ(down.at(24, 15), 0u);
  Image upLeft = redSquare();
  upLeft.apply(shadow(M_PI * 1.25, 4 * std::sqrt(2.0)));
  EXPECT_EQ(upLeft.at(7, 7), 0xff000000u);
  EXPECT_EQ(upLeft.at(17, 17), kOpaqueRed);
  EXPECT_EQ(upLeft.at(21, 21), 0u);
}

TEST(FilterDropShadow, StrengthColourAndBlurSetItsAlpha) {
  Image img = redSquare();
  auto d = shadow(0, 8);
  d.color = {0, 0, 255, 128};
  d.strength = 0.5;
  img.apply(d);
  EXPECT_NEAR(img.alpha(25, 15), 64, 1);
  EXPECT_NEAR(img.channel(25, 15, 0), 64, 1);  // blue, premultiplied
  Image blurred = redSquare();
  d = shadow(0, 8);
  d.blur = {4, 4, 2};
  d.strength = 3;  // the thin edge of the blur is strengthened to full
  blurred.apply(d);
  EXPECT_EQ(blurred.alpha(27, 15), 255);
  EXPECT_GT(blurred.alpha(30, 15), 0);
  EXPECT_LT(blurred.alpha(30, 15), 255);
}

TEST(FilterDropShadow, KnockoutInnerAndHiddenObject) {
  Image knockout = redSquare();
  auto d = shadow(0, 4);
  d.knockout = true;
  knockout.apply(d);
  EXPECT_EQ(knockout.at(12, 15), 0u);           // the object is cut away
  EXPECT_EQ(knockout.at(17, 15), 0u);           // and its shadow where it was
  EXPECT_EQ(knockout.at(22, 15), 0xff000000u);  // only the shadow beside it shows

  Image hidden = redSquare();
  d = shadow(0, 4);
  d.compositeSource = false;
  hidden.apply(d);
  EXPECT_EQ(hidden.at(12, 15), 0u);
  EXPECT_EQ(hidden.at(17, 15), 0xff000000u);  // the whole shadow, under where the object was
  EXPECT_EQ(hidden.at(22, 15), 0xff000000u);

  // Inside: light from the top left leaves shade along the inner top and left edges.
  Image inner = redSquare();
  d = shadow(M_PI / 4, 2 * std::sqrt(2.0));
  d.inner = true;
  inner.apply(d);
  EXPECT_EQ(inner.at(10, 15), 0xff000000u);
  EXPECT_EQ(inner.at(15, 11), 0xff000000u);
  EXPECT_EQ(inner.at(15, 15), kOpaqueRed);
  EXPECT_EQ(inner.at(19, 19), kOpaqueRed);
  EXPECT_EQ(inner.at(9, 15), 0u);  // nothing outside
  EXPECT_EQ(inner.at(22, 22), 0u);

  Image innerKnockout = redSquare();
  d.knockout = true;
  innerKnockout.apply(d);
  EXPECT_EQ(innerKnockout.at(10, 15), 0xff000000u);
  EXPECT_EQ(innerKnockout.at(15, 15), 0u);
}

TEST(FilterGlow, SurroundsTheObjectOrFillsItsEdge) {
  GlowFilter g;
  g.color = {0, 255, 0, 255};
  g.blur = {4, 4, 1};
  g.strength = 3;
  Image outer = redSquare();
  outer.apply(g);
  EXPECT_EQ(outer.at(9, 15), 0xff00ff00u);
  EXPECT_EQ(outer.at(20, 15), 0xff00ff00u);
  EXPECT_EQ(outer.at(15, 15), kOpaqueRed);
  EXPECT_EQ(outer.at(6, 15), 0u);
  g.inner = true;
  Image inner = redSquare();
  inner.apply(g);
  EXPECT_EQ(inner.at(9, 15), 0u);
  EXPECT_EQ(inner.at(10, 15), 0xff00ff00u);
  EXPECT_EQ(inner.at(15, 15), kOpaqueRed);
}

TEST(FilterBevel, HighlightsTheLitEdgesAndShadesTheOthers) {
  BevelFilter b;
  b.blur = {0, 0, 1};
  b.distance = 2;
  b.angle = 0;  // light from the left
  Image inner = redSquare();
  inner.apply(b);
  EXPECT_EQ(inner.at(10, 15), 0xffffffffu);  // highlight inside the left edge
  EXPECT_EQ(inner.at(19, 15), 0xff000000u);  // shade inside the right edge
  EXPECT_EQ(inner.at(15, 15), kOpaqueRed);
  EXPECT_EQ(inner.at(8, 15), 0u);
  b.inner = false;
  Image outer = redSquare();
  outer.apply(b);
  EXPECT_EQ(outer.at(10, 15), kOpaqueRed);
  EXPECT_EQ(outer.at(8, 15), 0xffffffffu);  // outside, the slope facing the light
  EXPECT_EQ(outer.at(21, 15), 0xff000000u);
  EXPECT_EQ(outer.at(15, 8), 0u);  // the sides along the light have neither
}

TEST(FilterColorMatrix, WorksOnUnpremultipliedColour) {
  Image img(2, 1);
  img.at(0, 0) = 0x80800000u;  // red at half alpha, premultiplied
  ColorMatrixFilter m;
  // Red and blue swap places; alpha doubles.
  m.matrix = {0, 0, 1, 0, 0, 0, 1, 0, 0, 10, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0};
  img.apply(m);
  EXPECT_EQ(img.at(0, 0), 0xff000affu);
  EXPECT_EQ(img.at(1, 0), 0u);
  // Where nothing was drawn, only the offsets count.
  Image clear(1, 1);
  m.matrix[19] = 255;
  clear.apply(m);
  EXPECT_EQ(clear.at(0, 0), 0xff000a00u);
  // A matrix that only fades keeps the colour.
  Image fade(1, 1);
  fade.at(0, 0) = 0xff336699u;
  ColorMatrixFilter half;
  half.matrix[18] = 0.5f;
  fade.apply(half);
  EXPECT_EQ(fade.at(0, 0) >> 24, 128u);
  EXPECT_NEAR(fade.channel(0, 0, 16), 0x33 * 128 / 255.0, 1);
}

TEST(FilterConvolution, WeighsNeighboursAndTreatsTheEdgeAsAsked) {
  Image img(3, 1);
  img.at(0, 0) = 0xff000000u;
  img.at(1, 0) = 0xff606060u;
  img.at(2, 0) = 0xffc0c0c0u;
  ConvolutionFilter c;
  c.columns = 3;
  c.rows = 1;
  c.matrix = {1, 1, 1};
  c.divisor = 3;
  c.preserveAlpha = true;
  Image clamped = img;
  clamped.apply(c);
  EXPECT_EQ(clamped.at(1, 0), 0xff606060u);
  EXPECT_EQ(clamped.at(0, 0), 0xff202020u);  // the edge pixel repeats beyond the edge
  c.clamp = false;
  c.defaultColor = {0xff, 0xff, 0xff, 0xff};
  Image framed = img;
  framed.apply(c);
  EXPECT_EQ(framed.at(0, 0), 0xff757575u);  // (255 + 0 + 96) / 3
  c.bias = 16;
  Image biased = img;
  biased.apply(c);
  EXPECT_EQ(biased.at(1, 0), 0xff707070u);
  // Kernels too large to run in bounded time leave the picture alone.
  c.columns = c.rows = kMaxConvolutionSide + 1;
  c.matrix.assign(size_t(c.columns) * c.rows, 1.f);
  Image big = img;
  big.apply(c);
  EXPECT_EQ(big.at(1, 0), 0xff606060u);
}

}  // namespace
}  // namespace swf
