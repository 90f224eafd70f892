// PlaceObject3 filter lists: read into the model, carried to display objects, and refused
// cleanly when they lie about their size.
#include <gtest/gtest.h>

#include "core_test_movies.h"
#include "swf/author/filter_records.h"
#include "swf/movie/button.h"
#include "swf/movie/tag_codes.h"

namespace rvtest {
namespace {

swf::FilterList everyFilter() {
  swf::DropShadowFilter shadow;
  shadow.color = {10, 20, 30, 200};
  shadow.blur = {5.5, 2.25, 3};
  shadow.angle = -1.5;
  shadow.distance = 7.75;
  shadow.strength = 2.5;
  shadow.inner = true;
  shadow.compositeSource = false;
  swf::BlurFilter blur;
  blur.blur = {255, 0.5, 31};
  swf::GlowFilter glow;
  glow.color = {255, 255, 0, 128};
  glow.knockout = true;
  glow.strength = 0.5;
  swf::BevelFilter bevel;
  bevel.shadowColor = {1, 2, 3, 4};
  bevel.highlightColor = {5, 6, 7, 8};
  bevel.onTop = true;
  bevel.angle = 0.75;  // exact in 16.16
  bevel.blur.passes = 15;
  swf::GradientFilterParams g;
  g.stops = {{{255, 0, 0, 0}, 0}, {{0, 255, 0, 255}, 128}, {{0, 0, 255, 255}, 255}};
  g.angle = 3;
  g.distance = -2;
  g.inner = true;
  swf::ConvolutionFilter conv;
  conv.columns = 3;
  conv.rows = 2;
  conv.divisor = 6;
  conv.bias = -1.5f;
  conv.matrix = {1, 2, 3, 4, 5, 6};
  conv.defaultColor = {9, 8, 7, 6};
  conv.clamp = false;
  conv.preserveAlpha = true;
  swf::ColorMatrixFilter cm;
  for (int i = 0; i < 20; ++i) cm.matrix[size_t(i)] = float(i) / 4 - 2;
  swf::GradientGlowFilter gg{g};
  g.onTop = true;
  g.knockout = true;
  swf::GradientBevelFilter gb{g};
  return {shadow, blur, glow, bevel, gg, conv, cm, gb};
}

std::vector<uint8_t> movieWith(const swf::FilterList& filters, int blendMode = 0) {
  SwfWriter w(8, 100, 100, 12);
  w.defineShape(1, square(400));
  PlaceParams p = placeNew(1, 1, at(20, 20));
  p.filters = filters;
  if (blendMode) p.blendMode = blendMode;
  w.placeObject3(p);
  w.showFrame();
  return w.finish();
}

const swf::PlaceCommand& firstPlacement(const swf::Movie& m) {
  return std::get<swf::PlaceCommand>(m.root.frames.at(0).display.at(0));
}

TEST(FilterReading, EveryFilterTypeRoundTripsThroughTheWriter) {
  swf::FilterList filters = everyFilter();
  auto movie = parse(movieWith(filters, 3));
  const auto& p = firstPlacement(*movie);
  ASSERT_TRUE(p.filters);
  ASSERT_EQ(p.filters->size(), filters.size());
  for (size_t i = 0; i < filters.size(); ++i) {
    EXPECT_EQ((*p.filters)[i].index(), i);
    EXPECT_TRUE((*p.filters)[i] == filters[i]) << "filter " << i;
  }
  EXPECT_EQ(p.blendMode, 3);  // the field after the list is read from the right place
}

TEST(FilterReading, AnEmptyListClearsAndAnAbsentOneKeeps) {
  SwfWriter w(8, 100, 100, 12);
  w.defineShape(1, square(400));
  PlaceParams p = placeNew(1, 1);
  p.filters = swf::FilterList{swf::BlurFilter{}};
  w.placeObject3(p);
  w.showFrame();
  PlaceParams move = placeMove(1, at(40, 0));  // no filter field: the blur stays
  w.placeObject3(move);
  w.showFrame();
  move.filters = swf::FilterList{};  // an empty list takes it away
  w.placeObject3(move);
  w.showFrame();
  swf::Player player;
  show(player, w.finish());
  auto filtersNow = [&] { return player.root()->children.at(1)->filters; };
  ASSERT_TRUE(filtersNow());
  EXPECT_EQ(filtersNow()->size(), 1u);
  player.advance(1000 / 12.0 + 1);
  ASSERT_TRUE(filtersNow());
  EXPECT_EQ(player.root()->children.at(1)->matrix.tx, 40);
  player.advance(1000 / 12.0 + 1);
  ASSERT_TRUE(filtersNow());
  EXPECT_TRUE(filtersNow()->empty());
  // Going back replays the placements: the blur is there again.
  player.gotoFrame(0);
  ASSERT_TRUE(filtersNow());
  EXPECT_EQ(filtersNow()->size(), 1u);
}

TEST(FilterReading, ButtonRecordsCarryTheirFiltersAndBlendModeToWhatTheyShow) {
  SwfWriter w(8, 100, 100, 12);
  w.defineShape(1, square(400));
  ButtonPart up{swf::kButtonUp | swf::kButtonHit, 1, 1, {}, {}};
  up.filters = everyFilter();
  up.blendMode = 4;
  w.defineButton2(2, {up}, {});
  w.placeObject2(placeNew(1, 2));
  w.showFrame();
  swf::Player player;
  show(player, w.finish());
  const swf::DisplayObject& shown = *player.root()->children.at(1)->children.at(1);
  ASSERT_TRUE(shown.filters);
  EXPECT_EQ(shown.filters->size(), everyFilter().size());
  EXPECT_EQ(shown.blendMode, 4);
}

// The body of a PlaceObject3 tag placing character 1 at depth 1 with the given filter bytes.
std::vector<uint8_t> placeBody(const std::vector<uint8_t>& filterList) {
  std::vector<uint8_t> b = {0x02, 0x01, 1, 0, 1, 0};
  b.insert(b.end(), filterList.begin(), filterList.end());
  return b;
}

std::vector<uint8_t> movieWithRawList(const std::vector<uint8_t>& filterList) {
  SwfWriter w(8, 100, 100, 12);
  w.defineShape(1, square(400));
  w.tag(swf::tag::PlaceObject3, placeBody(filterList));
  w.showFrame();
  return w.finish();
}

TEST(FilterReading, ListsThatLieAreALoadError) {
  BitWriter full;
  swf::author::writeFilterList(full, everyFilter());
  // Every cut through the list runs past the tag's end.
  for (size_t n = 1; n < full.size(); n += 7) {
    std::vector<uint8_t> cut(full.data().begin(), full.data().begin() + long(n));
    EXPECT_THROW(parse(movieWithRawList(cut)), swf::LoadError) << "cut at " << n;
  }
  EXPECT_NO_THROW(parse(movieWithRawList(full.data())));
  // 255 filters announced, one given.
  EXPECT_THROW(parse(movieWithRawList({255, 1, 0, 0, 4, 0, 0, 0, 4, 0, 0x20})), swf::LoadError);
  // A 255 × 255 convolution in a few bytes.
  EXPECT_THROW(parse(movieWithRawList({1, 5, 255, 255, 0, 0, 128, 63, 0, 0, 0, 0, 1, 2, 3})),
               swf::LoadError);
  // A filter id the format does not have.
  EXPECT_THROW(parse(movieWithRawList({1, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0})), swf::LoadError);
}

}  // namespace
}  // namespace rvtest
