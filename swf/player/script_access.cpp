#include "swf/player/script_access.h"

#include <cmath>

namespace swf {

PlacedObject* placedOf(avm1::Vm& vm, avm1::Object* self) {
  avm1::ClipObject* c = self ? self->asClip() : vm.currentClip();
  avm1::DisplayNode* n = c ? c->node() : nullptr;
  return n ? dynamic_cast<PlacedObject*>(n) : nullptr;
}

double finiteNumber(avm1::Vm& vm, const avm1::Value& v) {
  double d = vm.toNumber(v);
  return std::isfinite(d) ? d : 0;
}

avm1::Value member(avm1::Vm& vm, avm1::Object* o, const char* name) {
  return o ? vm.get(o, vm.key(name)) : avm1::Value();
}

double numberMember(avm1::Vm& vm, avm1::Object* o, const char* name) {
  return vm.toNumber(member(vm, o, name));
}

bool hasMember(avm1::Vm& vm, avm1::Object* o, const char* name) {
  return o && vm.has(o, vm.key(name));
}

RGBA colorFrom(avm1::Vm& vm, const avm1::Value& rgb, const avm1::Value& alphaPercent) {
  uint32_t c = uint32_t(vm.toInt32(rgb));
  double a = alphaPercent.isUndefined() ? 100 : vm.toNumber(alphaPercent);
  if (std::isnan(a)) a = 0;
  a = std::clamp(a, 0.0, 100.0);
  return RGBA{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(std::lround(a * 2.55))};
}

Matrix matrixFromObject(avm1::Vm& vm, avm1::Object* o) {
  Matrix m;
  auto read = [&](const char* name, double& out) {
    if (!hasMember(vm, o, name)) return;
    double v = numberMember(vm, o, name);
    out = std::isfinite(v) ? v : 0;
  };
  read("a", m.a);
  read("b", m.b);
  read("c", m.c);
  read("d", m.d);
  read("tx", m.tx);
  read("ty", m.ty);
  m.tx *= 20;
  m.ty *= 20;
  return m;
}

}  // namespace swf
