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

// decode(text) answers false when it is given no text at all.
Value decode(Vm& vm, Object* self, Args args) {
  if (!self || args.size() == 0) return Value(false);
  decodeUrlVariables(vm, self, vm.toString(args.at(0)));
  return Value();
}

// "name=value" pairs joined by "&", oldest property first. As in the original, the pieces go
// through whatever _global.escape and the array methods are now, so a script can change them.
Value toString(Vm& vm, Object* self, Args) {
  if (!self) return Value();
  Value list(static_cast<Object*>(vm.newArray()));
  Vm::Pin pin(vm, list);
  Value escape = vm.get(vm.global, vm.intern("escape"));
  std::vector<String*> names = vm.enumerate(self);
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    Value name(*it), value = vm.get(self, *it);
    std::string pair = vm.toString(vm.call(escape, nullptr, {&name, 1})) + "=";
    pair += vm.toString(vm.call(escape, nullptr, {&value, 1}));
    Value arg = text(vm, std::move(pair));
    vm.callMethod(list.o, vm.intern("push"), {&arg, 1});
  }
  Value amp = Value(vm.intern("&"));
  return vm.callMethod(list.o, vm.intern("join"), {&amp, 1});
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
  // A class of Flash 6: SWF 5 code can make one but sees none of its prototype.
  vm.setAllFlags(p, Version6);
  registerLoadingNatives(vm);
  registerAsNative(vm, 301, 3, decode);
  registerCoreNatives(vm);
}

}  // namespace swf::avm1
