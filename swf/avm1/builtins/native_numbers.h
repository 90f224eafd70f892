#pragma once
// Built-in functions by number, as ASnative(group, index) hands them out. The classes that own
// the functions register them when they are installed; ASnative makes a fresh function object
// of the same code each time it is asked.

#include "swf/avm1/vm.h"

namespace swf::avm1 {

void registerAsNative(Vm& vm, int group, int index, NativeFn fn);
// Numbers for core functions the loading classes' own scripts call through ASnative
// (escape as 100,0, the Array constructor as 252,0 and Array.prototype.push as 252,1), taken
// from the installed classes.
void registerCoreNatives(Vm& vm);
// The function registered under (group, index), or null.
NativeFn findAsNative(Vm& vm, int group, int index);

}  // namespace swf::avm1
