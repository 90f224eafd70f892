// The timeline: placing and removing, jumps that equal playing, the clock, looping, nesting.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core_test_movies.h"

namespace {

using namespace rvtest;
using swf::BitReader;
using swf::Player;

// Ten frames that exercise every kind of display change, with a nested sprite.
std::vector<uint8_t> busyMovie() {
  SwfWriter w(6, 200, 200, 10);
  for (uint16_t id = 1; id <= 4; ++id) w.defineShape(id, square(100 * id));
  TagList sprite;
  sprite.placeObject2(placeNew(1, 1));
  sprite.showFrame();
  sprite.placeObject2(placeMove(1, at(50, 50)));
  sprite.showFrame();
  sprite.end();
  w.defineSprite(10, sprite);

  w.placeObject2(placeNew(1, 1));
  w.placeObject2(placeNew(2, 2, at(10, 10)));
  w.showFrame();  // 0
  w.placeObject2(placeMove(1, at(100, 0)));
  PlaceParams named = placeNew(3, 10, at(5, 5));
  named.name = "spr";
  w.placeObject2(named);
  w.showFrame();  // 1
  w.removeObject2(2);
  w.showFrame();                               // 2
  w.placeObject2(placeNew(2, 3, at(20, 20)));  // a different character at a freed depth
  swf::ColorTransform half;
  half.am = 0.5;
  PlaceParams tint = placeMove(1);
  tint.cxform = half;
  tint.ratio = 1000;
  w.placeObject2(tint);
  w.showFrame();  // 3
  w.showFrame();  // 4: nothing changes
  PlaceParams swap = placeMove(2);
  swap.character = 4;  // same depth, new character, keeps the matrix
  w.placeObject2(swap);
  w.showFrame();  // 5
  w.removeObject2(3);
  PlaceParams mask = placeNew(5, 1);
  mask.clipDepth = 6;
  w.placeObject2(mask);
  w.showFrame();  // 6
  w.removeObject(1, 1);
  w.placeObject(2, 1, at(7, 7));  // PlaceObject 1 replaces what a depth holds
  w.showFrame();                  // 7
  w.placeObject(3, 1, at(8, 8));
  w.showFrame();  // 8
  w.removeObject2(1);
  w.removeObject2(2);
  w.removeObject2(5);
  w.showFrame();  // 9: empty
  return w.finish();
}

TEST(CoreTimeline, JumpsGiveExactlyTheListThatPlayingGives) {
  auto bytes = busyMovie();
  Player played;
  show(played, bytes);
  ASSERT_EQ(played.totalFrames(), 10);
  std::vector<std::string> expected;
  for (int f = 0; f < 10; ++f) {
    ASSERT_EQ(played.currentFrame(), f);
    expected.push_back(displayList(played));
    step(played);
  }
  EXPECT_EQ(played.currentFrame(), 0);  // looped
  EXPECT_EQ(displayList(played), expected[0]);

  // Spot checks that the list is what the tags say.
  EXPECT_EQ(expected[9], "");
  EXPECT_NE(expected[2].find("3: #10"), std::string::npos);
  EXPECT_EQ(expected[2].find("2: #"), std::string::npos);
  EXPECT_NE(expected[5].find("2: #4 [1 0 0 1 20 20]"), std::string::npos);  // swap kept the matrix
  EXPECT_NE(expected[6].find("5: #1 [1 0 0 1 0 0] {1 1 1 1 0 0 0 0} r0 n'' clip6"),
            std::string::npos);
  EXPECT_NE(expected[7].find("1: #2 [1 0 0 1 7 7]"), std::string::npos);
  EXPECT_NE(expected[8].find("1: #3 [1 0 0 1 8 8]"), std::string::npos);
  EXPECT_NE(expected[3].find("{1 1 1 0.5 0 0 0 0} r1000"), std::string::npos);

  Player jumper;
  show(jumper, bytes);
  std::mt19937 rng(7);
  for (int i = 0; i < 200; ++i) {
    int target = int(rng() % 10);
    jumper.gotoFrame(target);
    ASSERT_EQ(jumper.currentFrame(), target);
    ASSERT_EQ(displayList(jumper), expected[target]) << "after a jump to " << target;
  }
  // Back and forward agree too.
  jumper.gotoFrame(9);
  for (int f = 8; f >= 0; --f) {
    jumper.back();
    ASSERT_EQ(displayList(jumper), expected[f]);
  }
  jumper.back();
  EXPECT_EQ(jumper.currentFrame(), 0);
  for (int f = 1; f < 10; ++f) {
    jumper.forward();
    ASSERT_EQ(displayList(jumper), expected[f]);
  }
  jumper.forward();
  EXPECT_EQ(jumper.currentFrame(), 9);
  EXPECT_FALSE(jumper.isPlaying());
}

TEST(CoreTimeline, LongRandomTimelinesJumpExactlyToo) {
  // Long enough that jumps back start from lists kept on the way rather than frame 0.
  std::mt19937 rng(11);
  SwfWriter w(6, 200, 200, 30);
  for (uint16_t id = 1; id <= 3; ++id) w.defineShape(id, square(50 * id));
  std::set<int> used;
  for (int f = 0; f < 400; ++f) {
    for (int n = int(rng() % 4); n > 0; --n) {
      int depth = 1 + int(rng() % 12);
      if (used.count(depth) && rng() % 3 == 0) {
        w.removeObject2(depth);
        used.erase(depth);
      } else if (used.count(depth)) {
        w.placeObject2(placeMove(depth, at(rng() % 1000, rng() % 1000)));
      } else {
        w.placeObject2(placeNew(depth, uint16_t(1 + rng() % 3), at(rng() % 1000, 0)));
        used.insert(depth);
      }
    }
    w.showFrame();
  }
  auto bytes = w.finish();
  Player played;
  show(played, bytes);
  std::vector<std::string> expected;
  for (int f = 0; f < 400; ++f) {
    expected.push_back(displayList(played));
    step(played);
  }
  Player jumper;
  show(jumper, bytes);
  for (int i = 0; i < 300; ++i) {
    int target = int(rng() % 400);
    jumper.gotoFrame(target);
    ASSERT_EQ(displayList(jumper), expected[target]) << "after a jump to " << target;
  }
}

TEST(CoreTimeline, InstancesThatPersistKeepTheirStateAcrossJumps) {
  Player p;
  show(p, busyMovie());
  p.gotoFrame(1);
  auto* sprite = p.root()->children.at(3).get();
  p.gotoFrame(2);
  EXPECT_EQ(p.root()->children.at(3).get(), sprite);  // same instance, not rebuilt
  p.gotoFrame(0);
  p.gotoFrame(2);
  EXPECT_NE(p.root()->children.count(3), 0u);
}

TEST(CoreTimeline, ControlOperations) {
  Player p;
  show(p, busyMovie());
  EXPECT_TRUE(p.isPlaying());
  EXPECT_EQ(p.currentFrame(), 0);
  p.stop();
  step(p);
  EXPECT_EQ(p.currentFrame(), 0);
  p.play();
  step(p);
  EXPECT_EQ(p.currentFrame(), 1);
  p.gotoFrame(5);
  EXPECT_FALSE(p.isPlaying());  // a jump stops
  p.play();
  p.rewind();
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_TRUE(p.isPlaying());  // rewind keeps the playing state
  p.stop();
  p.rewind();
  EXPECT_FALSE(p.isPlaying());
  p.forward();
  EXPECT_EQ(p.currentFrame(), 1);
  EXPECT_FALSE(p.isPlaying());
}

TEST(CoreTimeline, GotoOutsideTheMovieIsARangeError) {
  Player p;
  EXPECT_THROW(p.gotoFrame(0), swf::RangeError);  // nothing loaded
  show(p, busyMovie());
  p.gotoFrame(4);
  EXPECT_THROW(p.gotoFrame(-1), swf::RangeError);
  EXPECT_THROW(p.gotoFrame(10), swf::RangeError);
  EXPECT_THROW(p.gotoFrame(1 << 30), swf::RangeError);
  EXPECT_EQ(p.currentFrame(), 4);  // a refused jump changes nothing
  EXPECT_NO_THROW(p.gotoFrame(9));
}

TEST(CoreTimeline, LoopOnWrapsLoopOffStopsOnTheLastFrame) {
  Player p;
  show(p, busyMovie());
  for (int i = 0; i < 10; ++i) step(p);
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_TRUE(p.isPlaying());

  p.setLoop(false);
  EXPECT_FALSE(p.loop());
  for (int i = 0; i < 9; ++i) step(p);
  EXPECT_EQ(p.currentFrame(), 9);
  EXPECT_TRUE(p.isPlaying());
  EXPECT_TRUE(step(p));  // the playing state changed
  EXPECT_EQ(p.currentFrame(), 9);
  EXPECT_FALSE(p.isPlaying());
  for (int i = 0; i < 5; ++i) step(p);
  EXPECT_EQ(p.currentFrame(), 9);
}

TEST(CoreTimeline, FrameClockFollowsTheMovieRate) {
  Player p;
  show(p, busyMovie());  // 10 frames per second
  EXPECT_DOUBLE_EQ(p.frameRate(), 10);
  p.advance(0);
  EXPECT_FALSE(p.advance(99));
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_TRUE(p.advance(1));
  EXPECT_EQ(p.currentFrame(), 1);
  // Time is accumulated across calls.
  for (int i = 0; i < 30; ++i) p.advance(10);
  EXPECT_EQ(p.currentFrame(), 4);
  // Exact intervals at an awkward rate do not drift.
  SwfWriter w(6, 10, 10, 24);
  for (int f = 0; f < 100; ++f) w.showFrame();
  show(p, w.finish());
  for (int i = 0; i < 48; ++i) p.advance(1000.0 / 24);
  EXPECT_EQ(p.currentFrame(), 48);
  p.advance(1000);
  EXPECT_EQ(p.currentFrame(), 72);
  // Nothing or nonsense is no time.
  p.advance(0);
  p.advance(-500);
  p.advance(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.currentFrame(), 72);
}

TEST(CoreTimeline, AdvanceReportsWhetherAnythingChanged) {
  SwfWriter w(6, 10, 10, 10);
  w.defineShape(1, square(100));
  w.placeObject2(placeNew(1, 1));
  w.showFrame();
  w.showFrame();
  Player p;
  show(p, w.finish());
  EXPECT_TRUE(p.advance(0));  // the first frame is new
  EXPECT_FALSE(p.advance(0));
  EXPECT_TRUE(p.advance(100));
  p.stop();
  p.advance(0);
  EXPECT_FALSE(p.advance(100));  // stopped, nothing animates
  p.zoom(50);
  EXPECT_TRUE(p.advance(0));
}

TEST(CoreTimeline, OneFrameMovieIsAMovie) {
  SwfWriter w(6, 50, 50, 12);
  w.defineShape(1, square(100));
  w.placeObject2(placeNew(1, 1));
  w.doAction(ActionBuilder().trace("once").build());
  w.showFrame();
  Player p;
  int traces = 0;
  p.onTrace = [&](const std::string&) { ++traces; };
  show(p, w.finish());
  EXPECT_EQ(p.totalFrames(), 1);
  for (int i = 0; i < 20; ++i) step(p);
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_TRUE(p.isPlaying());
  EXPECT_EQ(traces, 1);  // looping one frame does not run it again
  EXPECT_EQ(p.root()->children.size(), 1u);
  p.setLoop(false);
  step(p);
  EXPECT_FALSE(p.isPlaying());
  // A file with no ShowFrame at all still has its one frame.
  SwfWriter bare(6, 50, 50, 12);
  bare.defineShape(1, square(100));
  bare.placeObject2(placeNew(1, 1));
  show(p, bare.finish());
  EXPECT_EQ(p.totalFrames(), 1);
  EXPECT_EQ(p.root()->children.size(), 1u);
}

TEST(CoreTimeline, NestedSpritesKeepPlayingWhenTheRootStops) {
  SwfWriter w(6, 100, 100, 10);
  w.defineShape(1, square(100));
  TagList sprite;
  for (int f = 0; f < 4; ++f) {
    sprite.placeObject2(f == 0 ? placeNew(1, 1) : placeMove(1, at(f * 10, 0)));
    sprite.showFrame();
  }
  sprite.end();
  w.defineSprite(2, sprite);
  w.placeObject2(placeNew(1, 2));
  w.doAction(ActionBuilder().stop().build());
  w.showFrame();
  w.showFrame();
  Player p;
  show(p, w.finish());
  EXPECT_FALSE(p.isPlaying());
  auto* s = dynamic_cast<const swf::SpriteInstance*>(p.root()->children.at(1).get());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->currentFrame(), 0);
  EXPECT_TRUE(step(p));
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_EQ(s->currentFrame(), 1);
  step(p);
  step(p);
  step(p);
  EXPECT_EQ(s->currentFrame(), 0);  // sprites loop
  EXPECT_EQ(s->children.at(1)->matrix.tx, 0);
}

TEST(CoreTimeline, AMoveSwapsShapesButNeverSpritesOrButtons) {
  SwfWriter w(6, 100, 100, 10);
  w.defineShape(1, square(100));
  w.defineShape(2, square(200));
  TagList inner;
  inner.placeObject2(placeNew(1, 1));
  inner.showFrame();
  inner.end();
  w.defineSprite(3, inner);
  w.placeObject2(placeNew(1, 1));  // shape
  w.placeObject2(placeNew(2, 3));  // sprite
  w.placeObject2(placeNew(3, 1));  // shape
  w.showFrame();
  auto swapTo = [&](int depth, uint16_t id, double x) {
    PlaceParams p = placeMove(depth, at(x, 0));
    p.character = id;
    w.placeObject2(p);
  };
  swapTo(1, 2, 10);  // shape to shape: swapped
  swapTo(2, 1, 20);  // sprite to shape: kept, moved
  swapTo(3, 3, 30);  // shape to sprite: kept, moved
  w.showFrame();
  Player p;
  show(p, w.finish());
  step(p);
  const auto& c = p.root()->children;
  EXPECT_EQ(c.at(1)->characterId, 2);
  EXPECT_EQ(c.at(2)->characterId, 3);
  EXPECT_EQ(c.at(2)->matrix.tx, 20);
  EXPECT_EQ(c.at(3)->characterId, 1);
  EXPECT_EQ(c.at(3)->matrix.tx, 30);
}

TEST(CoreTimeline, CharacterPlacedBeforeItsDefinitionShowsNothing) {
  SwfWriter w(6, 100, 100, 10);
  w.placeObject2(placeNew(1, 5));
  w.showFrame();
  w.defineShape(5, square(100));
  w.placeObject2(placeNew(2, 5));
  w.showFrame();
  Player p;
  show(p, w.finish());
  EXPECT_TRUE(p.root()->children.empty());
  step(p);
  ASSERT_EQ(p.root()->children.size(), 1u);
  EXPECT_EQ(p.root()->children.begin()->first, 2);
}

TEST(CoreTimeline, SelfPlacingSpriteAndDeepNestingAreBounded) {
  // A sprite that places itself: its own id is not defined while its body is read.
  SwfWriter w(6, 100, 100, 10);
  TagList self;
  self.placeObject2(placeNew(1, 7));
  self.showFrame();
  self.end();
  w.defineSprite(7, self);
  w.placeObject2(placeNew(1, 7));
  w.showFrame();
  Player p;
  show(p, w.finish());
  ASSERT_EQ(p.root()->children.size(), 1u);
  EXPECT_TRUE(p.root()->children.at(1)->children.empty());

  // Ten thousand sprites, each holding the one before it.
  SwfWriter deep(6, 100, 100, 10);
  deep.defineShape(1, square(100));
  for (uint16_t id = 2; id <= 10001; ++id) {
    TagList s;
    s.placeObject2(placeNew(1, uint16_t(id - 1)));
    s.showFrame();
    s.showFrame();
    s.end();
    deep.defineSprite(id, s);
  }
  deep.placeObject2(placeNew(1, 10001));
  deep.showFrame();
  show(p, deep.finish());
  int levels = 0;
  for (const swf::DisplayObject* o = p.root(); !o->children.empty();
       o = o->children.begin()->second.get())
    ++levels;
  EXPECT_GT(levels, 50);
  EXPECT_LE(levels, swf::kMaxNesting + 1);
  for (int i = 0; i < 3; ++i) step(p);
  p.gotoFrame(0);

  // A wide tree: 100 placements of a sprite that places 100 of another, and so on.
  SwfWriter wide(6, 100, 100, 10);
  wide.defineShape(1, square(100));
  for (uint16_t id = 2; id <= 6; ++id) {
    TagList s;
    for (int d = 1; d <= 100; ++d) s.placeObject2(placeNew(d, uint16_t(id - 1)));
    s.showFrame();
    s.end();
    wide.defineSprite(id, s);
  }
  wide.placeObject2(placeNew(1, 6));
  wide.showFrame();
  show(p, wide.finish());  // 100^5 objects would never fit; the budget stops it
  step(p);
  p.unload();
}

TEST(CoreTimeline, LabelsAndBackgroundFollowTheFrames) {
  SwfWriter w(6, 100, 100, 10);
  w.setBackgroundColor({1, 2, 3, 255});
  w.frameLabel("Intro");
  w.showFrame();
  w.showFrame();
  w.setBackgroundColor({4, 5, 6, 255});
  w.frameLabel("main");
  w.showFrame();
  auto m = parse(w.finish());
  EXPECT_EQ(m->root.findLabel("intro"), 0);
  EXPECT_EQ(m->root.findLabel("MAIN"), 2);
  EXPECT_EQ(m->root.findLabel("missing"), -1);
  Player p;
  p.load(m, "x.swf");
  EXPECT_EQ(p.backgroundColor(), (swf::RGBA{1, 2, 3, 255}));
  p.gotoFrame(2);  // the first colour set stays: later ones are ignored
  EXPECT_EQ(p.backgroundColor(), (swf::RGBA{1, 2, 3, 255}));
}

TEST(CoreTimeline, MissingFramesTheHeaderPromisedAreWaitedFor) {
  SwfWriter w(6, 100, 100, 10);
  w.showFrame();
  w.showFrame();
  auto bytes = w.finish();
  // Claim five frames where two exist (the frame count follows the stage rectangle).
  BitReader r(bytes);
  r.skip(8);
  swf::readRect(r);
  size_t countAt = r.pos() + 2;
  bytes[countAt] = 5;
  Player p;
  show(p, bytes);
  EXPECT_EQ(p.totalFrames(), 2);
  for (int i = 0; i < 5; ++i) step(p);
  EXPECT_EQ(p.currentFrame(), 1);
  EXPECT_TRUE(p.isPlaying());
}

}  // namespace
