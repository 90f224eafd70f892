// flash.geom.Transform: a clip's matrix and colour transform as Matrix and ColorTransform
// objects, and MovieClip's `transform` property that makes one for the clip.

#include "swf/player/transform_class.h"

#include <cmath>

#include "swf/avm1/builtins/geom_classes.h"
#include "swf/avm1/builtins/package_support.h"
#include "swf/player/script_access.h"
#include "swf/player/sprite_instance.h"

namespace swf {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

namespace {

class TransformObject : public Object {
 public:
  Value clip;  // what the constructor was given
  void traceChildren(avm1::Tracer& t) override {
    Object::traceChildren(t);
    clip.trace(t);
  }
};

Object* allocateTransform(Vm& vm) { return vm.make<TransformObject>(); }

// Movies before SWF 8 get nothing from a Transform's accessors.
PlacedObject* targetOf(Vm& vm, Object* self) {
  if (vm.version() < 8) return nullptr;
  auto* t = dynamic_cast<TransformObject*>(self);
  avm1::ClipObject* c = t && t->clip.object() ? t->clip.o->asClip() : nullptr;
  avm1::DisplayNode* n = c ? c->node() : nullptr;
  return n ? dynamic_cast<PlacedObject*>(n) : nullptr;
}

Value construct(Vm&, Object* self, Args a) {
  auto* t = dynamic_cast<TransformObject*>(self);
  if (!t) return Value();
  // A reference to a clip that is gone, with nothing at its path, makes a transform of
  // nothing: a clip made there later is not taken up.
  avm1::ClipObject* c = a.at(0).object() ? a.at(0).o->asClip() : nullptr;
  t->clip = c && !c->node() ? Value() : a.at(0);
  return Value();
}

Value toMatrix(Vm& vm, const Matrix& m) {
  return Value(avm1::newMatrix(vm, {m.a, m.b, m.c, m.d, m.tx / 20, m.ty / 20}));
}

// The original works in 8.8 fixed point for multipliers and whole numbers for offsets,
// rounding down.
ColorTransform quantized(const ColorTransform& c) {
  auto mul = [](double v) { return std::floor(v * 256) / 256; };
  return {mul(c.rm),        mul(c.gm),        mul(c.bm),        mul(c.am),
          std::floor(c.ra), std::floor(c.ga), std::floor(c.ba), std::floor(c.aa)};
}

Value toColorTransform(Vm& vm, const ColorTransform& c) {
  const double v[8] = {c.rm, c.gm, c.bm, c.am, c.ra, c.ga, c.ba, c.aa};
  return Value(avm1::newColorTransform(vm, v));
}

// The object and its parents up to its level's root, outermost applied last.
template <typename F>
void eachToRoot(PlacedObject* o, F&& f) {
  for (int i = 0; o && i < 4096; ++i, o = o->parentTimeline()) f(*o);
}

Value getMatrix(Vm& vm, Object* self, Args) {
  PlacedObject* o = targetOf(vm, self);
  return o ? toMatrix(vm, o->matrix) : Value();
}

// Only an object with all six members counts.
Value setMatrix(Vm& vm, Object* self, Args a) {
  PlacedObject* o = targetOf(vm, self);
  Object* m = a.at(0).object();
  if (!o || !m) return Value();
  for (const char* n : {"a", "b", "c", "d", "tx", "ty"})
    if (!hasMember(vm, m, n)) return Value();
  o->matrix = matrixFromObject(vm, m);
  o->markChanged();
  return Value();
}

Value getConcatenatedMatrix(Vm& vm, Object* self, Args) {
  PlacedObject* o = targetOf(vm, self);
  if (!o) return Value();
  Matrix m;
  eachToRoot(o, [&](PlacedObject& p) { m = p.matrix * m; });
  return toMatrix(vm, m);
}

Value getColorTransform(Vm& vm, Object* self, Args) {
  PlacedObject* o = targetOf(vm, self);
  return o ? toColorTransform(vm, o->cxform) : Value();
}

Value setColorTransform(Vm& vm, Object* self, Args a) {
  PlacedObject* o = targetOf(vm, self);
  Object* c = a.at(0).object();
  if (!o || !c || !avm1::isColorTransform(c)) return Value();
  double v[8];
  avm1::colorTransformOf(vm, c, v);
  o->cxform = quantized({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
  o->markChanged();
  return Value();
}

Value getConcatenatedColorTransform(Vm& vm, Object* self, Args) {
  PlacedObject* o = targetOf(vm, self);
  if (!o) return Value();
  ColorTransform c;
  eachToRoot(o, [&](PlacedObject& p) { c = quantized(p.cxform * c); });
  return toColorTransform(vm, c);
}

Value getPixelBounds(Vm& vm, Object* self, Args) {
  PlacedObject* o = targetOf(vm, self);
  if (!o) return Value();
  return Value(avm1::newRectangle(vm, 0, 0, 0, 0));
}

// mc.transform: a new Transform of the clip each time; assigning one takes over its matrix
// and colour transform.
Value getClipTransform(Vm& vm, Object* self, Args) {
  if (!self || !self->asClip()) return Value();
  return Value(avm1::makeInstance(vm, "flash.geom", "Transform", {Value(self)}));
}

Value setClipTransform(Vm& vm, Object* self, Args a) {
  PlacedObject* to = self && self->asClip() ? placedOfClip(self) : nullptr;
  PlacedObject* from = targetOf(vm, a.at(0).object());
  if (!to || !from) return Value();
  to->matrix = from->matrix;
  to->cxform = from->cxform;
  to->markChanged();
  return Value();
}

}  // namespace

PlacedObject* placedOfClip(Object* clip) {
  avm1::ClipObject* c = clip ? clip->asClip() : nullptr;
  avm1::DisplayNode* n = c ? c->node() : nullptr;
  return n ? dynamic_cast<PlacedObject*>(n) : nullptr;
}

void installTransform(Vm& vm, Object* movieClipProto) {
  Object* proto = vm.newObject();
  avm1::defineAccessor(vm, proto, "matrix", getMatrix, setMatrix, 0);
  avm1::defineAccessor(vm, proto, "concatenatedMatrix", getConcatenatedMatrix, nullptr, 0);
  avm1::defineAccessor(vm, proto, "colorTransform", getColorTransform, setColorTransform, 0);
  avm1::defineAccessor(vm, proto, "concatenatedColorTransform", getConcatenatedColorTransform,
                       nullptr, 0);
  avm1::defineAccessor(vm, proto, "pixelBounds", getPixelBounds, nullptr, 0);
  avm1::definePackageClass(vm, "flash.geom", "Transform", construct, proto, allocateTransform);
  avm1::defineAccessor(vm, movieClipProto, "transform", getClipTransform, setClipTransform,
                       avm1::DontEnum | avm1::Version8);
}

}  // namespace swf
