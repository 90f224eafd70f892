// Math.

#include <cmath>
#include <random>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

template <double (*F)(double)>
Value unary(Vm& vm, Object*, Args args) {
  return Value(F(vm.toNumber(args.at(0))));
}

double absD(double d) { return std::fabs(d); }
double acosD(double d) { return std::acos(d); }
double asinD(double d) { return std::asin(d); }
double atanD(double d) { return std::atan(d); }
double ceilD(double d) { return std::ceil(d); }
double cosD(double d) { return std::cos(d); }
double expD(double d) { return std::exp(d); }
double floorD(double d) { return std::floor(d); }
double logD(double d) { return std::log(d); }
double roundD(double d) { return std::floor(d + 0.5); }
double sinD(double d) { return std::sin(d); }
double sqrtD(double d) { return std::sqrt(d); }
double tanD(double d) { return std::tan(d); }

Value atan2Fn(Vm& vm, Object*, Args args) {
  return Value(std::atan2(vm.toNumber(args.at(0)), vm.toNumber(args.at(1))));
}

Value powFn(Vm& vm, Object*, Args args) {
  return Value(std::pow(vm.toNumber(args.at(0)), vm.toNumber(args.at(1))));
}

Value minMax(Vm& vm, Args args, bool max) {
  if (args.size() == 0) return Value(max ? -INFINITY : INFINITY);
  double a = vm.toNumber(args.at(0));
  if (args.size() < 2) return Value(NAN);
  double b = vm.toNumber(args.at(1));
  if (std::isnan(a) || std::isnan(b)) return Value(NAN);
  return Value(max ? (a > b ? a : b) : (a < b ? a : b));
}

Value minFn(Vm& vm, Object*, Args args) { return minMax(vm, args, false); }
Value maxFn(Vm& vm, Object*, Args args) { return minMax(vm, args, true); }

Value randomFn(Vm&, Object*, Args) {
  static std::mt19937_64 rng(std::random_device{}());
  return Value(std::uniform_real_distribution<double>(0, 1)(rng));
}

}  // namespace

void installMath(Vm& vm) {
  Object* m = vm.newObject();
  vm.put(vm.global, "Math", Value(m), DontEnum);
  vm.define(m, "abs", unary<absD>);
  vm.define(m, "acos", unary<acosD>);
  vm.define(m, "asin", unary<asinD>);
  vm.define(m, "atan", unary<atanD>);
  vm.define(m, "ceil", unary<ceilD>);
  vm.define(m, "cos", unary<cosD>);
  vm.define(m, "exp", unary<expD>);
  vm.define(m, "floor", unary<floorD>);
  vm.define(m, "log", unary<logD>);
  vm.define(m, "round", unary<roundD>);
  vm.define(m, "sin", unary<sinD>);
  vm.define(m, "sqrt", unary<sqrtD>);
  vm.define(m, "tan", unary<tanD>);
  vm.define(m, "atan2", atan2Fn);
  vm.define(m, "pow", powFn);
  vm.define(m, "min", minFn);
  vm.define(m, "max", maxFn);
  vm.define(m, "random", randomFn);
  const uint16_t f = DontEnum | DontDelete | ReadOnly;
  vm.put(m, "E", Value(M_E), f);
  vm.put(m, "LN10", Value(M_LN10), f);
  vm.put(m, "LN2", Value(M_LN2), f);
  vm.put(m, "LOG10E", Value(M_LOG10E), f);
  vm.put(m, "LOG2E", Value(M_LOG2E), f);
  vm.put(m, "PI", Value(M_PI), f);
  vm.put(m, "SQRT1_2", Value(M_SQRT1_2), f);
  vm.put(m, "SQRT2", Value(M_SQRT2), f);
  vm.setAllFlags(m, f);
}

}  // namespace swf::avm1
