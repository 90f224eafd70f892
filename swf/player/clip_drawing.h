#pragma once
// The drawing API's natives and the gradient arguments they share with other classes.

#include <optional>

#include "swf/avm1/vm.h"
#include "swf/shapes/styles.h"

namespace swf {

void defineDrawingMethods(avm1::Vm& vm, avm1::Object* movieClipProto);

// A gradient from (type, colors, alphas, ratios, matrix, spread, interpolation, focal);
// nothing when the arguments do not make one.
std::optional<FillStyle> gradientFromArgs(avm1::Vm& vm, avm1::Args args);
// The gradient's square to the clip's twips, from any of the matrix forms scripts pass.
Matrix gradientMatrix(avm1::Vm& vm, avm1::Object* m);
// Matrix.createGradientBox: the gradient square fitted to a box, rotated by `r` radians.
Matrix boxGradientMatrix(double w, double h, double r, double x, double y);

}  // namespace swf
