// Math.

#include <cmath>
#include <random>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

// Every function of Math reads its first two arguments as numbers, in order, whether it uses
// the second or not; a missing one is NaN.
struct Pair {
  double a, b;
};
Pair numbers(Vm& vm, Args args) {
  double a = args.size() > 0 ? vm.toNumber(args.at(0)) : NAN;
  double b = args.size() > 1 ? vm.toNumber(args.at(1)) : NAN;
  return {a, b};
}

template <double (*F)(double)>
Value unary(Vm& vm, Object*, Args args) {
  return Value(F(numbers(vm, args).a));
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
  Pair p = numbers(vm, args);
  return Value(std::atan2(p.a, p.b));
}

Value powFn(Vm& vm, Object*, Args args) {
  Pair p = numbers(vm, args);
  // An infinite base to a fractional power is NaN.
  if (std::isinf(p.a) && std::isfinite(p.b) && p.b != std::trunc(p.b)) return Value(NAN);
  return Value(std::pow(p.a, p.b));
}

Value minMax(Vm& vm, Args args, bool max) {
  if (args.size() == 0) return Value(max ? -INFINITY : INFINITY);
  Pair p = numbers(vm, args);
  if (std::isnan(p.a) || std::isnan(p.b)) return Value(NAN);
  return Value(max ? (p.a > p.b ? p.a : p.b) : (p.a < p.b ? p.a : p.b));
}

Value minFn(Vm& vm, Object*, Args args) { return minMax(vm, args, false); }
Value maxFn(Vm& vm, Object*, Args args) { return minMax(vm, args, true); }

Value randomFn(Vm& vm, Object*, Args args) {
  numbers(vm, args);
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
