#pragma once
// What the player's native methods share: the display object behind a script's clip object, and
// reading script values as the format's records.

#include <optional>
#include <string>

#include "swf/avm1/vm.h"
#include "swf/model/geometry.h"
#include "swf/player/placed_object.h"

namespace swf {

// The display object of `self` (a clip), or of the running code's clip when called without one.
PlacedObject* placedOf(avm1::Vm& vm, avm1::Object* self);

// A number argument, NaN and infinities as 0.
double finiteNumber(avm1::Vm& vm, const avm1::Value& v);
// A member of an object as a number (NaN when absent).
double numberMember(avm1::Vm& vm, avm1::Object* o, const char* name);
bool hasMember(avm1::Vm& vm, avm1::Object* o, const char* name);
avm1::Value member(avm1::Vm& vm, avm1::Object* o, const char* name);
// An RGB number and an alpha in percent as a colour.
RGBA colorFrom(avm1::Vm& vm, const avm1::Value& rgb, const avm1::Value& alphaPercent);

// A matrix object with a, b, c, d, tx, ty in pixels (flash.geom.Matrix and lookalikes), as a
// matrix in twips. Absent members keep the identity's.
Matrix matrixFromObject(avm1::Vm& vm, avm1::Object* o);

}  // namespace swf
