// MovieClip methods about space: bounds, coordinate conversion, hit tests and dragging.

#include <cmath>

#include "swf/avm1/builtins/movie_clip_groups.h"
#include "swf/avm1/builtins/native_support.h"

namespace swf::avm1 {

DisplayNode* clipArgument(Vm& vm, const Value& v) {
  if (ClipObject* c = v.object() ? v.o->asClip() : nullptr) return c->node();
  if (!v.isString()) return nullptr;
  return vm.resolveTarget(vm.currentClip(), v.s->text);
}

namespace {

// What the original player reports for a clip that draws nothing.
constexpr double kNoBounds = 6710886.35;

Value bounds(Vm& vm, Object* self, Args args, bool withStrokes) {
  DisplayNode* n = nodeOf(self);
  if (!n) return Value();
  DisplayNode* space = args.size() > 0 ? clipArgument(vm, args.at(0)) : n;
  if (args.size() > 0 && !space) return Value();
  double box[4];
  if (!n->nodeBounds(space, withStrokes, box)) box[0] = box[1] = box[2] = box[3] = kNoBounds;
  // A bare object, as the original gives: no prototype, so it prints as "[type Object]".
  Object* o = vm.newObject();
  o->props.remove(vm.key(vm.names().proto));
  o->props.remove(vm.key(vm.names().constructor));
  vm.set(o, vm.intern("xMin"), Value(box[0]));
  vm.set(o, vm.intern("xMax"), Value(box[2]));
  vm.set(o, vm.intern("yMin"), Value(box[1]));
  vm.set(o, vm.intern("yMax"), Value(box[3]));
  return Value(o);
}

Value getBounds(Vm& vm, Object* self, Args args) { return bounds(vm, self, args, true); }
Value getRect(Vm& vm, Object* self, Args args) { return bounds(vm, self, args, false); }

Value hitTest(Vm& vm, Object* self, Args args) {
  DisplayNode* n = nodeOf(self);
  if (!n || args.size() == 0) return Value();
  if (args.size() >= 2) {
    double x = vm.toNumber(args.at(0)), y = vm.toNumber(args.at(1));
    if (!std::isfinite(x) || !std::isfinite(y)) return Value(false);
    return Value(n->hitTestPoint(x, y, vm.toBoolean(args.at(2))));
  }
  // Unlike getBounds, a target path in text is not a clip here.
  ClipObject* c = args.at(0).object() ? args.at(0).o->asClip() : nullptr;
  DisplayNode* other = c ? c->node() : nullptr;
  double a[4], b[4];
  if (!other || !n->nodeBounds(nullptr, true, a) || !other->nodeBounds(nullptr, true, b))
    return Value(false);
  return Value(a[0] <= b[2] && b[0] <= a[2] && a[1] <= b[3] && b[1] <= a[3]);
}

// Converts the x and y of a point object in place.
Value convertPoint(Vm& vm, Object* self, Args args, bool toGlobal) {
  DisplayNode* n = nodeOf(self);
  Object* pt = args.at(0).object();
  if (!n || !pt) return Value();
  String *xName = vm.intern("x"), *yName = vm.intern("y");
  // The point's own plain members only (not inherited ones, no getters, whatever their
  // flags), and only numbers: converted through whole twips in 32 bits, as the original does.
  // The results go straight back into those members, flags untouched.
  auto own = [&](String* name) {
    Property* p = pt->props.find(vm.key(name));
    return p && !p->getter ? p : nullptr;
  };
  Property *px = own(xName), *py = own(yName);
  if (!px || !py || !px->value.isNumber() || !py->value.isNumber()) return Value();
  Value vx = px->value, vy = py->value;
  auto twips = [&](double v) { return double(vm.toInt32(Value(v * 20))) / 20; };
  double x = twips(vx.n), y = twips(vy.n);
  if (toGlobal)
    n->localToGlobal(x, y);
  else
    n->globalToLocal(x, y);
  px->value = Value(x);
  py->value = Value(y);
  return Value();
}

Value localToGlobal(Vm& vm, Object* self, Args args) { return convertPoint(vm, self, args, true); }
Value globalToLocal(Vm& vm, Object* self, Args args) { return convertPoint(vm, self, args, false); }

Value startDrag(Vm& vm, Object* self, Args args) {
  DisplayNode* n = nodeOf(self);
  if (!n) return Value();
  bool lock = vm.toBoolean(args.at(0));
  if (args.size() >= 5) {
    double r[4];
    for (int i = 0; i < 4; ++i) r[i] = vm.toNumber(args.at(size_t(i) + 1));
    n->startDrag(lock, r);
  } else {
    n->startDrag(lock, nullptr);
  }
  return Value();
}

Value stopDrag(Vm&, Object* self, Args) {
  if (DisplayNode* n = nodeOf(self)) n->stopDrag();
  return Value();
}

}  // namespace

void installMovieClipGeometry(Vm& vm, Object* p) {
  vm.define(p, "getBounds", getBounds);
  vm.define(p, "getRect", getRect, DontEnum | Version8);
  vm.define(p, "hitTest", hitTest);
  vm.define(p, "localToGlobal", localToGlobal);
  vm.define(p, "globalToLocal", globalToLocal);
  vm.define(p, "startDrag", startDrag);
  vm.define(p, "stopDrag", stopDrag);
}

}  // namespace swf::avm1
