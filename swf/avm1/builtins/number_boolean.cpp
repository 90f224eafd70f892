// Number and Boolean: constructors, wrappers and their methods.

#include <cfloat>
#include <cmath>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/nan_identity.h"

namespace swf::avm1 {
namespace {

Value wrap(Vm& vm, Object* o, const Value& v) {
  if (!vm.isConstructing || !o) return v;
  o->primitive = v;
  o->hasPrimitive = true;
  return Value(o);
}

Value numberCtor(Vm& vm, Object* o, Args args) {
  return wrap(vm, o, Value(args.size() ? vm.toNumber(args.at(0)) : 0.0));
}

Value numberToStringFn(Vm& vm, Object* o, Args args) {
  Value v = thisValue(o);
  if (!v.isNumber()) return Value();  // not a number: the caller prints "[type Object]"
  int radix = args.size() && !args.at(0).isUndefined() ? vm.toInt32(args.at(0)) : 10;
  return text(vm, numberToRadix(v.n, radix));
}

// On anything but a number (Number.prototype itself) it gives nothing.
Value numberValueOf(Vm&, Object* o, Args) {
  Value v = thisValue(o);
  return v.isNumber() ? v : Value();
}

// Boolean() called with nothing gives undefined; constructed, false.
Value booleanCtor(Vm& vm, Object* o, Args args) {
  if (!vm.isConstructing && args.size() == 0) return Value();
  return wrap(vm, o, Value(args.size() ? vm.toBoolean(args.at(0)) : false));
}

Value booleanToString(Vm& vm, Object* o, Args) {
  Value v = thisValue(o);
  if (!v.isBool()) return Value();  // not a boolean: the caller prints "[type Object]"
  return Value(vm.intern(v.b ? "true" : "false"));
}

Value booleanValueOf(Vm&, Object* o, Args) { return thisValue(o); }

}  // namespace

void installNumberAndBoolean(Vm& vm) {
  Object* np = vm.newObject();
  vm.numberProto = np;
  vm.define(np, "toString", numberToStringFn);
  vm.define(np, "valueOf", numberValueOf);
  Function* n = vm.defineClass("Number", numberCtor, np);
  const uint16_t constFlags = DontEnum | DontDelete | ReadOnly;
  vm.put(n, "MAX_VALUE", Value(DBL_MAX), constFlags);
  vm.put(n, "MIN_VALUE", Value(4.9406564584124654e-324), constFlags);
  vm.put(n, "NaN", Value(constantNaN()), constFlags);
  vm.put(n, "NEGATIVE_INFINITY", Value(-INFINITY), constFlags);
  vm.put(n, "POSITIVE_INFINITY", Value(INFINITY), constFlags);
  vm.setAllFlags(n, ReadOnly);

  Object* bp = vm.newObject();
  vm.booleanProto = bp;
  vm.define(bp, "toString", booleanToString);
  vm.define(bp, "valueOf", booleanValueOf);
  vm.defineClass("Boolean", booleanCtor, bp);
}

}  // namespace swf::avm1
