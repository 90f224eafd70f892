// flash.geom arithmetic, BitmapData pixels and filter settings, called as scripts call them.
#include <cmath>

#include "script_graphics_support.h"

namespace {

using rvtest::ScriptStage;
using swf::avm1::Object;
using swf::avm1::Value;

TEST(ScriptGeom, ArithmeticAndPrintedForms) {
  ScriptStage s;
  auto* p = s.make("geom", "Point", {Value(3), Value(4)});
  auto* q = s.make("geom", "Point", {Value(1), Value(1)});
  auto* r = s.make("geom", "Rectangle", {Value(0), Value(0), Value(10), Value(10)});
  auto* r2 = s.make("geom", "Rectangle", {Value(5), Value(5), Value(10), Value(20)});
  auto* m = s.make("geom", "Matrix", {Value(2), Value(0), Value(0), Value(2), Value(10), Value(0)});
  auto* ct = s.make("geom", "ColorTransform");
  ASSERT_TRUE(p && q && r && r2 && m && ct);
  struct {
    swf::avm1::Object* self;
    const char* method;
    std::vector<Value> args;
    const char* want;
  } const cases[] = {
      {p, "add", {Value(q)}, "(x=4, y=5)"},
      {p, "subtract", {Value(q)}, "(x=2, y=3)"},
      {r, "union", {Value(r2)}, "(x=0, y=0, w=15, h=25)"},
      {r, "intersection", {Value(r2)}, "(x=5, y=5, w=5, h=5)"},
      {r, "containsPoint", {Value(p)}, "true"},
      {r2, "containsPoint", {Value(p)}, "false"},
      {m, "transformPoint", {Value(p)}, "(x=16, y=8)"},
      {m, "deltaTransformPoint", {Value(p)}, "(x=6, y=8)"},
      {m, "toString", {}, "(a=2, b=0, c=0, d=2, tx=10, ty=0)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(s.text(s.call(c.self, c.method, c.args)), c.want) << c.method;
  EXPECT_EQ(s.number(p, "length"), 5);
  s.call(m, "invert");
  EXPECT_EQ(s.text(s.call(m, "toString")), "(a=0.5, b=0, c=0, d=0.5, tx=-5, ty=0)");
  s.call(m, "createGradientBox", {Value(1638.4), Value(819.2), Value(0), Value(10), Value(20)});
  EXPECT_EQ(s.text(s.call(m, "toString")), "(a=1, b=0, c=0, d=0.5, tx=829.2, ty=429.6)");
  s.vm->set(ct, s.vm->key("rgb"), Value(0x336699));
  EXPECT_EQ(s.number(ct, "greenOffset"), 0x66);
  EXPECT_EQ(s.number(ct, "redMultiplier"), 0);
  EXPECT_EQ(s.number(ct, "rgb"), 0x336699);
}

// Point and Rectangle keep what they are given and compare the way script does.
TEST(ScriptGeom, UnconvertedMembersAndScriptComparisons) {
  ScriptStage s;
  auto* none = s.make("geom", "Point");
  auto* raw = s.make("geom", "Point", {Value(), Value::null()});
  auto* odd = s.make("geom", "Point", {Value(40), Value(NAN)});
  auto* far = s.make("geom", "Point", {Value(50), Value(-INFINITY)});
  auto* r = s.make("geom", "Rectangle", {Value(10), Value(20), Value(30), Value(40)});
  auto* unset = s.make("geom", "Rectangle", {Value()});
  auto* plain = s.vm->newObject();  // a rectangle's members without its class
  for (const char* n : {"x", "y", "width", "height"}) s.vm->set(plain, s.vm->key(n), Value(1));
  auto* same = s.make("geom", "Rectangle", {Value(1), Value(1), Value(1), Value(1)});
  // x as text: `x + width` joins, so its right edge is "030" (octal 24) or "-030".
  auto* octal = s.make("geom", "Rectangle", {s.str("0"), Value(20), Value(30), Value(40)});
  auto* negative = s.make("geom", "Rectangle", {s.str("-0"), Value(20), Value(30), Value(40)});
  auto* empty = s.make("geom", "Rectangle", {s.str(""), Value(20), Value(30), Value(40)});
  auto* inner = s.make("geom", "Rectangle", {Value(20), Value(20), Value(10), Value(10)});
  ASSERT_TRUE(none && raw && odd && far && r && unset && same && octal && negative && empty);
  struct {
    swf::avm1::Object* self;
    const char* method;
    std::vector<Value> args;
    const char* want;
  } const cases[] = {
      {none, "toString", {}, "(x=0, y=0)"},
      {raw, "toString", {}, "(x=undefined, y=null)"},
      {odd, "equals", {Value(odd)}, "true"},  // itself, NaN or not
      {odd, "equals", {Value(far)}, "false"},
      {unset, "toString", {}, "(x=undefined, y=undefined, w=undefined, h=undefined)"},
      {unset, "contains", {Value(1), Value(1)}, "undefined"},  // NaN compares to undefined
      {r, "contains", {Value(15), Value(25)}, "true"},
      {r, "contains", {Value(5), Value(25)}, "false"},
      {same, "equals", {Value(plain)}, "false"},  // not a Rectangle
      {octal, "contains", {Value(20), Value(20)}, "true"},
      {octal, "containsRectangle", {Value(inner)}, "false"},
      {negative, "contains", {Value(20), Value(20)}, "false"},
      // `a >= b` is `!(a < b)`: NaN passes it, while `a < b` gives undefined.
      {empty, "contains", {Value(20), Value(20)}, "true"},
      {empty, "containsRectangle", {Value(inner)}, "undefined"},
      {r, "contains", {s.str(""), Value(20)}, "undefined"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(s.text(s.call(c.self, c.method, c.args)), c.want) << c.method;
  // Distances with a NaN stay NaN even beside an infinity.
  swf::avm1::Object* cls =
      s.vm->get(s.vm->get(s.vm->get(s.vm->global, s.vm->key("flash")), s.vm->key("geom")),
                s.vm->key("Point"))
          .object();
  EXPECT_TRUE(std::isnan(s.vm->toNumber(s.call(cls, "distance", {Value(odd), Value(far)}))));
}

TEST(ScriptBitmapData, SizesAreBoundedAndPixelsKeepTheirAlpha) {
  ScriptStage s;
  struct {
    double w, h, wantWidth;
  } const sizes[] = {{10, 20, 10},         {2880, 1, 2880}, {2881, 1, -1},
                     {100000, 100000, -1}, {0, 5, -1},      {-3, 5, -1}};
  for (const auto& z : sizes) {
    auto* b = s.make("display", "BitmapData", {Value(z.w), Value(z.h)});
    ASSERT_TRUE(b);
    EXPECT_EQ(s.number(b, "width"), z.wantWidth) << z.w << "x" << z.h;
  }
  auto* t = s.make("display", "BitmapData", {Value(4), Value(4), Value(true), Value(0)});
  auto* o = s.make("display", "BitmapData", {Value(4), Value(4), Value(false), Value(0)});
  s.call(t, "setPixel32", {Value(1), Value(1), Value(double(0x80FF0000u))});
  s.call(o, "setPixel32", {Value(1), Value(1), Value(double(0x80FF0000u))});
  EXPECT_EQ(uint32_t(s.vm->toInt32(s.call(t, "getPixel32", {Value(1), Value(1)}))), 0x80FF0000u);
  EXPECT_EQ(uint32_t(s.vm->toInt32(s.call(o, "getPixel32", {Value(1), Value(1)}))), 0xFFFF0000u);
  EXPECT_EQ(s.number(t, "transparent"), 1);
  // setPixel keeps the alpha there was; outside the bitmap nothing happens.
  s.call(t, "setPixel", {Value(1), Value(1), Value(0x00FF00)});
  s.call(t, "setPixel", {Value(9), Value(9), Value(0x00FF00)});
  EXPECT_EQ(uint32_t(s.vm->toInt32(s.call(t, "getPixel32", {Value(1), Value(1)}))), 0x8000FF00u);
  // fillRect is clipped to the bitmap; a clone is a copy, not a view.
  auto* rect = s.make("geom", "Rectangle", {Value(-5), Value(2), Value(100), Value(100)});
  auto* c = s.call(t, "clone").object();
  s.call(t, "fillRect", {Value(rect), Value(double(0xFF0000FFu))});
  EXPECT_EQ(s.vm->toNumber(s.call(t, "getPixel", {Value(3), Value(3)})), 0x0000FF);
  EXPECT_EQ(s.vm->toNumber(s.call(c, "getPixel", {Value(3), Value(3)})), 0);
  s.call(t, "dispose");
  EXPECT_EQ(s.number(t, "width"), -1);
  EXPECT_TRUE(s.call(t, "getPixel", {Value(0), Value(0)}).isUndefined());
}

TEST(ScriptBitmapData, AttachedBitmapsShowLaterChanges) {
  ScriptStage s;
  auto* b = s.make("display", "BitmapData", {Value(50), Value(50), Value(false), Value(0xFF0000)});
  s.draw("attachBitmap", {Value(b), Value(1)});
  EXPECT_EQ(s.pixel(25, 25), 0xFF0000u);
  EXPECT_EQ(s.pixel(75, 75), 0xFFFFFFu);
  // Changed after being drawn: the next picture shows the change.
  auto* rect = s.make("geom", "Rectangle", {Value(0), Value(0), Value(50), Value(50)});
  s.call(b, "fillRect", {Value(rect), Value(double(0xFF00FF00u))});
  EXPECT_EQ(s.pixel(25, 25), 0x00FF00u);
  // draw() paints a clip into a bitmap: the stage's drawing lands in `d`.
  s.draw("beginFill", {Value(0x0000FF)});
  s.draw("moveTo", {Value(60), Value(60)});
  for (auto [x, y] : {std::pair{90.0, 60.0}, {90.0, 90.0}, {60.0, 90.0}, {60.0, 60.0}})
    s.draw("lineTo", {Value(x), Value(y)});
  s.draw("endFill");
  auto* d = s.make("display", "BitmapData", {Value(100), Value(100), Value(true), Value(0)});
  s.call(d, "draw", {Value(s.root)});
  EXPECT_EQ(uint32_t(s.vm->toInt32(s.call(d, "getPixel32", {Value(75), Value(75)}))), 0xFF0000FFu);
  EXPECT_EQ(uint32_t(s.vm->toInt32(s.call(d, "getPixel32", {Value(30), Value(30)}))), 0xFF00FF00u);
}

TEST(ScriptBitmapData, CopyPixelsMergesAndTakesAlphaFromASecondBitmap) {
  ScriptStage s;
  auto px = [&](Object* b, int x, int y) {
    return uint32_t(s.vm->toInt32(s.call(b, "getPixel32", {Value(x), Value(y)})));
  };
  // The source: half-transparent red. The alpha source: opaque at x 0, transparent at x 1.
  auto* src = s.make("display", "BitmapData",
                     {Value(2), Value(1), Value(true), Value(double(0x80FF0000u))});
  auto* mask = s.make("display", "BitmapData", {Value(2), Value(1), Value(true), Value(0)});
  s.call(mask, "setPixel32", {Value(0), Value(0), Value(double(0xFF000000u))});
  auto* rect = s.make("geom", "Rectangle", {Value(0), Value(0), Value(2), Value(1)});
  auto* origin = s.make("geom", "Point", {Value(0), Value(0)});
  struct {
    bool transparent, merge, withMask;
    uint32_t want0, want1;  // the destination's pixels after the copy
  } const cases[] = {
      // A transparent bitmap takes the source as it is unless asked to merge.
      {true, false, false, 0x80FF0000u, 0x80FF0000u},
      {true, true, false, 0xC0AA0055u, 0xC0AA0055u},
      // An opaque one always shows the source over what it held, merged or not.
      {false, false, false, 0xFF80007Fu, 0xFF80007Fu},
      {false, true, false, 0xFF80007Fu, 0xFF80007Fu},
      // Where the alpha source is transparent nothing is copied over; without merging the
      // transparent bitmap is cleared there.
      {true, false, true, 0x80FF0000u, 0x00000000u},
      {false, false, true, 0xFF80007Fu, 0xFF0000FFu},
  };
  for (const auto& c : cases) {
    uint32_t fill = c.transparent ? 0x800000FFu : 0xFF0000FFu;
    auto* d = s.make("display", "BitmapData",
                     {Value(2), Value(1), Value(c.transparent), Value(double(fill))});
    std::vector<Value> args{Value(src), Value(rect), Value(origin)};
    args.push_back(c.withMask ? Value(mask) : Value());
    args.push_back(Value(origin));
    args.push_back(Value(c.merge));
    s.call(d, "copyPixels", args);
    std::string what = std::string(c.transparent ? "transparent" : "opaque") +
                       (c.merge ? " merged" : "") + (c.withMask ? " masked" : "");
    // Straight colours come back from premultiplied pixels, within a step of rounding.
    EXPECT_NEAR(double(px(d, 0, 0) >> 24), double(c.want0 >> 24), 1) << what;
    EXPECT_NEAR(double((px(d, 0, 0) >> 16) & 255), double((c.want0 >> 16) & 255), 2) << what;
    EXPECT_NEAR(double(px(d, 0, 0) & 255), double(c.want0 & 255), 2) << what;
    EXPECT_NEAR(double(px(d, 1, 0) >> 24), double(c.want1 >> 24), 1) << what;
    EXPECT_NEAR(double(px(d, 1, 0) & 255), double(c.want1 & 255), 2) << what;
  }
}

TEST(ScriptBitmapData, DrawHonoursScriptMasksAndColourTransforms) {
  ScriptStage s;
  auto square = [&](Object* clip, double x0, double size, int rgb) {
    s.call(clip, "beginFill", {Value(rgb)});
    s.call(clip, "moveTo", {Value(x0), Value(x0)});
    for (auto [x, y] : {std::pair{x0 + size, x0}, {x0 + size, x0 + size}, {x0, x0 + size}})
      s.call(clip, "lineTo", {Value(x), Value(y)});
    s.call(clip, "endFill");
  };
  auto* shown = s.draw("createEmptyMovieClip", {s.str("shown"), Value(1)}).object();
  auto* mask = s.draw("createEmptyMovieClip", {s.str("mask"), Value(2)}).object();
  ASSERT_TRUE(shown && mask);
  square(shown, 0, 20, 0x0000FF);
  square(mask, 5, 10, 0x00FF00);
  s.call(shown, "setMask", {Value(mask)});
  auto pixel = [&](Object* b, int x, int y) {
    return uint32_t(s.vm->toInt32(s.call(b, "getPixel32", {Value(x), Value(y)})));
  };
  auto* masked = s.make("display", "BitmapData", {Value(20), Value(20), Value(true), Value(0)});
  s.call(masked, "draw", {Value(shown)});
  EXPECT_EQ(pixel(masked, 10, 10), 0xFF0000FFu);  // inside the mask
  EXPECT_EQ(pixel(masked, 2, 2), 0u);             // outside it
  auto* ofMask = s.make("display", "BitmapData", {Value(20), Value(20), Value(true), Value(0)});
  s.call(ofMask, "draw", {Value(mask)});
  EXPECT_EQ(pixel(ofMask, 10, 10), 0u);  // a mask draws nothing
  // A bitmap drawn through a colour transform: red halved, green set.
  auto* from = s.make("display", "BitmapData", {Value(4), Value(4), Value(false), Value(0xFF0000)});
  auto* to = s.make("display", "BitmapData", {Value(4), Value(4), Value(false), Value(0)});
  auto* m = s.make("geom", "Matrix");
  auto* ct =
      s.make("geom", "ColorTransform",
             {Value(0.5), Value(1), Value(1), Value(1), Value(0), Value(255), Value(0), Value(0)});
  s.call(to, "draw", {Value(from), Value(m), Value(ct)});
  EXPECT_NEAR(double(pixel(to, 1, 1) >> 16 & 255), 127, 1);
  EXPECT_EQ(pixel(to, 1, 1) >> 8 & 255, 255u);
}

TEST(ScriptBitmapData, DisposedBitmapsLeaveTheirFillsEmpty) {
  ScriptStage s;
  auto* b = s.make("display", "BitmapData", {Value(50), Value(50), Value(false), Value(0xFF0000)});
  s.draw("beginBitmapFill", {Value(b)});
  for (auto [x, y] : {std::pair{50.0, 0.0}, {50.0, 50.0}, {0.0, 50.0}, {0.0, 0.0}})
    s.draw("lineTo", {Value(x), Value(y)});
  s.draw("endFill");
  EXPECT_EQ(s.pixel(25, 25), 0xFF0000u);
  s.call(b, "dispose");
  EXPECT_EQ(s.pixel(25, 25), 0xFFFFFFu);
}

TEST(ScriptFilters, BlurSettingsAreBoundedWhateverTheScriptGives) {
  ScriptStage s;
  struct {
    Value given;
    double blur, quality;  // NaN: not a number
  } const cases[] = {
      {Value(), NAN, 0},         {Value(true), 1, 1},    {Value(0.5), 0.5, 0}, {Value(-1), 0, 0},
      {Value(INFINITY), 255, 0}, {Value(1e11), 255, 15}, {s.str("7"), 7, 7},   {s.str("x"), NAN, 0},
  };
  for (const auto& c : cases) {
    auto* f = s.make("filters", "BlurFilter", {c.given, c.given, c.given});
    ASSERT_TRUE(f);
    std::string what = s.text(c.given);
    if (std::isnan(c.blur))
      EXPECT_TRUE(std::isnan(s.number(f, "blurX"))) << what;
    else
      EXPECT_EQ(s.number(f, "blurY"), c.blur) << what;
    EXPECT_EQ(s.number(f, "quality"), c.quality) << what;
  }
  // Without arguments the defaults; called on a filter without `new`, nothing changes.
  auto* f = s.make("filters", "BlurFilter", {Value(1), Value(2), Value(3)});
  Object* filters =
      s.vm->get(s.vm->get(s.vm->global, s.vm->key("flash")), s.vm->key("filters")).object();
  ASSERT_TRUE(f && filters);
  s.call(s.vm->get(filters, s.vm->key("BlurFilter")).object(), "call", {Value(f)});
  EXPECT_EQ(s.number(f, "blurX"), 1);
  EXPECT_EQ(s.number(f, "quality"), 3);
  auto* plain = s.make("filters", "BlurFilter");
  EXPECT_EQ(s.number(plain, "blurX"), 4);
  EXPECT_EQ(s.number(plain, "quality"), 1);
}

}  // namespace

namespace {

// The SWF 8 classes keep their state inside, behind accessors that movies before SWF 8 do not
// get: reads give undefined and writes make plain members.
TEST(ScriptGeom, StateBehindAccessorsByVersion) {
  const std::vector<Value> eight = {Value(0.5), Value(1), Value(1), Value(1),
                                    Value(4),   Value(5), Value(6), Value(0)};
  struct {
    int version;
    size_t args;
    const char* want;
  } const cases[] = {
      {8, 8,
       "(redMultiplier=0.5, greenMultiplier=1, blueMultiplier=1, alphaMultiplier=1, "
       "redOffset=4, greenOffset=5, blueOffset=6, alphaOffset=0)"},
      {8, 7,
       "(redMultiplier=1, greenMultiplier=1, blueMultiplier=1, alphaMultiplier=1, "
       "redOffset=0, greenOffset=0, blueOffset=0, alphaOffset=0)"},  // all or nothing
      {7, 8,
       "(redMultiplier=undefined, greenMultiplier=undefined, blueMultiplier=undefined, "
       "alphaMultiplier=undefined, redOffset=undefined, greenOffset=undefined, "
       "blueOffset=undefined, alphaOffset=undefined)"},
  };
  for (const auto& c : cases) {
    ScriptStage s(c.version);
    std::vector<Value> args(eight.begin(), eight.begin() + long(c.args));
    auto* ct = s.make("geom", "ColorTransform", args);
    ASSERT_TRUE(ct);
    EXPECT_EQ(s.text(s.call(ct, "toString")), c.want) << c.version << " " << c.args;
  }
  ScriptStage old(7);
  auto* ct = old.make("geom", "ColorTransform");
  auto* blur = old.make("filters", "BlurFilter", {Value(1), Value(2), Value(3)});
  ASSERT_TRUE(ct && blur);
  EXPECT_TRUE(old.vm->get(blur, old.vm->key("blurX")).isUndefined());
  old.vm->set(ct, old.vm->key("redOffset"), old.str("kept"));
  EXPECT_EQ(old.text(old.vm->get(ct, old.vm->key("redOffset"))), "kept");

  ScriptStage s;
  auto* c8 = s.make("geom", "ColorTransform");
  s.vm->set(c8, s.vm->key("redOffset"), Value(-5000));  // shifted as a signed integer
  EXPECT_EQ(s.number(c8, "rgb"), -0x13880000);
  auto* m = s.make("geom", "Matrix", {Value(10)});
  EXPECT_EQ(s.text(s.call(m, "toString")),
            "(a=10, b=undefined, c=undefined, d=undefined, tx=undefined, ty=undefined)");
}

// _xscale, _yscale and _rotation read back as set; rotation folds into -180..180.
TEST(ScriptClipGeometry, ScaleAndRotationReadBackAsSet) {
  ScriptStage s;
  auto* clip = s.draw("createEmptyMovieClip", {s.str("c"), Value(1)}).object();
  ASSERT_TRUE(clip);
  struct {
    const char* property;
    Value given;
    double want;  // NaN: reads NaN
  } const cases[] = {
      {"_xscale", Value(-42), -42},        {"_rotation", Value(1000), -80},
      {"_rotation", Value(-540), -180},    {"_rotation", Value(540), 180},
      {"_rotation", Value(NAN), 180},  // ignored
      {"_rotation", Value(INFINITY), NAN},
  };
  for (const auto& c : cases) {
    s.vm->set(clip, s.vm->key(c.property), c.given);
    double got = s.number(clip, c.property);
    if (std::isnan(c.want))
      EXPECT_TRUE(std::isnan(got)) << c.property;
    else
      EXPECT_EQ(got, c.want) << c.property << " " << s.text(c.given);
  }
}

// _focusrect: a level's root takes numbers, other clips booleans; undefined changes nothing;
// SWF 5 reads it back as a number.
TEST(ScriptClipGeometry, FocusRectByClip) {
  ScriptStage s;
  auto* clip = s.draw("createEmptyMovieClip", {s.str("c"), Value(1)}).object();
  ASSERT_TRUE(clip);
  auto focus = [&](Object* o) { return s.text(s.vm->get(o, s.vm->key("_focusrect"))); };
  EXPECT_EQ(focus(s.root), "true");
  EXPECT_EQ(focus(clip), "null");
  struct {
    Value given;
    const char *root, *clip;
  } const cases[] = {
      {Value(0), "false", "false"},
      {s.str("x"), "false", "true"},  // not a number: the root keeps its value
      {Value(2), "true", "true"},
      {Value(), "true", "true"},
  };
  for (const auto& c : cases) {
    s.vm->set(s.root, s.vm->key("_focusrect"), c.given);
    s.vm->set(clip, s.vm->key("_focusrect"), c.given);
    EXPECT_EQ(focus(s.root), c.root) << s.text(c.given);
    EXPECT_EQ(focus(clip), c.clip) << s.text(c.given);
  }
  s.vm->setVersion(5);  // SWF 5 reads it as a number
  EXPECT_EQ(focus(s.root), "1");
}

// localToGlobal converts only numbers, in whole twips of 32 bits; Transform takes a matrix
// only with all six members and a colour transform in 8.8 steps.
TEST(ScriptClipGeometry, PointsAndTransforms) {
  ScriptStage s;
  auto* clip = s.draw("createEmptyMovieClip", {s.str("c"), Value(1)}).object();
  ASSERT_TRUE(clip);
  s.vm->set(clip, s.vm->key("_x"), Value(50));
  auto* pt = s.vm->newObject();
  s.vm->set(pt, s.vm->key("x"), s.str("1"));
  s.vm->set(pt, s.vm->key("y"), Value(1));
  s.call(clip, "localToGlobal", {Value(pt)});
  EXPECT_EQ(s.text(s.vm->get(pt, s.vm->key("x"))), "1");
  s.vm->set(pt, s.vm->key("x"), Value(2147483648.0));  // 0 twips once wrapped
  s.call(clip, "localToGlobal", {Value(pt)});
  EXPECT_EQ(s.number(pt, "x"), 50);

  auto* t = s.make("geom", "Transform", {Value(clip)});
  ASSERT_TRUE(t);
  auto* partial = s.vm->newObject();
  s.vm->set(partial, s.vm->key("tx"), Value(7));
  s.vm->set(t, s.vm->key("matrix"), Value(partial));
  EXPECT_EQ(s.number(clip, "_x"), 50);
  auto* m = s.make("geom", "Matrix", {Value(1), Value(0), Value(0), Value(1), Value(7), Value(8)});
  s.vm->set(t, s.vm->key("matrix"), Value(m));
  EXPECT_EQ(s.number(clip, "_x"), 7);
  auto* ct =
      s.make("geom", "ColorTransform",
             {Value(0.34), Value(1), Value(1), Value(1), Value(4.5), Value(0), Value(0), Value(0)});
  s.vm->set(t, s.vm->key("colorTransform"), Value(ct));
  Object* back = s.vm->get(t, s.vm->key("colorTransform")).object();
  ASSERT_TRUE(back);
  EXPECT_EQ(s.number(back, "redMultiplier"), 87.0 / 256);
  EXPECT_EQ(s.number(back, "redOffset"), 4);
}

}  // namespace
