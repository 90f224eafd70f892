// Color: reads and writes the colour transform of the clip it was made for.

#include <cmath>

#include "swf/avm1/builtins/movie_clip_groups.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

// The Color object keeps its target (a clip or a path) as its inner value.
DisplayNode* targetOf(Vm& vm, Object* self) {
  if (!self) return nullptr;
  return clipArgument(vm, self->primitive);
}

Value colorConstruct(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  self->primitive = args.at(0);
  // The target shows as a member, and the new object is sealed whole, as in the original.
  vm.put(self, "target", args.at(0));
  vm.setAllFlags(self, Fixed);
  return Value();
}

Value setRGB(Vm& vm, Object* self, Args args) {
  DisplayNode* n = targetOf(vm, self);
  if (!n || args.size() == 0) return Value();
  int32_t rgb = vm.toInt32(args.at(0));
  double v[8];
  n->getColorTransform(v);
  v[0] = v[2] = v[4] = 0;
  v[1] = (rgb >> 16) & 0xff;
  v[3] = (rgb >> 8) & 0xff;
  v[5] = rgb & 0xff;
  n->setColorTransform(v);
  return Value();
}

Value getRGB(Vm& vm, Object* self, Args) {
  DisplayNode* n = targetOf(vm, self);
  if (!n) return Value();
  double v[8];
  n->getColorTransform(v);
  // The offsets as they are, not cut to a byte: the original adds them up the same way.
  auto channel = [](double d) { return std::isfinite(d) ? int32_t(d) : 0; };
  return Value(double(int32_t(uint32_t(channel(v[1])) << 16) |
                      int32_t(uint32_t(channel(v[3])) << 8) | channel(v[5])));
}

const char* const kFields[8] = {"ra", "rb", "ga", "gb", "ba", "bb", "aa", "ab"};

Value setTransform(Vm& vm, Object* self, Args args) {
  DisplayNode* n = targetOf(vm, self);
  Object* t = args.at(0).object();
  if (!n || !t) return Value();
  double v[8];
  n->getColorTransform(v);
  for (int i = 0; i < 8; ++i) {
    String* name = vm.intern(kFields[i]);
    if (!vm.has(t, name)) continue;
    double d = vm.toNumber(vm.get(t, name));
    // Stored as the file stores them: multipliers in 1/256ths, offsets whole.
    v[i] = std::isfinite(d) ? (i % 2 == 0 ? std::trunc(d * 2.56) / 2.56 : std::trunc(d)) : 0;
  }
  n->setColorTransform(v);
  return Value();
}

Value getTransform(Vm& vm, Object* self, Args) {
  DisplayNode* n = targetOf(vm, self);
  if (!n) return Value();
  double v[8];
  n->getColorTransform(v);
  Object* o = vm.newObject();
  for (int i = 0; i < 8; ++i) vm.set(o, vm.intern(kFields[i]), Value(v[i]));
  return Value(o);
}

}  // namespace

void installColor(Vm& vm) {
  Object* p = vm.newObject();
  vm.define(p, "setRGB", setRGB);
  vm.define(p, "getRGB", getRGB);
  vm.define(p, "setTransform", setTransform);
  vm.define(p, "getTransform", getTransform);
  vm.defineClass("Color", colorConstruct, p);
  vm.setAllFlags(p, Fixed);
}

}  // namespace swf::avm1
