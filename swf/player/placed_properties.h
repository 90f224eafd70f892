#pragma once
// The properties by number that every object on the stage answers alike: _x, _y, _xscale,
// _yscale, _rotation, _alpha, _visible, _width, _height, and _name when read.

#include "swf/avm1/value.h"

namespace swf {

class PlacedObject;
namespace avm1 {
class Vm;
}

// False for the numbers it does not know.
bool getPlacedProperty(avm1::Vm& vm, PlacedObject& o, int index, avm1::Value& out);
// Sets one of them but _name (its owner keeps paths to update); false for other numbers.
bool setPlacedProperty(avm1::Vm& vm, PlacedObject& o, int index, const avm1::Value& v);

}  // namespace swf
