#pragma once
// flash.geom.Transform and MovieClip's transform property.

#include "swf/avm1/vm.h"
#include "swf/player/placed_object.h"

namespace swf {

void installTransform(avm1::Vm& vm, avm1::Object* movieClipProto);
// The display object of a clip's script object, or null.
PlacedObject* placedOfClip(avm1::Object* clip);

}  // namespace swf
