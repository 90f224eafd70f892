// The drawing API drawn through the renderer: fills, lines, their order, gradients and clear.
#include "script_graphics_support.h"

namespace {

using rvtest::ScriptStage;
using swf::avm1::Value;

Value array(ScriptStage& s, std::vector<Value> items) {
  auto* a = s.vm->newArray();
  a->items = std::move(items);
  return Value(static_cast<swf::avm1::Object*>(a));
}

// A gradient matrix in the "box" form over (0,0)-(w,h).
Value boxMatrix(ScriptStage& s, double w, double h) {
  auto box = s.vm->newObject();
  s.vm->set(box, s.vm->key("matrixType"), s.str("box"));
  for (auto [k, v] : {std::pair{"x", 0.0}, {"y", 0.0}, {"w", w}, {"h", h}, {"r", 0.0}})
    s.vm->set(box, s.vm->key(k), Value(v));
  return Value(box);
}

void square(ScriptStage& s, double x0, double y0, double x1, double y1) {
  s.draw("moveTo", {Value(x0), Value(y0)});
  s.draw("lineTo", {Value(x1), Value(y0)});
  s.draw("lineTo", {Value(x1), Value(y1)});
  s.draw("lineTo", {Value(x0), Value(y1)});
  s.draw("lineTo", {Value(x0), Value(y0)});
}

TEST(ScriptDrawing, LaterFillsCoverEarlierLinesAndLinesLieOnTheirFill) {
  ScriptStage s;
  s.draw("beginFill", {Value(0x0000FF)});
  s.draw("lineStyle", {Value(10), Value(0x00FF00)});
  square(s, 10, 10, 60, 60);
  s.draw("endFill");
  s.draw("beginFill", {Value(0xFF0000)});
  square(s, 40, 40, 90, 90);
  s.draw("endFill");
  struct {
    int x, y;
    uint32_t want;
  } const probes[] = {
      {25, 25, 0x0000FF},                      // first fill
      {35, 10, 0x00FF00},                      // its line, over it
      {50, 50, 0xFF0000},                      // the second fill covers the first fill and its line
      {60, 50, 0xFF0000}, {65, 90, 0x00FF00},  // the second fill's own line
      {95, 5, 0xFFFFFF},                       // nothing drawn
  };
  for (const auto& p : probes) EXPECT_EQ(s.pixel(p.x, p.y), p.want) << p.x << "," << p.y;
  s.draw("clear");
  EXPECT_EQ(s.pixel(25, 25), 0xFFFFFFu);
}

TEST(ScriptDrawing, OpenFillsCloseThemselvesAndCurvesBound) {
  ScriptStage s;
  s.draw("beginFill", {Value(0x000000), Value(50)});  // half transparent
  s.draw("moveTo", {Value(10), Value(10)});
  s.draw("lineTo", {Value(90), Value(10)});
  s.draw("curveTo", {Value(90), Value(90), Value(10), Value(90)});  // closed by endFill
  s.draw("endFill");
  EXPECT_NEAR(double(s.pixel(50, 30) & 0xFF), 128, 2);
  EXPECT_EQ(s.pixel(5, 50), 0xFFFFFFu);
  EXPECT_EQ(s.number(s.root, "_width"), 80);
}

TEST(ScriptDrawing, GradientsFromEachMatrixForm) {
  ScriptStage s;
  auto box = boxMatrix(s, 100, 50);
  s.draw("beginGradientFill",
         {s.str("linear"), array(s, {Value(0xFF0000), Value(0x0000FF)}),
          array(s, {Value(100), Value(100)}), array(s, {Value(0), Value(255)}), box});
  square(s, 0, 0, 100, 50);
  s.draw("endFill");
  EXPECT_GT(s.pixel(2, 25) >> 16, 0xF0u);    // red at the left
  EXPECT_GT(s.pixel(97, 25) & 0xFF, 0xF0u);  // blue at the right
  // The 3×3 form's unit square is the whole gradient: here a vertical one over 50..100.
  auto m = s.vm->newObject();
  for (auto [k, v] :
       {std::pair{"a", 0.0}, {"b", 50.0}, {"d", 100.0}, {"e", 0.0}, {"g", 50.0}, {"h", 75.0}})
    s.vm->set(m, s.vm->key(k), Value(v));
  s.draw("beginGradientFill",
         {s.str("linear"), array(s, {Value(0x00FF00), Value(0x000000)}),
          array(s, {Value(100), Value(100)}), array(s, {Value(0), Value(255)}), Value(m)});
  square(s, 0, 50, 100, 100);
  s.draw("endFill");
  EXPECT_GT((s.pixel(50, 52) >> 8) & 0xFF, 0xE0u);  // green at the top
  EXPECT_LT((s.pixel(50, 97) >> 8) & 0xFF, 0x20u);  // black at the bottom
  // An unknown kind starts no fill.
  s.draw("clear");
  s.draw("beginGradientFill", {s.str("Radial"), array(s, {Value(0)}), array(s, {Value(100)}),
                               array(s, {Value(0)}), Value(m)});
  square(s, 0, 0, 100, 100);
  s.draw("endFill");
  EXPECT_EQ(s.pixel(50, 50), 0xFFFFFFu);
}

TEST(ScriptDrawing, ArgumentsThatAreNotGivenOrNotNumbers) {
  ScriptStage s;
  auto box = boxMatrix(s, 20, 20);
  // An alpha left out is opaque, one given as undefined transparent; a gradient's colours
  // are numbers only, its missing alphas transparent, and a ratio that is no number is 0.
  struct {
    const char* what;
    std::vector<Value> fill;  // beginFill's arguments, or a gradient's colours/alphas/ratios
    bool gradient;
    uint32_t want;
  } const cases[] = {
      {"alpha left out", {Value(0x0000FF)}, false, 0x0000FF},
      {"alpha undefined", {Value(0x0000FF), Value()}, false, 0xFFFFFF},
      {"string colour",
       {array(s, {s.str("255")}), array(s, {Value(100)}), array(s, {Value(0)})},
       true,
       0},
      {"alpha missing",
       {array(s, {Value(0x0000FF)}), array(s, {Value()}), array(s, {Value(0)})},
       true,
       0xFFFFFF},
      {"ratio undefined",
       {array(s, {Value(0x0000FF)}), array(s, {Value(100)}), array(s, {Value()})},
       true,
       0x0000FF},
  };
  for (const auto& c : cases) {
    s.draw("clear");
    if (c.gradient) {
      std::vector<Value> args{s.str("linear")};
      args.insert(args.end(), c.fill.begin(), c.fill.end());
      args.push_back(box);
      s.draw("beginGradientFill", args);
    } else {
      s.draw("beginFill", c.fill);
    }
    square(s, 0, 0, 20, 20);
    s.draw("endFill");
    EXPECT_EQ(s.pixel(10, 10), c.want) << c.what;
  }
  // Edges drawn with neither a fill nor a line still count in the clip's size.
  s.draw("clear");
  square(s, 0, 0, 10, 10);
  EXPECT_EQ(s.number(s.root, "_width"), 10);
  EXPECT_EQ(s.pixel(5, 5), 0xFFFFFFu);
}

TEST(ScriptDrawing, MoviesBeforeSixHaveNoDrawingApi) {
  ScriptStage s(5);
  s.draw("beginFill", {Value(0)});
  square(s, 0, 0, 100, 100);
  EXPECT_EQ(s.pixel(50, 50), 0xFFFFFFu);
}

}  // namespace
