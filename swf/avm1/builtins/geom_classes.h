#pragma once
// flash.geom's classes, and reading and making their instances from other natives.

#include "swf/avm1/vm.h"

namespace swf::avm1 {

// A matrix as scripts give it: pixels, x' = a*x + c*y + tx.
struct GeomMatrix {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

void installGeom(Vm& vm);

GeomMatrix matrixOf(Vm& vm, Object* o);
void setMatrix(Vm& vm, Object* o, const GeomMatrix& m);
GeomMatrix multiply(const GeomMatrix& outer, const GeomMatrix& inner);  // inner first
Object* newMatrix(Vm& vm, const GeomMatrix& m);
Object* newRectangle(Vm& vm, double x, double y, double w, double h);
// Multipliers (red, green, blue, alpha) then offsets, as the constructor takes them.
Object* newColorTransform(Vm& vm, const double (&values)[8]);
void colorTransformOf(Vm& vm, Object* o, double (&out)[8]);
bool isColorTransform(Object* o);

}  // namespace swf::avm1
