// Script-made text fields and the focus frame as the renderer draws them: boxes on whole pixels,
// fields of desktop fonts neither mirrored nor translucent, empty autoSized fields, and the frame
// around a focused clip.
#include "script_graphics_support.h"

namespace {

using rvtest::ScriptStage;
using swf::avm1::Object;
using swf::avm1::Value;

Object* field(ScriptStage& s, const char* name, double x, double y, double w, double h) {
  s.draw("createTextField", {s.str(name), Value(1), Value(x), Value(y), Value(w), Value(h)});
  return s.vm->get(s.root, s.vm->key(name)).object();
}

void set(ScriptStage& s, Object* o, const char* name, const Value& v) {
  s.vm->set(o, s.vm->key(name), v);
}

TEST(ScriptTextField, BoxOriginRoundsToTheNearestPixelAndKeepsItsSize) {
  struct {
    double y;
    int firstRow;  // the first row the background fills; the field is 20 pixels high
  } const cases[] = {{30, 30}, {30.4, 30}, {30.5, 31}, {31.5, 32}, {30.6, 31}};
  for (const auto& c : cases) {
    ScriptStage s;
    Object* f = field(s, "t", 10, 0, 40, 20);
    ASSERT_NE(f, nullptr);
    set(s, f, "background", Value(true));
    set(s, f, "backgroundColor", Value(0xFF0000));
    set(s, f, "_y", Value(c.y));
    EXPECT_EQ(s.pixel(20, c.firstRow - 1), 0xFFFFFFu) << c.y;
    EXPECT_EQ(s.pixel(20, c.firstRow), 0xFF0000u) << c.y;
    EXPECT_EQ(s.pixel(20, c.firstRow + 19), 0xFF0000u) << c.y;
    EXPECT_EQ(s.pixel(20, c.firstRow + 20), 0xFFFFFFu) << c.y;
  }
}

TEST(ScriptTextField, BorderLiesOnTheEdgePixelsAroundTheBackground) {
  ScriptStage s;
  Object* f = field(s, "t", 10, 10, 40, 20);
  set(s, f, "background", Value(true));
  set(s, f, "backgroundColor", Value(0x00FF00));
  set(s, f, "border", Value(true));
  set(s, f, "borderColor", Value(0x0000FF));
  struct {
    int x, y;
    uint32_t want;
  } const probes[] = {
      {10, 20, 0x0000FF}, {50, 20, 0x0000FF},  // left and right edge pixels
      {30, 10, 0x0000FF}, {30, 30, 0x0000FF},  // top and bottom
      {11, 11, 0x00FF00}, {49, 29, 0x00FF00},  // inside
      {51, 20, 0xFFFFFF}, {30, 31, 0xFFFFFF},  // outside
  };
  for (const auto& p : probes) EXPECT_EQ(s.pixel(p.x, p.y), p.want) << p.x << "," << p.y;
}

TEST(ScriptTextField, CreateTextFieldPlacesOnWholePixels) {
  ScriptStage s;
  Object* f = field(s, "t", 10.7, 20.5, 40, 20);
  EXPECT_EQ(s.number(f, "_x"), 10);
  EXPECT_EQ(s.number(f, "_y"), 20);
  EXPECT_EQ(s.number(f, "_width"), 40);
}

TEST(ScriptTextField, DesktopFontFieldsAreNeitherMirroredNorTranslucent) {
  struct {
    const char* property;
    double value;
    uint32_t want;  // at the field's middle
  } const cases[] = {
      {"_alpha", 50, 0x0000FF},                                // alpha is ignored
      {"_alpha", 0, 0x0000FF},                                 //
      {"_xscale", -100, 0xFFFFFF},                             // mirrored fields are not drawn
      {"_yscale", -100, 0xFFFFFF}, {"_xscale", 50, 0x0000FF},  // scaled ones are
  };
  for (const auto& c : cases) {
    ScriptStage s;
    Object* f = field(s, "t", 40, 40, 20, 20);
    set(s, f, "background", Value(true));
    set(s, f, "backgroundColor", Value(0x0000FF));
    set(s, f, c.property, Value(c.value));
    // Mirroring about the field's origin: look where the box went.
    int x = c.property == std::string("_xscale") ? (c.value < 0 ? 30 : 44) : 50;
    int y = c.property == std::string("_yscale") ? 30 : 50;
    EXPECT_EQ(s.pixel(x, y), c.want) << c.property << "=" << c.value;
  }
}

TEST(ScriptTextField, EmptyAutoSizedFieldsShrinkToTheirGutters) {
  struct {
    const char* mode;
    int x;  // the column the shrunk box fills
    double width;
  } const cases[] = {{"left", 10, 4}, {"center", 28, 4}, {"right", 46, 4}, {"none", 10, 40}};
  for (const auto& c : cases) {
    ScriptStage s;
    Object* f = field(s, "t", 10, 10, 40, 40);
    set(s, f, "background", Value(true));
    set(s, f, "backgroundColor", Value(0xFF0000));
    set(s, f, "autoSize", s.str(c.mode));
    EXPECT_EQ(s.pixel(c.x, 12), 0xFF0000u) << c.mode;
    EXPECT_EQ(s.number(f, "_width"), c.width) << c.mode;
    EXPECT_EQ(s.number(f, "_height"), c.mode == std::string("none") ? 40 : 4) << c.mode;
    EXPECT_EQ(s.number(f, "textHeight"), 0) << c.mode;
  }
}

// A 40-pixel blue square at (30, 30) in a clip that may take the focus.
Object* focusableSquare(ScriptStage& s, bool focusEnabled) {
  Object* mc = s.draw("createEmptyMovieClip", {s.str("mc"), Value(1)}).object();
  if (!mc) mc = s.vm->get(s.root, s.vm->key("mc")).object();
  s.call(mc, "beginFill", {Value(0x0000FF)});
  s.call(mc, "moveTo", {Value(30), Value(30)});
  for (auto [x, y] : {std::pair{70, 30}, {70, 70}, {30, 70}, {30, 30}})
    s.call(mc, "lineTo", {Value(x), Value(y)});
  s.call(mc, "endFill");
  if (focusEnabled) set(s, mc, "focusEnabled", Value(true));
  Object* selection = s.vm->get(s.vm->global, s.vm->key("Selection")).object();
  s.call(selection, "setFocus", {Value(mc)});
  return mc;
}

TEST(ScriptTextField, AFocusedClipGetsAYellowFrameInsideItsBounds) {
  struct {
    int version;
    bool focusEnabled;
    bool framed;
  } const cases[] = {{6, true, true}, {8, true, true}, {8, false, false}};
  for (const auto& c : cases) {
    ScriptStage s(c.version);
    focusableSquare(s, c.focusEnabled);
    uint32_t frame = c.framed ? 0xFFFF00 : 0x0000FF;
    EXPECT_EQ(s.pixel(30, 50), frame) << c.version;
    EXPECT_EQ(s.pixel(32, 50), frame) << c.version;
    EXPECT_EQ(s.pixel(69, 69), frame) << c.version;
    EXPECT_EQ(s.pixel(33, 50), 0x0000FFu) << c.version;  // three pixels wide
    EXPECT_EQ(s.pixel(50, 50), 0x0000FFu) << c.version;
    // Nothing outside the bounds (edges are drawn a 256th of a pixel left, which may tint the
    // pixel beside them by one step).
    EXPECT_GE(s.pixel(29, 50) & 0xFEFEFE, 0xFEFEFEu) << c.version;
    Object* selection = s.vm->get(s.vm->global, s.vm->key("Selection")).object();
    if (c.framed) {
      EXPECT_EQ(s.text(s.call(selection, "getFocus")), "_level0.mc");
      s.call(selection, "setFocus", {Value::null()});
      EXPECT_EQ(s.pixel(30, 50), 0x0000FFu);  // the frame goes with the focus
    }
  }
}

}  // namespace

namespace {

TEST(ScriptTextField, MakingAFieldPutsItsPropertiesOnTheCurrentPrototype) {
  ScriptStage s;
  Object* ctor = s.vm->get(s.vm->global, s.vm->key("TextField")).object();
  Object* fresh = s.vm->newObject();
  s.vm->set(ctor, s.vm->key("prototype"), Value(fresh));
  EXPECT_FALSE(s.vm->hasOwn(fresh, s.vm->key("text")));
  field(s, "t", 0, 0, 10, 10);
  EXPECT_TRUE(s.vm->hasOwn(fresh, s.vm->key("text")));
  EXPECT_TRUE(s.vm->hasOwn(fresh, s.vm->key("htmlText")));
}

TEST(ScriptTextField, ARemovedFieldsReferenceAnswersAsWhatTakesItsName) {
  ScriptStage s;
  Object* old = field(s, "a", 0, 0, 10, 10);
  s.call(old, "removeTextField");
  EXPECT_EQ(s.vm->typeOf(Value(old)), "movieclip");
  EXPECT_TRUE(s.vm->get(old, s.vm->key("x")).isUndefined());
  s.draw("createEmptyMovieClip", {s.str("a"), Value(2)});
  set(s, old, "x", Value(3));
  Object* clip = s.vm->get(s.root, s.vm->key("a")).object();
  EXPECT_EQ(s.number(clip, "x"), 3);
  EXPECT_EQ(s.vm->typeOf(Value(old)), "movieclip");
}

TEST(ScriptTextField, VariablesOnTimelinesAreFollowedAndOnObjectsReadOnceBound) {
  ScriptStage s;
  Object* f = field(s, "t", 0, 0, 10, 10);
  set(s, f, "text", s.str("typed"));
  // Missing, it would start with the text the file gave the field: this one has none.
  set(s, f, "variable", s.str("v"));
  EXPECT_TRUE(s.vm->get(s.root, s.vm->key("v")).isUndefined());
  set(s, s.root, "v", s.str("a"));
  EXPECT_EQ(s.text(s.vm->get(f, s.vm->key("text"))), "a");
  Object* o = s.vm->newObject();
  set(s, o, "w", Value(4));
  set(s, s.root, "o", Value(o));
  set(s, f, "variable", s.str("o.w"));
  EXPECT_EQ(s.text(s.vm->get(f, s.vm->key("text"))), "4");
  set(s, o, "w", Value(5));
  EXPECT_EQ(s.text(s.vm->get(f, s.vm->key("text"))), "4");
}

TEST(ScriptTextField, PositionsWrapAsThirtyTwoBitTwips) {
  struct {
    double x, want;
  } const cases[] = {{1e300 * 1e300, 0}, {103584024400.25, 75312566.65}, {-3.5, -3.5}};
  for (const auto& c : cases) {
    ScriptStage s;
    Object* f = field(s, "t", 100, 0, 10, 10);
    set(s, f, "_x", Value(c.x));
    EXPECT_NEAR(s.number(f, "_x"), c.want, 1e-6) << c.x;
  }
  ScriptStage s;
  Object* f = field(s, "t", 100, 0, 10, 10);
  set(s, f, "_x", Value::null());
  EXPECT_EQ(s.number(f, "_x"), 100);  // null changes nothing
}

TEST(ScriptTextField, PrintsAsItsPathThroughObjectsToString) {
  ScriptStage s;
  Object* f = field(s, "t", 0, 0, 10, 10);
  Object* ctor = s.vm->get(s.vm->global, s.vm->key("TextField")).object();
  Object* proto = s.vm->get(ctor, s.vm->key("prototype")).object();
  EXPECT_FALSE(s.vm->hasOwn(proto, s.vm->key("toString")));
  EXPECT_EQ(s.vm->toString(Value(f)), "_level0.t");
}

}  // namespace
