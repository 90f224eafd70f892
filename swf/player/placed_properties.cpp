#include "swf/player/placed_properties.h"

#include <cmath>

#include "swf/avm1/vm.h"
#include "swf/player/matrix_properties.h"
#include "swf/player/placed_object.h"
#include "swf/render/bounds.h"

namespace swf {

bool getPlacedProperty(avm1::Vm& vm, PlacedObject& o, int index, avm1::Value& out) {
  using avm1::Value;
  const Matrix& m = o.matrix;
  switch (index) {
    case avm1::PropX:
      out = Value(m.tx / 20);
      return true;
    case avm1::PropY:
      out = Value(m.ty / 20);
      return true;
    case avm1::PropXScale:
      out = Value(matrixXScale(m));
      return true;
    case avm1::PropYScale:
      out = Value(matrixYScale(m));
      return true;
    case avm1::PropRotation:
      out = Value(matrixRotation(m));
      return true;
    case avm1::PropAlpha:
      out = Value(o.cxform.am * 100);
      return true;
    case avm1::PropVisible:
      out = Value(o.visible);
      return true;
    case avm1::PropWidth:
    case avm1::PropHeight: {
      auto box = objectBounds(o, m);
      double size = !box ? 0 : index == avm1::PropWidth ? box->x1 - box->x0 : box->y1 - box->y0;
      out = Value(std::round(size) / 20);
      return true;
    }
    case avm1::PropName:
      out = Value(vm.str(o.name));
      return true;
    default:
      return false;
  }
}

bool setPlacedProperty(avm1::Vm& vm, PlacedObject& o, int index, const avm1::Value& v) {
  double d = vm.toNumber(v);
  bool finite = std::isfinite(d);
  Matrix& m = o.matrix;
  switch (index) {
    case avm1::PropX:
      if (finite) m.tx = std::round(d * 20);
      break;
    case avm1::PropY:
      if (finite) m.ty = std::round(d * 20);
      break;
    case avm1::PropXScale:
      if (finite) setScaleRotation(m, d, matrixYScale(m), matrixRotation(m));
      break;
    case avm1::PropYScale:
      if (finite) setScaleRotation(m, matrixXScale(m), d, matrixRotation(m));
      break;
    case avm1::PropRotation:
      if (finite) setScaleRotation(m, matrixXScale(m), matrixYScale(m), d);
      break;
    case avm1::PropAlpha:
      if (finite) o.cxform.am = d / 100;
      break;
    case avm1::PropVisible:
      o.visible = vm.toBoolean(v);
      break;
    default:
      return false;
  }
  o.markChanged();
  return true;
}

}  // namespace swf
