// Movie clips from scripts: depths, removal and its unload events, event order, and the pointer
// reaching clips through the player's input calls.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using rvtest::runScripts;

// "mc(name, depth)" as actions: creates an empty clip on this timeline and keeps it in r:1.
std::string createClip(const std::string& name, int depth) {
  return "push " + std::to_string(depth) + ", '" + name +
         "', 2\npush 'this'\ngetVariable\npush 'createEmptyMovieClip'\ncallMethod\nstore 1\npop\n";
}

// Calls r:1's method `name` with no arguments and traces what it returns.
std::string traceMethod(const std::string& name) {
  return "push 0, r:1, '" + name + "'\ncallMethod\ntrace\n";
}

struct Case {
  const char* what;
  std::string source;
  const char* expected;
  int frames = 0;
};

TEST(ClipScripts, DepthsAndRemoval) {
  const Case cases[] = {
      {"script depths count from 0", createClip("a", 5) + traceMethod("getDepth"), "5\n"},
      {"a clip with an unload handler waits at -32769 minus its depth until it has run",
       createClip("a", 0) +
           "push r:1, 'onUnload'\nfunction ()\npush 0, 'this'\ngetVariable\npush 'getDepth'\n"
           "callMethod\ntrace\nend\nsetMember\n" +
           traceMethod("removeMovieClip") + "push 'removed'\ntrace\n",
       "undefined\nremoved\n-32769\n"},
      {"swapDepths moves a clip; NaN and out-of-range depths leave it",
       createClip("a", 1) + "push 7, 1, r:1, 'swapDepths'\ncallMethod\npop\n" +
           traceMethod("getDepth") + "push NaN, 1, r:1, 'swapDepths'\ncallMethod\npop\n" +
           traceMethod("getDepth") + "push 3e9, 1, r:1, 'swapDepths'\ncallMethod\npop\n" +
           traceMethod("getDepth"),
       "7\n7\n7\n"},
      {"a removed clip is a dead reference until one of its name appears again",
       createClip("a", 1) + "push r:1\nstore 2\npop\n" + traceMethod("removeMovieClip") +
           "push r:2, '_name'\ngetMember\ntrace\n" + createClip("a", 2) +
           "push r:2, '_name'\ngetMember\ntrace\n",
       "undefined\nundefined\na\n"},
      {"two references to gone clips with nothing at their paths are equal",
       createClip("a", 1) + "push r:1\nstore 2\npop\n" + traceMethod("removeMovieClip") +
           createClip("b", 2) + "push r:1\nstore 3\npop\n" + traceMethod("removeMovieClip") +
           "push r:2, r:3\nstrictEquals\ntrace\n" + createClip("b", 3) +
           "push r:2, r:3\nstrictEquals\ntrace\n",
       "undefined\nundefined\ntrue\nfalse\n"},
      {"attachMovie of a missing symbol and setMask onto itself change nothing",
       "push 1, 'b', 'nosuch', 3, 'this'\ngetVariable\npush 'attachMovie'\ncallMethod\ntrace\n" +
           createClip("a", 1) + "push r:1, 1, r:1, 'setMask'\ncallMethod\ntrace\n",
       "undefined\ntrue\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(runScripts(7, {c.source}, c.frames).traced, c.expected) << c.what;
}

TEST(ClipScripts, DuplicatingInALoopStaysBounded) {
  // 100,000 duplicates onto ten depths: each replaces the last at its depth.
  std::string loop = createClip("a", 0) +
                     "push 0\nstore 2\npop\nloop:\n"
                     "push r:2, 10\nmodulo\npush 1\nadd2\npush 'c'\npush r:2\nadd2\n"
                     "push 2, r:1, 'duplicateMovieClip'\ncallMethod\npop\n"
                     "push r:2, 1\nadd2\nstore 2\npop\npush r:2, 100000\nless2\nif loop\n"
                     "push 'c99999'\ngetVariable\npush '_name'\ngetMember\ntrace\n"
                     "push 'c99989'\ngetVariable\npush '_name'\ngetMember\ntrace\n";
  // A generous time limit: the loop is slow under sanitizers on a busy machine.
  EXPECT_EQ(runScripts(7, {loop}, 0, 300000).traced, "c99999\nundefined\n");
}

}  // namespace

namespace {

using namespace swf::author;

// A 100×100 pixel box exported as "box" (on the second frame if `exportLater`), and a first
// frame running `script`.
std::vector<uint8_t> boxMovie(const std::string& script, int version = 6,
                              bool exportLater = false) {
  SwfWriter w(version, 400, 400, 10);
  w.defineShape(1, rvtest::square(2000));
  TagList sprite;
  sprite.placeObject2(placeNew(1, 1));
  sprite.showFrame();
  sprite.end();
  w.defineSprite(2, sprite);
  if (!exportLater) w.exportAsset(2, "box");
  auto code = assembleActions(script);
  code.push_back(0);
  w.doAction(code);
  w.showFrame();
  if (exportLater) w.exportAsset(2, "box");
  w.showFrame();
  w.end();
  return w.finish();
}

// Attaches "box" as b at depth 1 (kept in r:1) and gives it handlers that trace their names.
std::string boxWithHandlers(const std::vector<std::string>& handlers, const std::string& extra) {
  std::string s =
      "push 1, 'b', 'box', 3, 'this'\ngetVariable\npush 'attachMovie'\ncallMethod\n"
      "store 1\npop\n";
  for (const std::string& h : handlers)
    s += "push r:1, '" + h + "'\nfunction ()\npush '" + h + "'\ntrace\nend\nsetMember\n";
  return s + extra;
}

// attachMovie("box", "b", 1, {_width: 50}), with a class registered for "box" that traces.
TEST(ClipScripts, AttachMovieByVersion) {
  const std::string script =
      "push 'C'\nfunction ()\npush 'made'\ntrace\nend\nsetVariable\n"
      "push 'C'\ngetVariable\npush 'box', 2, 'Object'\ngetVariable\npush 'registerClass'\n"
      "callMethod\npop\n"
      "push '_width', 50, 1\ninitObject\npush 1, 'b', 'box', 4, 'this'\ngetVariable\n"
      "push 'attachMovie'\ncallMethod\npop\npush 'b'\ngetVariable\npush '_width'\n"
      "getMember\ntrace\n";
  struct {
    const char* what;
    int version;
    bool exportLater;
    const char* expected;
  } const cases[] = {
      {"SWF 5 makes plain clips; the size meets an empty clip", 5, false, "0\n"},
      {"SWF 6 sets the size before the first frame too", 6, false, "made\n0\n"},
      {"SWF 7 shows the first frame first", 7, false, "made\n50\n"},
      {"a symbol exported on a frame not yet shown is not found", 7, true, "undefined\n"},
  };
  for (const auto& c : cases) {
    swf::Player p;
    std::string traced;
    p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
    rvtest::show(p, boxMovie(script, c.version, c.exportLater));
    EXPECT_EQ(traced, c.expected) << c.what;
  }
}

struct PointerCase {
  const char* what;
  std::string script;
  // Each step: 'm' move, 'd' down, 'u' up, at (x, y) in stage pixels.
  std::vector<std::tuple<char, double, double>> steps;
  const char* expected;
};

TEST(ClipScripts, PointerEventsReachClips) {
  const std::vector<std::string> all = {"onPress",    "onRelease",        "onRollOver",
                                        "onRollOut",  "onReleaseOutside", "onDragOut",
                                        "onDragOver", "onMouseDown"};
  const PointerCase cases[] = {
      {"over, click, away",
       boxWithHandlers(all, ""),
       {{'m', 50, 50}, {'d', 50, 50}, {'u', 50, 50}, {'m', 300, 300}},
       "onRollOver\nonMouseDown\nonPress\nonRelease\nonRollOut\n"},
      {"pressed, dragged out and back, released outside",
       boxWithHandlers(all, ""),
       {{'d', 50, 50}, {'m', 300, 300}, {'m', 60, 60}, {'m', 300, 300}, {'u', 300, 300}},
       "onMouseDown\nonRollOver\nonPress\nonDragOut\nonDragOver\nonDragOut\nonReleaseOutside\n"},
      {"a disabled clip takes no press",
       boxWithHandlers({"onPress"}, "push r:1, 'enabled', false\nsetMember\n"),
       {{'d', 50, 50}, {'u', 50, 50}},
       ""},
      {"the box's shape, not the stage, is what is hit",
       boxWithHandlers({"onPress"}, ""),
       {{'d', 150, 150}, {'u', 150, 150}},
       ""},
  };
  for (const PointerCase& c : cases) {
    swf::Player p;
    std::string traced;
    p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
    rvtest::show(p, boxMovie(c.script));
    for (auto [kind, x, y] : c.steps) {
      if (kind == 'm') p.mouseMove(x, y);
      if (kind == 'd') p.mouseDown(x, y);
      if (kind == 'u') p.mouseUp(x, y);
    }
    EXPECT_EQ(traced, c.expected) << c.what;
  }
}

TEST(ClipScripts, DragFollowsThePointerWithinItsBounds) {
  // startDrag(false, 0, 0, 200, 100): the box keeps its offset, clamped to the rectangle.
  swf::Player p;
  std::string traced;
  p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
  rvtest::show(p, boxMovie(boxWithHandlers(
                      {}, "push 100, 200, 0, 0, false, 5, r:1, 'startDrag'\ncallMethod\npop\n")));
  p.mouseMove(10, 10);
  p.mouseMove(60, 30);
  p.mouseMove(390, 390);
  swf::SpriteInstance* root = p.levelRoot(0);
  ASSERT_NE(root, nullptr);
  auto* box = dynamic_cast<swf::SpriteInstance*>(root->nodeAtDepth(1));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->matrix.tx, 200 * 20);
  EXPECT_EQ(box->matrix.ty, 100 * 20);
}

}  // namespace
