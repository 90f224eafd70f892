#pragma once
// Built-in functions by number, as ASnative(group, index) hands them out. The classes that own
// the functions register them when they are installed; ASnative makes a fresh function object
// of the same code each time it is asked.

#include "swf/avm1/vm.h"

namespace swf::avm1 {

void registerAsNative(Vm& vm, int group, int index, NativeFn fn);
// The function registered under (group, index), or null.
NativeFn findAsNative(Vm& vm, int group, int index);

}  // namespace swf::avm1
