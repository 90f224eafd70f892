// The order of one frame's work: which clips advance first, where clip events fall among the
// frame's actions, and what a jump back runs.
#include <gtest/gtest.h>

#include "core_test_movies.h"
#include "swf/author/action_assembler.h"

namespace {

using namespace rvtest;
using Lines = std::vector<std::string>;

constexpr uint32_t kLoad = 0x1, kEnterFrame = 0x2, kUnload = 0x4;

std::vector<uint8_t> says(const std::string& text) { return ActionBuilder().trace(text).build(); }

// A sprite of `frames` frames whose frame f (from 1) traces "<name> f", from the second on.
TagList countingSprite(const std::string& name, int frames) {
  TagList s;
  s.showFrame();
  for (int f = 2; f <= frames; ++f) {
    s.doAction(says(name + " " + std::to_string(f)));
    s.showFrame();
  }
  s.end();
  return s;
}

struct FrameRun {
  swf::Player p;
  Lines traces;
  explicit FrameRun(const std::vector<uint8_t>& movie) {
    p.onTrace = [this](const std::string& t) { traces.push_back(t); };
    show(p, movie);
  }
  // What the next frame traces.
  Lines frame() {
    traces.clear();
    step(p);
    return traces;
  }
};

TEST(TimelineOrder, NewestClipsAdvanceFirstAndRemovedOnesRunNothingQueued) {
  SwfWriter w(6, 100, 100, 10);
  w.defineSprite(10, countingSprite("inner", 3));
  TagList outer;
  outer.placeObject2(placeNew(1, 10));
  outer.showFrame();
  outer.doAction(says("outer 2"));
  outer.showFrame();
  outer.showFrame();
  outer.end();
  w.defineSprite(11, outer);
  w.defineSprite(12, countingSprite("late", 3));
  w.placeObject2(placeNew(1, 11));
  PlaceParams late = placeNew(2, 12);
  late.clipEvents = {{kEnterFrame, says("late enterFrame")}};
  w.placeObject2(late);
  w.showFrame();
  w.doAction(says("root 2"));
  w.showFrame();
  w.removeObject2(2);  // after `late` advanced: what it queued this frame is dropped
  w.doAction(says("root 3"));
  w.showFrame();
  FrameRun run(w.finish());
  // Children are made after their parents, so they go first; each hears its enterFrame first.
  EXPECT_EQ(run.frame(), (Lines{"late enterFrame", "late 2", "inner 2", "outer 2", "root 2"}));
  EXPECT_EQ(run.frame(), (Lines{"inner 3", "root 3"}));
}

TEST(TimelineOrder, ClipEventsKeepTheirPlaceAmongTheFrameActions) {
  SwfWriter w(6, 100, 100, 10);
  w.defineSprite(10, countingSprite("clip", 1));
  PlaceParams first = placeNew(1, 10);
  first.name = "first";
  first.clipEvents = {{kLoad, says("load first")}, {kUnload, says("unload first")}};
  w.placeObject2(first);
  w.showFrame();
  w.removeObject2(1);
  w.doAction(says("actions"));
  PlaceParams second = placeNew(2, 10);
  second.clipEvents = {{kLoad, says("load second")}};
  w.placeObject2(second);
  w.showFrame();
  FrameRun run(w.finish());
  EXPECT_EQ(run.traces, (Lines{"load first"}));
  EXPECT_EQ(run.frame(), (Lines{"unload first", "actions", "load second"}));
}

TEST(TimelineOrder, AJumpBackBringsClipsBeforeItsActionsAndTakesThemAfter) {
  SwfWriter w(6, 100, 100, 10);
  w.defineSprite(10, countingSprite("clip", 1));
  PlaceParams a = placeNew(1, 10);
  a.clipEvents = {{kLoad, says("load a")}};
  w.placeObject2(a);
  w.doAction(says("frame 1"));
  w.showFrame();
  w.removeObject2(1);
  PlaceParams b = placeNew(2, 10);
  b.clipEvents = {{kLoad, says("load b")}, {kUnload, says("unload b")}};
  w.placeObject2(b);
  w.doAction(ActionBuilder().trace("frame 2").gotoFrame(0).build());
  w.showFrame();
  FrameRun run(w.finish());
  EXPECT_EQ(run.traces, (Lines{"load a", "frame 1"}));
  EXPECT_EQ(run.frame(), (Lines{"load b", "frame 2", "load a", "frame 1", "unload b"}));
}

TEST(TimelineOrder, AJumpPastAClipStillLoadsAndUnloadsIt) {
  SwfWriter w(6, 100, 100, 10);
  w.defineSprite(10, countingSprite("clip", 1));
  w.doAction(ActionBuilder().gotoFrame(3).build());
  w.showFrame();
  PlaceParams c = placeNew(1, 10);
  c.clipEvents = {{kLoad, says("load c")}, {kUnload, says("unload c")}};
  w.placeObject2(c);
  w.showFrame();
  w.removeObject2(1);
  w.showFrame();
  w.doAction(ActionBuilder().trace("frame 4").stop().build());
  w.showFrame();
  FrameRun run(w.finish());
  EXPECT_EQ(run.traces, (Lines{"load c", "unload c", "frame 4"}));
}

TEST(TimelineOrder, ClipsRemovedFromOneDepthAllWaitForTheirUnload) {
  SwfWriter w(6, 100, 100, 10);
  w.doAction(assembleActions(R"(
    push 'MovieClip'
    getVariable
    push 'prototype'
    getMember
    push 'onUnload', 1
    setMember
    push 0, 'a', 2, 'createEmptyMovieClip'
    callFunction
    pop
    push 0, 'a'
    getVariable
    push 'removeMovieClip'
    callMethod
    pop
    push 0, 'c', 2, 'createEmptyMovieClip'
    callFunction
    pop
    push 0, 'c'
    getVariable
    push 'removeMovieClip'
    callMethod
    pop
    push 'a'
    getVariable
    trace
    push 'c'
    getVariable
    trace
    push 'c'
    getVariable
    push 'getBytesTotal'
    callMethod
    trace
  )"));
  w.showFrame();
  FrameRun run(w.finish());
  // An empty clip was never loaded from anywhere: it has no bytes.
  EXPECT_EQ(run.traces, (Lines{"_level0.a", "_level0.c", "0"}));
}

}  // namespace
