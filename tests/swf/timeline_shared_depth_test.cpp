// Placing onto a depth that is already taken, without the move flag: files of version 5 and
// earlier keep both objects (the newest beneath), later files ignore the placement.
#include <gtest/gtest.h>

#include "core_test_movies.h"
#include "draw_support.h"

namespace {

using namespace rvtest;
using swf::Player;

constexpr swf::RGBA kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255};

// Red at (0,0) and blue at (20,20) px, both 50 px squares placed at depth 1 in frame 0; the
// frames after it are added by `more`.
template <typename More>
std::vector<uint8_t> twoAtOneDepth(int version, More more) {
  SwfWriter w(version, 100, 100, 10);
  w.defineShape(1, square(1000, kRed));
  w.defineShape(2, square(1000, kBlue));
  w.placeObject2(placeNew(1, 1));
  w.placeObject2(placeNew(1, 2, at(400, 400)));
  w.showFrame();
  more(w);
  return w.finish();
}

TEST(TimelineSharedDepth, VersionFiveShowsBothWithTheNewestBeneath) {
  Player p;
  show(p, twoAtOneDepth(5, [](SwfWriter&) {}));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 10, 10), kRed, 0));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 30, 30), kRed, 0));  // the older one stays on top
  EXPECT_TRUE(drawtest::near(pixelAt(p, 60, 60), kBlue, 0));
}

TEST(TimelineSharedDepth, LaterVersionsIgnoreThePlacement) {
  Player p;
  show(p, twoAtOneDepth(6, [](SwfWriter&) {}));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 10, 10), kRed, 0));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 60, 60), kWhite, 0));
}

TEST(TimelineSharedDepth, MovesAndRemovalsAddressTheNewest) {
  Player p;
  show(p, twoAtOneDepth(5, [](SwfWriter& w) {
         w.placeObject2(placeMove(1, at(1000, 0)));  // frame 1: blue moves right
         w.showFrame();
         w.removeObject2(1);  // frame 2: blue goes, red is addressed again
         w.showFrame();
         w.placeObject2(placeMove(1, at(0, 1000)));  // frame 3: red moves down
         w.showFrame();
         w.removeObject2(1);  // frame 4: empty
         w.showFrame();
       }));
  p.stop();
  p.gotoFrame(1);
  EXPECT_TRUE(drawtest::near(pixelAt(p, 10, 10), kRed, 0));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 60, 10), kBlue, 0));
  p.gotoFrame(2);
  EXPECT_TRUE(drawtest::near(pixelAt(p, 10, 10), kRed, 0));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 60, 10), kWhite, 0));
  p.gotoFrame(3);
  EXPECT_TRUE(drawtest::near(pixelAt(p, 10, 10), kWhite, 0));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 10, 60), kRed, 0));
  p.gotoFrame(4);
  EXPECT_TRUE(p.root()->children.empty());
}

TEST(TimelineSharedDepth, JumpsGiveTheListThatPlayingGives) {
  auto movie = twoAtOneDepth(5, [](SwfWriter& w) {
    w.placeObject2(placeMove(1, at(100, 0)));
    w.showFrame();
    w.placeObject2(placeNew(1, 1, at(0, 300)));  // a third object at the depth
    w.showFrame();
    w.removeObject2(1);
    w.showFrame();
  });
  Player played;
  show(played, movie);
  std::vector<std::string> lists{displayList(played)};
  for (int f = 1; f < 4; ++f) {
    step(played);
    lists.push_back(displayList(played));
  }
  EXPECT_NE(lists[1], lists[2]);
  Player jumped;
  show(jumped, movie);
  for (int f : {3, 1, 2, 0, 3, 2}) {
    jumped.gotoFrame(f);
    EXPECT_EQ(displayList(jumped), lists[size_t(f)]) << "frame " << f;
  }
}

TEST(TimelineSharedDepth, ActionsFindNamedSpritesThatShareADepth) {
  SwfWriter w(5, 100, 100, 10);
  w.defineShape(1, square(100));
  TagList clip;
  clip.placeObject2(placeNew(1, 1));
  clip.showFrame();
  clip.showFrame();
  clip.end();
  w.defineSprite(2, clip);
  for (const char* name : {"older", "newer"}) {
    PlaceParams p = placeNew(1, 2);
    p.name = name;
    w.placeObject2(p);
  }
  w.doAction(ActionBuilder().setTarget("older").stop().setTarget("").build());
  w.showFrame();
  w.showFrame();
  Player p;
  show(p, w.finish());
  step(p);
  const auto& held = p.root()->children.at(1)->children;  // newest first
  ASSERT_EQ(held.size(), 2u);
  auto frameOf = [&](int i) {
    return static_cast<const swf::SpriteInstance&>(*held.at(i)).currentFrame();
  };
  EXPECT_EQ(frameOf(0), 1);  // "newer" plays on
  EXPECT_EQ(frameOf(1), 0);  // "older" was stopped
}

TEST(TimelineSharedDepth, TheClipAlreadyThereLivesOnWhenAnotherJoinsIt) {
  SwfWriter w(5, 100, 100, 10);
  w.defineShape(1, square(100));
  TagList clip;
  clip.showFrame();
  clip.end();
  w.defineSprite(2, clip);
  w.placeObject2(placeNew(1, 2));
  w.showFrame();
  w.placeObject2(placeNew(1, 1));
  w.showFrame();
  Player p;
  show(p, w.finish());
  const swf::DisplayObject* before = p.root()->children.at(1).get();
  step(p);
  const auto& held = p.root()->children.at(1)->children;  // newest first
  ASSERT_EQ(held.size(), 2u);
  EXPECT_EQ(held.at(1).get(), before);
}

// Frame 1 of each movie holds the placement under test at depth 1, where frame 0 put a shape;
// `shown` is the character the depth shows afterwards (0: nothing), `frame` the playhead's.
TEST(TimelineSharedDepth, PlacementsThatDoNotAdd) {
  struct Case {
    const char* what;
    bool removeFirst, move, button;
    uint16_t shown;
    int frame;
  } cases[] = {
      {"a move naming a character at an empty depth", true, true, false, 0, 1},
      {"a button onto a taken depth", false, false, true, 1, 1},
      {"neither character nor move holds the playhead", true, false, false, 0, 0},
  };
  for (const Case& c : cases) {
    SwfWriter w(5, 100, 100, 10);
    w.defineShape(1, square(100));
    w.defineShape(2, square(100, kBlue));
    w.defineButton2(3, {ButtonPart{0xf, 2}}, {});
    w.placeObject2(placeNew(1, 1));
    w.showFrame();
    if (c.removeFirst) w.removeObject2(1);
    PlaceParams place = c.move ? placeMove(1) : placeNew(1, c.button ? 3 : 2);
    if (!c.move && c.removeFirst) place.character.reset();
    if (c.move) place.character = 2;
    w.placeObject2(place);
    w.showFrame();
    w.showFrame();
    Player p;
    show(p, w.finish());
    step(p);
    const auto& kids = p.root()->children;
    EXPECT_EQ(kids.empty() ? 0 : kids.begin()->second->characterId, c.shown) << c.what;
    EXPECT_EQ(p.currentFrame(), c.frame) << c.what;
  }
}

TEST(TimelineSharedDepth, ObjectsAtOneDepthAreBounded) {
  SwfWriter w(5, 100, 100, 10);
  w.defineShape(1, square(100));
  for (int i = 0; i < 500; ++i) w.placeObject2(placeNew(1, 1, at(i, 0)));
  w.showFrame();
  Player p;
  show(p, w.finish());
  ASSERT_EQ(p.root()->children.size(), 1u);
  EXPECT_LE(p.root()->children.begin()->second->children.size(), 64u);
}

}  // namespace
