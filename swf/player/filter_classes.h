#pragma once
// flash.filters and MovieClip's filters and blendMode properties.

#include "swf/avm1/vm.h"

namespace swf {

void installFilters(avm1::Vm& vm, avm1::Object* movieClipProto);

}  // namespace swf
