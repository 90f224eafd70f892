#pragma once
// Methods the original player wrote in script rather than natively: each has a prototype object
// of its own (with `constructor` naming it back), as every scripted function does.

#include <string_view>

#include "swf/avm1/vm.h"

namespace swf::avm1 {

inline Function* defineScripted(Vm& vm, Object* o, std::string_view name, NativeFn fn,
                                uint16_t flags = Hidden) {
  Function* f = vm.newNative(fn, vm.newObject());
  vm.put(o, name, Value(static_cast<Object*>(f)), flags);
  return f;
}

}  // namespace swf::avm1
