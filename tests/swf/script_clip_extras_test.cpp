// Masks set by scripts drawn through the renderer, and where clips meet the other parts of the
// player: duplicates draw like their source, the hand over pressable clips, `this` of a bare
// call, getSWFVersion.
#include "avm1_support.h"
#include "script_graphics_support.h"

namespace {

using rvtest::ScriptStage;
using swf::avm1::Object;
using swf::avm1::Value;

// A clip at `depth` of the root holding a filled square.
Object* squareClip(ScriptStage& s, const std::string& name, int depth, double x0, double y0,
                   double x1, double y1, int rgb) {
  Object* c = s.draw("createEmptyMovieClip", {s.str(name), Value(depth)}).object();
  s.call(c, "beginFill", {Value(rgb)});
  s.call(c, "moveTo", {Value(x0), Value(y0)});
  for (auto [x, y] : {std::pair{x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}})
    s.call(c, "lineTo", {Value(x), Value(y)});
  s.call(c, "endFill");
  return c;
}

TEST(ScriptMasks, MaskedClipsShowOnlyWhereTheirMaskDraws) {
  ScriptStage s(6);
  Object* a = squareClip(s, "a", 1, 0, 0, 60, 60, 0x0000FF);
  Object* m = squareClip(s, "m", 2, 40, 40, 100, 100, 0xFF0000);
  Object* b = squareClip(s, "b", 3, 70, 0, 100, 30, 0x00FF00);
  EXPECT_EQ(s.text(s.call(a, "setMask", {Value(m)})), "true");
  struct {
    int x, y;
    uint32_t want;
  } const masked[] = {
      {50, 50, 0x0000FF},  // a where the mask draws
      {20, 20, 0xFFFFFF},  // a outside it
      {80, 80, 0xFFFFFF},  // the mask itself is not drawn
      {85, 15, 0x00FF00},  // others are not affected
  };
  for (const auto& p : masked) EXPECT_EQ(s.pixel(p.x, p.y), p.want) << p.x << "," << p.y;
  // A mask masks one clip: giving it to b leaves a unmasked (and b clipped away).
  s.call(b, "setMask", {Value(m)});
  EXPECT_EQ(s.pixel(20, 20), 0x0000FFu);
  EXPECT_EQ(s.pixel(85, 15), 0xFFFFFFu);
  // null ends the mask, and the clip that was the mask draws again.
  s.call(b, "setMask", {Value::null()});
  EXPECT_EQ(s.pixel(85, 15), 0x00FF00u);
  EXPECT_EQ(s.pixel(80, 80), 0xFF0000u);
  // A removed mask leaves what it masked unmasked; a clip never masks itself.
  s.call(a, "setMask", {Value(m)});
  s.call(m, "removeMovieClip");
  EXPECT_EQ(s.pixel(20, 20), 0x0000FFu);
  s.call(a, "setMask", {Value(a)});
  EXPECT_EQ(s.pixel(20, 20), 0x0000FFu);
}

TEST(ClipExtras, DuplicatesDrawLikeTheirSourceAndGradientsNeedAMatrix) {
  ScriptStage s(6);
  Object* a = squareClip(s, "a", 1, 0, 0, 40, 40, 0x0000FF);
  Object* d = s.call(a, "duplicateMovieClip", {s.str("d"), Value(2)}).object();
  ASSERT_NE(d, nullptr);
  s.vm->set(d, s.vm->key("_x"), Value(50));
  EXPECT_EQ(s.pixel(70, 20), 0x0000FFu);
  // Changing the copy's drawing leaves the source's alone.
  s.call(d, "clear");
  EXPECT_EQ(s.pixel(70, 20), 0xFFFFFFu);
  EXPECT_EQ(s.pixel(20, 20), 0x0000FFu);
  // A gradient without its matrix argument is no fill at all.
  auto* colors = s.vm->newArray();
  colors->items = {Value(0xFF0000), Value(0x00FF00)};
  auto* alphas = s.vm->newArray();
  alphas->items = {Value(100), Value(100)};
  auto* ratios = s.vm->newArray();
  ratios->items = {Value(0), Value(255)};
  s.call(d, "beginGradientFill",
         {s.str("linear"), Value(static_cast<Object*>(colors)), Value(static_cast<Object*>(alphas)),
          Value(static_cast<Object*>(ratios))});
  s.call(d, "moveTo", {Value(0), Value(50)});
  for (auto [x, y] : {std::pair{40, 50}, {40, 90}, {0, 90}})
    s.call(d, "lineTo", {Value(x), Value(y)});
  s.call(d, "endFill");
  EXPECT_EQ(s.pixel(70, 70), 0xFFFFFFu);
  // A duplicate onto the source's own depth takes its place, drawing and all.
  Object* r = s.call(a, "duplicateMovieClip", {s.str("r"), Value(1)}).object();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(s.text(s.vm->get(r, s.vm->key("_name"))), "r");
  EXPECT_EQ(s.pixel(20, 20), 0x0000FFu);
}

TEST(ClipExtras, ClipsWithPressHandlersShowTheHand) {
  ScriptStage s(6);
  Object* a = squareClip(s, "a", 1, 0, 0, 50, 50, 0x0000FF);
  s.pixel(0, 0);  // pointer positions are read against the last render
  s.player.mouseMove(25, 25);
  EXPECT_EQ(s.player.pointerShape(), swf::PointerShape::Arrow);  // no handler yet
  s.vm->set(a, s.vm->key("onPress"),
            Value(static_cast<Object*>(s.vm->newNative(
                [](swf::avm1::Vm&, Object*, swf::avm1::Args) { return Value(); }))));
  s.player.mouseMove(26, 25);
  EXPECT_EQ(s.player.pointerShape(), swf::PointerShape::Hand);
  s.vm->set(a, s.vm->key("useHandCursor"), Value(false));
  EXPECT_EQ(s.player.pointerShape(), swf::PointerShape::Arrow);
  s.vm->set(a, s.vm->key("useHandCursor"), Value(true));
  s.player.mouseMove(75, 75);
  EXPECT_EQ(s.player.pointerShape(), swf::PointerShape::Arrow);
}

TEST(ClipExtras, BareCallsRunWithTheTimelineAsThis) {
  struct {
    int version;
    const char* source;
    const char* expected;
  } const cases[] = {
      // A script function called with no object.
      {6, R"(function f()
               push 'this'
               getVariable
               trace
             end
             push 0, 'f'
             callFunction
             pop)",
       "_level0\n"},
      // A clip method called bare acts on the timeline; getDepth came with Flash 6.
      {6, "push 0, 'getDepth'\ncallFunction\ntrace", "-16384\n"},
      {5, "push 0, 'getDepth'\ncallFunction\ntrace", "undefined\n"},
      {7, "push 0, 'getSWFVersion'\ncallFunction\ntrace", "7\n"},
      {5, "push 0, 'getSWFVersion'\ncallFunction\ntrace", "5\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rvtest::runScript(c.version, c.source), c.expected) << "v" << c.version << "\n"
                                                                  << c.source;
}

// A clip's members beside its variables: named children are listed by for..in (until
// ASSetPropFlags hides the clip's members), a getter added under a native name is read while
// writes still reach the native, and an empty name holds nothing.
TEST(ClipExtras, ChildrenGettersAndEmptyNamesAsMembers) {
  const std::string listThis = R"(
      push 'this'
      getVariable
      enumerate2
      loop:
      store 0
      push null
      equals2
      if done
      push r:0
      trace
      jump loop
      done:)";
  rvtest::runCases({
      {6,
       "push 0, 'kid', 2, 'this'\ngetVariable\npush 'createEmptyMovieClip'\ncallMethod\npop" +
           listThis,
       "kid\n$version\n"},
      {6,
       R"(push 0, 'kid', 2, 'this'
             getVariable
             push 'createEmptyMovieClip'
             callMethod
             pop
             push 1, null, 'this'
             getVariable
             push 3, 'ASSetPropFlags'
             callFunction
             pop)" +
           listThis,
       ""},
      {6, R"(function g()
               push 42
               return
             end
             function s()
               push 'set'
               trace
             end
             push 's'
             getVariable
             push 'g'
             getVariable
             push '_x', 3, 'this'
             getVariable
             push 'addProperty'
             callMethod
             pop
             push 'this'
             getVariable
             push '_x', 10
             setMember
             push 'this'
             getVariable
             push '_x'
             getMember
             trace)",
       "42\n"},
      {6, R"(push 'this'
             getVariable
             push '', 42
             setMember
             push 'this'
             getVariable
             push ''
             getMember
             trace)",
       "undefined\n"},
  });
}

}  // namespace
