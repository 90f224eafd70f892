#pragma once
// Add2 on two values as the running version has it: numbers add, and text on either side joins
// the two (asking objects for valueOf, and toString only when text is involved).

#include "swf/avm1/vm.h"

namespace swf::avm1 {

Value addValues(Vm& vm, const Value& a, const Value& b);

}  // namespace swf::avm1
