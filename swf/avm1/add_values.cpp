#include "swf/avm1/add_values.h"

#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/nan_identity.h"

namespace swf::avm1 {

Value addValues(Vm& vm, const Value& a, const Value& b) {
  if (a.isNumber() && b.isNumber()) return Value(distinctNaN(a.n + b.n));
  // valueOf first; only when text is involved is an object that stayed one asked for its
  // toString. A Date prefers toString from SWF 6. The right side converts first.
  bool dates = vm.version() >= 6;
  // A movie clip is not asked at all, and an object with no valueOf to ask adds as undefined,
  // whatever toString it has.
  auto primitive = [&](const Value& v) {
    if (!v.isObject() || v.o->asClip()) return v;
    if (dates && isDate(v.o)) return vm.toPrimitive(v, true);
    Value fn = vm.get(v.o, vm.names().valueOf);
    if (!fn.object() || !fn.o->isFunction()) return Value();
    return vm.call(fn, v.o, {});
  };
  Value pb = primitive(b);
  Vm::Pin keepB(vm, pb);
  Value pa = primitive(a);
  Vm::Pin keepA(vm, pa);
  // An object with nothing to convert it (no toString, no valueOf) adds as undefined; a side
  // that stayed an object converts again (as text, or as a number asking valueOf a second
  // time).
  auto side = [&](const Value& v, const Value& p) {
    if (!p.isObject() || p.o->asClip()) return p;
    return p.o == v.o && !vm.convertible(v.o, true) ? Value() : v;
  };
  if (pa.isString() || pb.isString()) {
    String* sa = vm.toStr(side(a, pa));
    Vm::Pin keepText(vm, Value(sa));  // a fresh left side stays alive while the right converts
    return Value(vm.concat(sa, side(b, pb)));
  }
  double na = vm.toNumber(side(a, pa));
  return Value(distinctNaN(na + vm.toNumber(side(b, pb))));
}

}  // namespace swf::avm1
