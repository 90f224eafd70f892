#include "swf/player/placed_properties.h"

#include <cmath>

#include "swf/avm1/vm.h"
#include "swf/player/matrix_properties.h"
#include "swf/player/placed_object.h"
#include "swf/render/bounds.h"

namespace swf {

namespace {

PlacedObject::ScriptScale& scaleOf(PlacedObject& o) {
  auto& s = o.scriptScale;
  if (!s.valid)
    s = {matrixXScale(o.matrix), matrixYScale(o.matrix), matrixRotation(o.matrix), true};
  return s;
}

// Degrees into -180..180 as the original keeps them (infinities become NaN).
double normalizedRotation(double d) {
  double r = std::fmod(d, 360);
  if (r > 180) r -= 360;
  if (r < -180) r += 360;
  return r;
}

}  // namespace

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
      out = Value(scaleOf(o).xscale);
      return true;
    case avm1::PropYScale:
      out = Value(scaleOf(o).yscale);
      return true;
    case avm1::PropRotation:
      out = Value(scaleOf(o).rotation);
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
    case avm1::PropYScale: {
      if (!finite) break;
      auto& s = scaleOf(o);
      (index == avm1::PropXScale ? s.xscale : s.yscale) = d;
      setScaleRotation(m, s.xscale, s.yscale, s.rotation);
      break;
    }
    case avm1::PropRotation: {
      // NaN is ignored; an infinity is kept (as NaN) but leaves the matrix alone.
      if (std::isnan(d)) break;
      auto& s = scaleOf(o);
      s.rotation = normalizedRotation(d);
      if (finite) setScaleRotation(m, s.xscale, s.yscale, s.rotation);
      break;
    }
    case avm1::PropWidth:
    case avm1::PropHeight: {
      if (!finite) break;
      // The scale that gives the untransformed extent that size; an object without extent
      // along that axis cannot have one and is shrunk to nothing on both.
      auto box = objectBounds(o, Matrix{});
      double extent = !box ? 0 : index == avm1::PropWidth ? box->x1 - box->x0 : box->y1 - box->y0;
      auto& s = scaleOf(o);
      if (extent <= 0)
        s.xscale = s.yscale = 0;
      else
        (index == avm1::PropWidth ? s.xscale : s.yscale) = d * 20 / extent * 100;
      setScaleRotation(m, s.xscale, s.yscale, s.rotation);
      break;
    }
    case avm1::PropAlpha:
      if (finite) o.cxform.am = d / 100;
      break;
    case avm1::PropVisible:
      o.visible = vm.toBoolean(v);
      break;
    default:
      return false;
  }
  if (finite && index != avm1::PropAlpha && index != avm1::PropVisible) o.scriptMoved = true;
  o.markChanged();
  return true;
}

}  // namespace swf
