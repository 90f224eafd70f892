// LoadVars: variables read from a local file of URL-encoded pairs. Sending has nowhere to go
// without a network: send reports false, sendAndLoad loads its address into the target.

#include "swf/avm1/builtins/load_text.h"
#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/builtins/scripted_method.h"

namespace swf::avm1 {
namespace {

Object* allocateLoadVars(Vm& vm) { return vm.make<TextLoadingObject>(); }

Value loadVarsCtor(Vm&, Object*, Args) { return Value(); }

// decode(text) answers false when it decodes nothing at all: no text, or a movie clip as this.
Value decode(Vm& vm, Object* self, Args args) {
  if (!self || args.size() == 0 || self->asClip()) return Value(false);
  decodeUrlVariables(vm, self, vm.toString(args.at(0)));
  return Value();
}

Value toString(Vm& vm, Object* self, Args) {
  return self ? text(vm, encodeUrlVariables(vm, self)) : Value();
}

// The default onData: decode what came and report it to onLoad.
Value onData(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  Value src = args.at(0);
  if (src.isUndefined()) {
    Value r[] = {Value(false)};
    vm.callMethod(self, vm.intern("onLoad"), r);
    return Value();
  }
  decodeUrlVariables(vm, self, vm.toString(src));
  vm.set(self, vm.intern("loaded"), Value(true));
  Value r[] = {Value(true)};
  vm.callMethod(self, vm.intern("onLoad"), r);
  return Value();
}

}  // namespace

void installLoadVars(Vm& vm) {
  Object* p = vm.newObject();
  defineLoadingMethods(vm, p, Hidden);
  vm.put(p, "contentType", Value(vm.intern("application/x-www-form-urlencoded")), Hidden);
  vm.define(p, "decode", decode);
  defineScripted(vm, p, "toString", toString);
  defineScripted(vm, p, "onData", onData);
  vm.defineClass("LoadVars", loadVarsCtor, p, allocateLoadVars);
  registerLoadingNatives(vm);
  registerAsNative(vm, 301, 3, decode);
}

}  // namespace swf::avm1
