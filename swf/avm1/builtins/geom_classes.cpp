// flash.geom: Point, Rectangle, Matrix and ColorTransform. Their state is ordinary properties
// (x, y, width, a, tx, redMultiplier, ...) that scripts read and change directly; the methods
// work on whatever those hold.

#include "swf/avm1/builtins/geom_classes.h"

#include <cmath>
#include <numbers>

#include "swf/avm1/builtins/package_support.h"

namespace swf::avm1 {
namespace {

constexpr const char* kGeom = "flash.geom";

double arg(Vm& vm, Args a, size_t i, double fallback = 0) {
  return i < a.size() ? vm.toNumber(a.at(i)) : fallback;
}

Object* point(Vm& vm, double x, double y) {
  return makeInstance(vm, kGeom, "Point", {Value(x), Value(y)});
}

Object* rectangle(Vm& vm, double x, double y, double w, double h) {
  return makeInstance(vm, kGeom, "Rectangle", {Value(x), Value(y), Value(w), Value(h)});
}

// ---- Point ----
Value pointCtor(Vm& vm, Object* self, Args a) {
  setNumber(vm, self, "x", arg(vm, a, 0));
  setNumber(vm, self, "y", arg(vm, a, 1));
  return Value();
}
double px(Vm& vm, Object* o) { return numberOf(vm, o, "x"); }
double py(Vm& vm, Object* o) { return numberOf(vm, o, "y"); }
Value pointAdd(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  return obj(point(vm, px(vm, self) + px(vm, o), py(vm, self) + py(vm, o)));
}
Value pointSubtract(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  return obj(point(vm, px(vm, self) - px(vm, o), py(vm, self) - py(vm, o)));
}
Value pointClone(Vm& vm, Object* self, Args) { return obj(point(vm, px(vm, self), py(vm, self))); }
Value pointEquals(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  return Value(o && px(vm, self) == px(vm, o) && py(vm, self) == py(vm, o));
}
Value pointLength(Vm& vm, Object* self, Args) {
  return Value(std::hypot(px(vm, self), py(vm, self)));
}
Value pointNormalize(Vm& vm, Object* self, Args a) {
  double len = std::hypot(px(vm, self), py(vm, self));
  if (len > 0) {
    double k = arg(vm, a, 0) / len;
    setNumber(vm, self, "x", px(vm, self) * k);
    setNumber(vm, self, "y", py(vm, self) * k);
  }
  return Value();
}
Value pointOffset(Vm& vm, Object* self, Args a) {
  setNumber(vm, self, "x", px(vm, self) + arg(vm, a, 0));
  setNumber(vm, self, "y", py(vm, self) + arg(vm, a, 1));
  return Value();
}
Value pointToString(Vm& vm, Object* self, Args) {
  return text(vm, "(x=" + vm.toString(vm.get(self, vm.key("x"))) +
                      ", y=" + vm.toString(vm.get(self, vm.key("y"))) + ")");
}
Value pointDistance(Vm& vm, Object*, Args a) {
  Object *p = a.at(0).object(), *q = a.at(1).object();
  if (!p || !q) return Value();
  return Value(std::hypot(px(vm, p) - px(vm, q), py(vm, p) - py(vm, q)));
}
Value pointInterpolate(Vm& vm, Object*, Args a) {
  Object *p = a.at(0).object(), *q = a.at(1).object();
  double f = arg(vm, a, 2);
  return obj(
      point(vm, px(vm, q) + f * (px(vm, p) - px(vm, q)), py(vm, q) + f * (py(vm, p) - py(vm, q))));
}
Value pointPolar(Vm& vm, Object*, Args a) {
  double len = arg(vm, a, 0), ang = arg(vm, a, 1);
  return obj(point(vm, len * std::cos(ang), len * std::sin(ang)));
}

// ---- Rectangle ----
struct R {
  double x, y, w, h;
};
R rectOf(Vm& vm, Object* o) {
  return {numberOf(vm, o, "x"), numberOf(vm, o, "y"), numberOf(vm, o, "width"),
          numberOf(vm, o, "height")};
}
void setRect(Vm& vm, Object* o, R r) {
  setNumber(vm, o, "x", r.x);
  setNumber(vm, o, "y", r.y);
  setNumber(vm, o, "width", r.w);
  setNumber(vm, o, "height", r.h);
}
Value rectCtor(Vm& vm, Object* self, Args a) {
  setRect(vm, self, {arg(vm, a, 0), arg(vm, a, 1), arg(vm, a, 2), arg(vm, a, 3)});
  return Value();
}
Value rectToString(Vm& vm, Object* self, Args) {
  auto m = [&](const char* n) { return vm.toString(vm.get(self, vm.key(n))); };
  return text(vm,
              "(x=" + m("x") + ", y=" + m("y") + ", w=" + m("width") + ", h=" + m("height") + ")");
}
Value rectClone(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return obj(rectangle(vm, r.x, r.y, r.w, r.h));
}
bool isEmpty(const R& r) { return !(r.w > 0 && r.h > 0); }
Value rectIsEmpty(Vm& vm, Object* self, Args) { return Value(isEmpty(rectOf(vm, self))); }
Value rectSetEmpty(Vm& vm, Object* self, Args) {
  setRect(vm, self, {0, 0, 0, 0});
  return Value();
}
bool contains(const R& r, double x, double y) {
  return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}
Value rectContains(Vm& vm, Object* self, Args a) {
  return Value(contains(rectOf(vm, self), arg(vm, a, 0), arg(vm, a, 1)));
}
Value rectContainsPoint(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  return Value(p && contains(rectOf(vm, self), px(vm, p), py(vm, p)));
}
Value rectContainsRectangle(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self), o = rectOf(vm, a.at(0).object());
  if (isEmpty(o)) return Value(false);
  return Value(o.x >= r.x && o.y >= r.y && o.x + o.w <= r.x + r.w && o.y + o.h <= r.y + r.h);
}
Value rectEquals(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  if (!o) return Value(false);
  R r = rectOf(vm, self), q = rectOf(vm, o);
  return Value(r.x == q.x && r.y == q.y && r.w == q.w && r.h == q.h);
}
Value rectInflate(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self);
  double dx = arg(vm, a, 0), dy = arg(vm, a, 1);
  setRect(vm, self, {r.x - dx, r.y - dy, r.w + 2 * dx, r.h + 2 * dy});
  return Value();
}
Value rectInflatePoint(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  Value v[2] = {Value(px(vm, p)), Value(py(vm, p))};
  return rectInflate(vm, self, Args{v, 2});
}
Value rectOffset(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self);
  setRect(vm, self, {r.x + arg(vm, a, 0), r.y + arg(vm, a, 1), r.w, r.h});
  return Value();
}
Value rectOffsetPoint(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  Value v[2] = {Value(px(vm, p)), Value(py(vm, p))};
  return rectOffset(vm, self, Args{v, 2});
}
Value rectIntersection(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self), o = rectOf(vm, a.at(0).object());
  double x0 = std::max(r.x, o.x), y0 = std::max(r.y, o.y);
  double x1 = std::min(r.x + r.w, o.x + o.w), y1 = std::min(r.y + r.h, o.y + o.h);
  if (!(x1 > x0 && y1 > y0)) return obj(rectangle(vm, 0, 0, 0, 0));
  return obj(rectangle(vm, x0, y0, x1 - x0, y1 - y0));
}
Value rectIntersects(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self), o = rectOf(vm, a.at(0).object());
  return Value(std::max(r.x, o.x) < std::min(r.x + r.w, o.x + o.w) &&
               std::max(r.y, o.y) < std::min(r.y + r.h, o.y + o.h));
}
Value rectUnion(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self), o = rectOf(vm, a.at(0).object());
  if (isEmpty(r)) return obj(rectangle(vm, o.x, o.y, o.w, o.h));
  if (isEmpty(o)) return obj(rectangle(vm, r.x, r.y, r.w, r.h));
  double x0 = std::min(r.x, o.x), y0 = std::min(r.y, o.y);
  double x1 = std::max(r.x + r.w, o.x + o.w), y1 = std::max(r.y + r.h, o.y + o.h);
  return obj(rectangle(vm, x0, y0, x1 - x0, y1 - y0));
}
Value rectLeft(Vm& vm, Object* self, Args) { return Value(rectOf(vm, self).x); }
Value rectTop(Vm& vm, Object* self, Args) { return Value(rectOf(vm, self).y); }
Value rectRight(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return Value(r.x + r.w);
}
Value rectBottom(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return Value(r.y + r.h);
}
Value rectSetLeft(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self);
  double v = arg(vm, a, 0);
  setRect(vm, self, {v, r.y, r.w + r.x - v, r.h});
  return Value();
}
Value rectSetTop(Vm& vm, Object* self, Args a) {
  R r = rectOf(vm, self);
  double v = arg(vm, a, 0);
  setRect(vm, self, {r.x, v, r.w, r.h + r.y - v});
  return Value();
}
Value rectSetRight(Vm& vm, Object* self, Args a) {
  setNumber(vm, self, "width", arg(vm, a, 0) - rectOf(vm, self).x);
  return Value();
}
Value rectSetBottom(Vm& vm, Object* self, Args a) {
  setNumber(vm, self, "height", arg(vm, a, 0) - rectOf(vm, self).y);
  return Value();
}
Value rectTopLeft(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return obj(point(vm, r.x, r.y));
}
Value rectBottomRight(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return obj(point(vm, r.x + r.w, r.y + r.h));
}
Value rectSize(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return obj(point(vm, r.w, r.h));
}
Value rectSetTopLeft(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  Value v = Value(px(vm, p));
  rectSetLeft(vm, self, Args{&v, 1});
  v = Value(py(vm, p));
  rectSetTop(vm, self, Args{&v, 1});
  return Value();
}
Value rectSetBottomRight(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  Value v = Value(px(vm, p));
  rectSetRight(vm, self, Args{&v, 1});
  v = Value(py(vm, p));
  rectSetBottom(vm, self, Args{&v, 1});
  return Value();
}
Value rectSetSize(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  setNumber(vm, self, "width", px(vm, p));
  setNumber(vm, self, "height", py(vm, p));
  return Value();
}

// ---- Matrix ----
Value matrixCtor(Vm& vm, Object* self, Args a) {
  bool given = a.size() > 0;
  setMatrix(vm, self,
            {given ? arg(vm, a, 0) : 1, arg(vm, a, 1), arg(vm, a, 2), given ? arg(vm, a, 3) : 1,
             arg(vm, a, 4), arg(vm, a, 5)});
  return Value();
}
Value matrixToString(Vm& vm, Object* self, Args) {
  auto m = [&](const char* n) { return vm.toString(vm.get(self, vm.key(n))); };
  return text(vm, "(a=" + m("a") + ", b=" + m("b") + ", c=" + m("c") + ", d=" + m("d") +
                      ", tx=" + m("tx") + ", ty=" + m("ty") + ")");
}
Value matrixClone(Vm& vm, Object* self, Args) { return obj(newMatrix(vm, matrixOf(vm, self))); }
Value matrixIdentity(Vm& vm, Object* self, Args) {
  setMatrix(vm, self, {});
  return Value();
}
Value matrixConcat(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  if (o) setMatrix(vm, self, multiply(matrixOf(vm, o), matrixOf(vm, self)));
  return Value();
}
Value matrixInvert(Vm& vm, Object* self, Args) {
  GeomMatrix m = matrixOf(vm, self);
  double det = m.a * m.d - m.b * m.c;
  if (det == 0) {
    setMatrix(vm, self, {});
    return Value();
  }
  setMatrix(vm, self,
            {m.d / det, -m.b / det, -m.c / det, m.a / det, (m.c * m.ty - m.d * m.tx) / det,
             (m.b * m.tx - m.a * m.ty) / det});
  return Value();
}
Value matrixRotate(Vm& vm, Object* self, Args a) {
  double r = arg(vm, a, 0), c = std::cos(r), s = std::sin(r);
  setMatrix(vm, self, multiply({c, s, -s, c, 0, 0}, matrixOf(vm, self)));
  return Value();
}
Value matrixScale(Vm& vm, Object* self, Args a) {
  setMatrix(vm, self, multiply({arg(vm, a, 0), 0, 0, arg(vm, a, 1), 0, 0}, matrixOf(vm, self)));
  return Value();
}
Value matrixTranslate(Vm& vm, Object* self, Args a) {
  GeomMatrix m = matrixOf(vm, self);
  m.tx += arg(vm, a, 0);
  m.ty += arg(vm, a, 1);
  setMatrix(vm, self, m);
  return Value();
}
Value matrixCreateBox(Vm& vm, Object* self, Args a) {
  double sx = arg(vm, a, 0), sy = arg(vm, a, 1), r = arg(vm, a, 2);
  double c = std::cos(r), s = std::sin(r);
  setMatrix(vm, self, {sx * c, sy * s, -sx * s, sy * c, arg(vm, a, 3), arg(vm, a, 4)});
  return Value();
}
Value matrixCreateGradientBox(Vm& vm, Object* self, Args a) {
  constexpr double kSide = 1638.4;  // pixels across the gradient square
  double w = arg(vm, a, 0), h = arg(vm, a, 1), r = arg(vm, a, 2);
  double x = arg(vm, a, 3), y = arg(vm, a, 4), c = std::cos(r), s = std::sin(r);
  setMatrix(vm, self,
            {c * w / kSide, s * h / kSide, -s * w / kSide, c * h / kSide, x + w / 2, y + h / 2});
  return Value();
}
Value matrixTransformPoint(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  GeomMatrix m = matrixOf(vm, self);
  double x = px(vm, p), y = py(vm, p);
  return obj(point(vm, m.a * x + m.c * y + m.tx, m.b * x + m.d * y + m.ty));
}
Value matrixDeltaTransformPoint(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  GeomMatrix m = matrixOf(vm, self);
  double x = px(vm, p), y = py(vm, p);
  return obj(point(vm, m.a * x + m.c * y, m.b * x + m.d * y));
}

// ---- ColorTransform ----
const char* const kColorNames[8] = {"redMultiplier",   "greenMultiplier", "blueMultiplier",
                                    "alphaMultiplier", "redOffset",       "greenOffset",
                                    "blueOffset",      "alphaOffset"};
Value colorCtor(Vm& vm, Object* self, Args a) {
  for (size_t i = 0; i < 8; ++i) setNumber(vm, self, kColorNames[i], arg(vm, a, i, i < 4 ? 1 : 0));
  return Value();
}
Value colorToString(Vm& vm, Object* self, Args) {
  std::string s = "(";
  for (size_t i = 0; i < 8; ++i) {
    if (i) s += ", ";
    s += std::string(kColorNames[i]) + "=" + vm.toString(vm.get(self, vm.key(kColorNames[i])));
  }
  return text(vm, s + ")");
}
Value colorGetRgb(Vm& vm, Object* self, Args) {
  auto ch = [&](const char* n) { return uint32_t(vm.toInt32(Value(numberOf(vm, self, n)))) & 255; };
  return Value(double(ch("redOffset") << 16 | ch("greenOffset") << 8 | ch("blueOffset")));
}
Value colorSetRgb(Vm& vm, Object* self, Args a) {
  uint32_t c = uint32_t(vm.toInt32(a.at(0)));
  setNumber(vm, self, "redOffset", double((c >> 16) & 255));
  setNumber(vm, self, "greenOffset", double((c >> 8) & 255));
  setNumber(vm, self, "blueOffset", double(c & 255));
  for (const char* n : {"redMultiplier", "greenMultiplier", "blueMultiplier"})
    setNumber(vm, self, n, 0);
  return Value();
}
Value colorConcat(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  if (!o) return Value();
  double m[4], k[4], om[4], ok[4];
  for (int i = 0; i < 4; ++i) {
    m[i] = numberOf(vm, self, kColorNames[i]);
    k[i] = numberOf(vm, self, kColorNames[i + 4]);
    om[i] = numberOf(vm, o, kColorNames[i]);
    ok[i] = numberOf(vm, o, kColorNames[i + 4]);
  }
  for (int i = 0; i < 4; ++i) {
    setNumber(vm, self, kColorNames[i + 4], k[i] + m[i] * ok[i]);
    setNumber(vm, self, kColorNames[i], m[i] * om[i]);
  }
  return Value();
}

}  // namespace

GeomMatrix matrixOf(Vm& vm, Object* o) {
  return {numberOf(vm, o, "a"), numberOf(vm, o, "b"),  numberOf(vm, o, "c"),
          numberOf(vm, o, "d"), numberOf(vm, o, "tx"), numberOf(vm, o, "ty")};
}

void setMatrix(Vm& vm, Object* o, const GeomMatrix& m) {
  setNumber(vm, o, "a", m.a);
  setNumber(vm, o, "b", m.b);
  setNumber(vm, o, "c", m.c);
  setNumber(vm, o, "d", m.d);
  setNumber(vm, o, "tx", m.tx);
  setNumber(vm, o, "ty", m.ty);
}

GeomMatrix multiply(const GeomMatrix& outer, const GeomMatrix& inner) {
  return {outer.a * inner.a + outer.c * inner.b,
          outer.b * inner.a + outer.d * inner.b,
          outer.a * inner.c + outer.c * inner.d,
          outer.b * inner.c + outer.d * inner.d,
          outer.a * inner.tx + outer.c * inner.ty + outer.tx,
          outer.b * inner.tx + outer.d * inner.ty + outer.ty};
}

Object* newMatrix(Vm& vm, const GeomMatrix& m) {
  return makeInstance(vm, kGeom, "Matrix",
                      {Value(m.a), Value(m.b), Value(m.c), Value(m.d), Value(m.tx), Value(m.ty)});
}

Object* newRectangle(Vm& vm, double x, double y, double w, double h) {
  return rectangle(vm, x, y, w, h);
}

Object* newColorTransform(Vm& vm, const double (&values)[8]) {
  return makeInstance(vm, kGeom, "ColorTransform",
                      {Value(values[0]), Value(values[1]), Value(values[2]), Value(values[3]),
                       Value(values[4]), Value(values[5]), Value(values[6]), Value(values[7])});
}

void colorTransformOf(Vm& vm, Object* o, double (&out)[8]) {
  for (size_t i = 0; i < 8; ++i) out[i] = numberOf(vm, o, kColorNames[i]);
}

void installGeom(Vm& vm) {
  Object* p = vm.newObject();
  vm.define(p, "add", pointAdd);
  vm.define(p, "subtract", pointSubtract);
  vm.define(p, "clone", pointClone);
  vm.define(p, "equals", pointEquals);
  vm.define(p, "normalize", pointNormalize);
  vm.define(p, "offset", pointOffset);
  vm.define(p, "toString", pointToString);
  defineAccessor(vm, p, "length", pointLength);
  Function* pc = definePackageClass(vm, kGeom, "Point", pointCtor, p);
  vm.define(pc, "distance", pointDistance);
  vm.define(pc, "interpolate", pointInterpolate);
  vm.define(pc, "polar", pointPolar);

  Object* r = vm.newObject();
  struct {
    const char* name;
    NativeFn fn;
  } const rectMethods[] = {{"toString", rectToString},
                           {"clone", rectClone},
                           {"isEmpty", rectIsEmpty},
                           {"setEmpty", rectSetEmpty},
                           {"contains", rectContains},
                           {"containsPoint", rectContainsPoint},
                           {"containsRectangle", rectContainsRectangle},
                           {"equals", rectEquals},
                           {"inflate", rectInflate},
                           {"inflatePoint", rectInflatePoint},
                           {"offset", rectOffset},
                           {"offsetPoint", rectOffsetPoint},
                           {"intersection", rectIntersection},
                           {"intersects", rectIntersects},
                           {"union", rectUnion}};
  for (const auto& m : rectMethods) vm.define(r, m.name, m.fn);
  defineAccessor(vm, r, "left", rectLeft, rectSetLeft);
  defineAccessor(vm, r, "top", rectTop, rectSetTop);
  defineAccessor(vm, r, "right", rectRight, rectSetRight);
  defineAccessor(vm, r, "bottom", rectBottom, rectSetBottom);
  defineAccessor(vm, r, "topLeft", rectTopLeft, rectSetTopLeft);
  defineAccessor(vm, r, "bottomRight", rectBottomRight, rectSetBottomRight);
  defineAccessor(vm, r, "size", rectSize, rectSetSize);
  definePackageClass(vm, kGeom, "Rectangle", rectCtor, r);

  Object* m = vm.newObject();
  struct {
    const char* name;
    NativeFn fn;
  } const matrixMethods[] = {{"toString", matrixToString},
                             {"clone", matrixClone},
                             {"identity", matrixIdentity},
                             {"concat", matrixConcat},
                             {"invert", matrixInvert},
                             {"rotate", matrixRotate},
                             {"scale", matrixScale},
                             {"translate", matrixTranslate},
                             {"createBox", matrixCreateBox},
                             {"createGradientBox", matrixCreateGradientBox},
                             {"transformPoint", matrixTransformPoint},
                             {"deltaTransformPoint", matrixDeltaTransformPoint}};
  for (const auto& mm : matrixMethods) vm.define(m, mm.name, mm.fn);
  definePackageClass(vm, kGeom, "Matrix", matrixCtor, m);

  Object* c = vm.newObject();
  vm.define(c, "toString", colorToString);
  vm.define(c, "concat", colorConcat);
  defineAccessor(vm, c, "rgb", colorGetRgb, colorSetRgb);
  definePackageClass(vm, kGeom, "ColorTransform", colorCtor, c);
}

}  // namespace swf::avm1
