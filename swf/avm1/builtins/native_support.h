#pragma once
// Small helpers the native classes share.

#include <string>

#include "swf/avm1/array_object.h"
#include "swf/avm1/vm.h"

namespace swf::avm1 {

inline Value obj(Object* o) { return o ? Value(o) : Value::null(); }
inline Value text(Vm& vm, std::string s) { return Value(vm.str(std::move(s))); }
// The primitive a wrapper holds, or the object itself.
inline Value thisValue(Object* self) {
  if (!self) return Value();
  return self->hasPrimitive ? self->primitive : Value(self);
}
inline bool isCallable(const Value& v) { return v.object() && v.o->isFunction(); }

}  // namespace swf::avm1
