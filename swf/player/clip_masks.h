#pragma once
// Masks set by scripts: setMask shows a clip or text field only where another one draws.
// The renderer draws the pairs (script_masks.h); this keeps them paired one to one.

#include "swf/avm1/vm.h"
#include "swf/player/placed_object.h"

namespace swf {

// Makes `mask` the mask of `target` (null: none). An object masks one object at most and has
// one mask at most: the pairs this breaks show unmasked again. An object never masks itself.
// Timeline masks (clip depths) on either side stop masking.
void setScriptMask(PlacedObject& target, PlacedObject* mask);

void defineMaskMethod(avm1::Vm& vm, avm1::Object* movieClipProto);
// getSWFVersion (clip_version.cpp), defined with the mask method as the player's own.
void defineVersionMethod(avm1::Vm& vm, avm1::Object* movieClipProto);

}  // namespace swf
