// flash.geom: Point, Rectangle, Matrix and ColorTransform. Their state is ordinary properties
// (x, y, width, a, tx, redMultiplier, ...) that scripts read and change directly; the methods
// work on whatever those hold.

#include "swf/avm1/builtins/geom_classes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>

#include "swf/avm1/add_values.h"
#include "swf/avm1/builtins/package_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/builtins/scripted_method.h"

namespace swf::avm1 {
namespace {

constexpr const char* kGeom = "flash.geom";

// Math.sqrt(x * x + y * y), as the original's script has it: a NaN wins over an infinity.
double scriptLength(double x, double y) { return std::sqrt(x * x + y * y); }

// A value as `"text" + v` makes it: valueOf first (toString first for a Date), toString only
// for what stays an object.
// An object with neither method joins as undefined.
std::string scriptText(Vm& vm, const Value& v) {
  Value p = vm.toPrimitive(v, v.isObject() && isDate(v.o));
  if (!p.isObject() || p.o->asClip()) return vm.toString(p);
  auto callable = [&](String* name) {
    Value fn = vm.get(v.o, name);
    return fn.object() && fn.o->isFunction();
  };
  if (p.o == v.o && !callable(vm.names().toString) && !callable(vm.names().valueOf))
    return vm.toString(Value());
  return vm.toString(v);
}

// "(label" value ", label" value ... ")", each member converted in turn, left to right.
struct Field {
  const char* label;
  const char* name;
};
std::string fieldsText(Vm& vm, Object* self, std::initializer_list<Field> fields) {
  std::string out;
  for (const Field& f : fields) {
    out += f.label;
    out += scriptText(vm, vm.get(self, vm.key(f.name)));
  }
  return out + ")";
}

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
// The constructors keep what they are given, converted or not; without arguments they start
// at zero.
Value pointCtor(Vm& vm, Object* self, Args a) {
  if (!self) return Value();
  bool none = a.size() == 0;
  vm.set(self, vm.key("x"), none ? Value(0.0) : a.at(0));
  vm.set(self, vm.key("y"), none ? Value(0.0) : a.at(1));
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
  if (o && o == self) return Value(true);
  return Value(o && px(vm, self) == px(vm, o) && py(vm, self) == py(vm, o));
}
Value pointLength(Vm& vm, Object* self, Args) {
  return Value(scriptLength(px(vm, self), py(vm, self)));
}
Value pointNormalize(Vm& vm, Object* self, Args a) {
  double len = scriptLength(px(vm, self), py(vm, self));
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
  return text(vm, fieldsText(vm, self, {{"(x=", "x"}, {", y=", "y"}}));
}
Value pointDistance(Vm& vm, Object*, Args a) {
  Object *p = a.at(0).object(), *q = a.at(1).object();
  if (!p || !q) return Value();
  return Value(scriptLength(px(vm, p) - px(vm, q), py(vm, p) - py(vm, q)));
}
Value pointInterpolate(Vm& vm, Object*, Args a) {
  Object *p = a.at(0).object(), *q = a.at(1).object();
  double f = arg(vm, a, 2);
  return obj(
      point(vm, px(vm, q) + f * (px(vm, p) - px(vm, q)), py(vm, q) + f * (py(vm, p) - py(vm, q))));
}
// The original's polar names its class without the package, finds nothing to construct and
// gives undefined whatever it is asked.
Value pointPolar(Vm&, Object*, Args) { return Value(); }

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
  if (!self) return Value();
  if (a.size() == 0) {  // through the method, which a script may have replaced
    vm.callMethod(self, vm.key("setEmpty"), {});
    return Value();
  }
  const char* names[] = {"x", "y", "width", "height"};
  for (size_t i = 0; i < 4; ++i) vm.set(self, vm.key(names[i]), a.at(i));
  return Value();
}
Value rectToString(Vm& vm, Object* self, Args) {
  return text(vm, fieldsText(vm, self,
                             {{"(x=", "x"}, {", y=", "y"}, {", w=", "width"}, {", h=", "height"}}));
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
Value memberOf(Vm& vm, Object* o, const char* name) {
  return o ? vm.get(o, vm.key(name)) : Value();
}
// The script's `a >= b`: the negation of `a < b`, so a NaN passes it.
Value atLeast(Vm& vm, const Value& a, const Value& b) {
  return Value(!vm.toBoolean(vm.less(a, b)));
}
// contains and containsPoint run as the original's script does, with its operators: `a >= b`
// is the negation of `a < b` (so a NaN passes it) and `this.x + this.width` joins text, each
// operator asking objects for valueOf as it goes.
template <typename X, typename Y>
Value scriptContains(Vm& vm, Object* self, X x, Y y) {
  auto member = [&](const char* name) { return memberOf(vm, self, name); };
  Value r = atLeast(vm, x(), member("x"));
  if (!vm.toBoolean(r)) return r;
  r = vm.less(x(), addValues(vm, member("x"), member("width")));
  if (!vm.toBoolean(r)) return r;
  r = atLeast(vm, y(), member("y"));
  if (!vm.toBoolean(r)) return r;
  return vm.less(y(), addValues(vm, member("y"), member("height")));
}
Value rectContains(Vm& vm, Object* self, Args a) {
  return scriptContains(
      vm, self, [&] { return a.at(0); }, [&] { return a.at(1); });
}
Value rectContainsPoint(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  return scriptContains(
      vm, self, [&] { return memberOf(vm, p, "x"); }, [&] { return memberOf(vm, p, "y"); });
}
// The other rectangle's top left corner must be inside this one (as contains has it) and its
// bottom right corner past the top left and not past the bottom right; both right and bottom
// edges are worked out first, with the script's `+`.
Value rectContainsRectangle(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  auto of = [&](Object* on, const char* name) { return memberOf(vm, on, name); };
  Value otherRight = addValues(vm, of(o, "x"), of(o, "width"));
  Value otherBottom = addValues(vm, of(o, "y"), of(o, "height"));
  Value right = addValues(vm, of(self, "x"), of(self, "width"));
  Value bottom = addValues(vm, of(self, "y"), of(self, "height"));
  Vm::Pin pins[] = {{vm, otherRight}, {vm, otherBottom}, {vm, right}, {vm, bottom}};
  const std::function<Value()> checks[] = {
      [&] { return atLeast(vm, of(o, "x"), of(self, "x")); },
      [&] { return atLeast(vm, of(o, "y"), of(self, "y")); },
      [&] { return vm.less(of(o, "x"), right); },
      [&] { return vm.less(of(o, "y"), bottom); },
      [&] { return vm.less(of(self, "x"), otherRight); },
      [&] { return vm.less(of(self, "y"), otherBottom); },
      [&] { return atLeast(vm, right, otherRight); },
      [&] { return atLeast(vm, bottom, otherBottom); },
  };
  Value r(true);
  for (const auto& check : checks)
    if (r = check(); !vm.toBoolean(r)) break;
  return r;
}
// Whether `o` has Rectangle's prototype on its chain (what `instanceof` asks).
bool isRectangle(Vm& vm, Object* o) {
  Value ctor = vm.get(packageObject(vm, kGeom), vm.key("Rectangle"));
  Object* proto = ctor.object() ? vm.get(ctor.o, vm.key("prototype")).object() : nullptr;
  for (int i = 0; o && proto && i < 256; ++i) {
    o = vm.get(o, vm.key("__proto__")).object();
    if (o == proto) return true;
  }
  return false;
}
Value rectEquals(Vm& vm, Object* self, Args a) {
  Object* o = a.at(0).object();
  if (!o || !isRectangle(vm, o)) return Value(false);
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
Value rectRight(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return Value(r.x + r.w);
}
Value rectBottom(Vm& vm, Object* self, Args) {
  R r = rectOf(vm, self);
  return Value(r.y + r.h);
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
// Moves the top left corner and keeps the bottom right one where it was.
Value rectSetTopLeft(Vm& vm, Object* self, Args a) {
  Object* p = a.at(0).object();
  R r = rectOf(vm, self);
  double x = px(vm, p), y = py(vm, p);
  setRect(vm, self, {x, y, r.w + r.x - x, r.h + r.y - y});
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
// Without arguments the matrix is what identity() makes of it; otherwise it keeps the six
// values as given, missing ones undefined.
Value matrixCtor(Vm& vm, Object* self, Args a) {
  if (!self) return Value();
  if (a.size() == 0) {
    vm.callMethod(self, vm.key("identity"), {});
    return Value();
  }
  const char* names[] = {"a", "b", "c", "d", "tx", "ty"};
  for (size_t i = 0; i < 6; ++i) vm.set(self, vm.key(names[i]), a.at(i));
  return Value();
}
Value matrixToString(Vm& vm, Object* self, Args) {
  return text(vm, fieldsText(vm, self,
                             {{"(a=", "a"},
                              {", b=", "b"},
                              {", c=", "c"},
                              {", d=", "d"},
                              {", tx=", "tx"},
                              {", ty=", "ty"}}));
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
template <size_t... I>
void colorAccessors(Vm& vm, Object* proto, std::index_sequence<I...>);

// A colour transform keeps its eight numbers inside; scripts reach them through accessors on
// the prototype, which give nothing to movies before SWF 8.
class ColorTransformObject : public Object {
 public:
  double v[8] = {1, 1, 1, 1, 0, 0, 0, 0};
};
Object* allocateColor(Vm& vm) { return vm.make<ColorTransformObject>(); }
ColorTransformObject* colorOf(Vm& vm, Object* o, bool reading) {
  if (reading && vm.version() < 8) return nullptr;
  return dynamic_cast<ColorTransformObject*>(o);
}

// All eight or nothing: fewer arguments leave the identity.
Value colorCtor(Vm& vm, Object* self, Args a) {
  auto* c = colorOf(vm, self, false);
  if (!c || a.size() < 8) return Value();
  for (size_t i = 0; i < 8; ++i) c->v[i] = vm.toNumber(a.at(i));
  return Value();
}
template <size_t I>
Value colorGet(Vm& vm, Object* self, Args) {
  auto* c = colorOf(vm, self, true);
  return c ? Value(c->v[I]) : Value();
}
// Before SWF 8 the accessors are not there for scripts: a write makes a plain member (but
// leaves the prototype that holds the accessor as it is).
bool plainBelow8(Vm& vm, Object* self, const char* name, const Value& v) {
  if (vm.version() >= 8) return false;
  String* n = vm.intern(name);
  if (self && !self->props.find(vm.key(n))) vm.put(self, n, v, 0);
  return true;
}
template <size_t I>
Value colorSet(Vm& vm, Object* self, Args a) {
  if (plainBelow8(vm, self, kColorNames[I], a.at(0))) return Value();
  if (auto* c = colorOf(vm, self, false)) c->v[I] = vm.toNumber(a.at(0));
  return Value();
}
Value colorToString(Vm& vm, Object* self, Args) {
  return text(vm, fieldsText(vm, self,
                             {{"(redMultiplier=", "redMultiplier"},
                              {", greenMultiplier=", "greenMultiplier"},
                              {", blueMultiplier=", "blueMultiplier"},
                              {", alphaMultiplier=", "alphaMultiplier"},
                              {", redOffset=", "redOffset"},
                              {", greenOffset=", "greenOffset"},
                              {", blueOffset=", "blueOffset"},
                              {", alphaOffset=", "alphaOffset"}}));
}
// The offsets as one colour, each shifted into place as a 32-bit integer (no masking: a
// negative red makes the whole value negative).
Value colorGetRgb(Vm& vm, Object* self, Args) {
  auto* c = colorOf(vm, self, true);
  if (!c) return Value();
  auto ch = [&](int i) { return uint32_t(vm.toInt32(Value(c->v[i]))); };
  return Value(double(int32_t(ch(4) << 16 | ch(5) << 8 | ch(6))));
}
Value colorSetRgb(Vm& vm, Object* self, Args a) {
  if (plainBelow8(vm, self, "rgb", a.at(0))) return Value();
  auto* c = colorOf(vm, self, false);
  if (!c) return Value();
  uint32_t rgb = uint32_t(vm.toInt32(a.at(0)));
  c->v[4] = double((rgb >> 16) & 255);
  c->v[5] = double((rgb >> 8) & 255);
  c->v[6] = double(rgb & 255);
  c->v[0] = c->v[1] = c->v[2] = 0;
  return Value();
}
template <size_t... I>
void colorAccessors(Vm& vm, Object* proto, std::index_sequence<I...>) {
  (defineAccessor(vm, proto, kColorNames[I], colorGet<I>, colorSet<I>, 0), ...);
}
void colorValues(Vm& vm, Object* o, double (&out)[8]) {
  if (auto* c = dynamic_cast<ColorTransformObject*>(o)) {
    std::copy(std::begin(c->v), std::end(c->v), out);
    return;
  }
  for (size_t i = 0; i < 8; ++i) out[i] = numberOf(vm, o, kColorNames[i]);
}
Value colorConcat(Vm& vm, Object* self, Args a) {
  auto* c = colorOf(vm, self, false);
  Object* o = a.at(0).object();
  if (!c || !o) return Value();
  double other[8];
  colorValues(vm, o, other);
  for (int i = 0; i < 4; ++i) {
    c->v[i + 4] += c->v[i] * other[i + 4];
    c->v[i] *= other[i];
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

void colorTransformOf(Vm& vm, Object* o, double (&out)[8]) { colorValues(vm, o, out); }

bool isColorTransform(Object* o) { return dynamic_cast<ColorTransformObject*>(o) != nullptr; }

void installGeom(Vm& vm) {
  // Point and Rectangle were written in script in the original: their methods are plain
  // properties with prototypes of their own, and their accessors have no flags.
  Object* p = vm.newObject();
  defineScripted(vm, p, "add", pointAdd, 0);
  defineScripted(vm, p, "subtract", pointSubtract, 0);
  defineScripted(vm, p, "clone", pointClone, 0);
  defineScripted(vm, p, "equals", pointEquals, 0);
  defineScripted(vm, p, "normalize", pointNormalize, 0);
  defineScripted(vm, p, "offset", pointOffset, 0);
  defineScripted(vm, p, "toString", pointToString, 0);
  defineAccessor(vm, p, "length", pointLength, nullptr, 0);
  Function* pc = definePackageClass(vm, kGeom, "Point", pointCtor, p);
  defineScripted(vm, pc, "distance", pointDistance, 0);
  defineScripted(vm, pc, "interpolate", pointInterpolate, 0);
  defineScripted(vm, pc, "polar", pointPolar, 0);

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
  for (const auto& m : rectMethods) defineScripted(vm, r, m.name, m.fn, 0);
  // left and top are the x and y members themselves; the prototype lists them as undefined.
  vm.put(r, "left", Value(), 0);
  vm.put(r, "top", Value(), 0);
  defineAccessor(vm, r, "right", rectRight, rectSetRight, 0);
  defineAccessor(vm, r, "bottom", rectBottom, rectSetBottom, 0);
  defineAccessor(vm, r, "topLeft", rectTopLeft, rectSetTopLeft, 0);
  defineAccessor(vm, r, "bottomRight", rectBottomRight, rectSetBottomRight, 0);
  defineAccessor(vm, r, "size", rectSize, rectSetSize, 0);
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
  for (const auto& mm : matrixMethods) defineScripted(vm, m, mm.name, mm.fn, 0);
  definePackageClass(vm, kGeom, "Matrix", matrixCtor, m);

  Object* c = vm.newObject();
  defineScripted(vm, c, "toString", colorToString, 0);
  vm.define(c, "concat", colorConcat, Version8);
  colorAccessors(vm, c, std::make_index_sequence<8>());
  defineAccessor(vm, c, "rgb", colorGetRgb, colorSetRgb, 0);
  definePackageClass(vm, kGeom, "ColorTransform", colorCtor, c, allocateColor);
}

}  // namespace swf::avm1
