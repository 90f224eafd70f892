// Function.prototype.call and apply.

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

Object* thisArg(Vm& vm, const Value& v) {
  // Without an object to call on, the function gets a blank one of its own (no prototype).
  if (v.isNullish()) {
    Object* blank = vm.make<Object>();
    blank->plain = true;
    return blank;
  }
  return vm.toObject(v);
}

Value callFn(Vm& vm, Object* self, Args args) {
  if (!self || !self->isFunction()) return Value();
  std::vector<Value> rest;
  for (size_t i = 1; i < args.size(); ++i) rest.push_back(args.at(i));
  return vm.call(Value(self), thisArg(vm, args.at(0)), rest);
}

Value applyFn(Vm& vm, Object* self, Args args) {
  if (!self || !self->isFunction()) return Value();
  std::vector<Value> rest;
  if (Object* list = args.at(1).object()) {
    // The length is read only when the list is no array.
    auto count = [&] {
      double n = vm.toNumber(vm.get(list, vm.names().length));
      return n > 0 ? size_t(std::min(n, 65536.0)) : size_t(0);
    };
    rest = arrayLikeItems(vm, list, list->asArray() ? 0 : count());
  }
  return vm.call(Value(self), thisArg(vm, args.at(0)), rest);
}

Value functionCtor(Vm& vm, Object*, Args) { return Value(vm.newObject()); }

}  // namespace

void installFunction(Vm& vm) {
  Object* p = vm.functionProto;
  // Not masked, though SWF 5 code never reaches them: its functions' links are hidden from it.
  vm.define(p, "call", callFn);
  vm.define(p, "apply", applyFn);
  Function* f = vm.functionCtor;
  f->native = functionCtor;
  vm.put(f, vm.names().prototype, Value(p), Hidden);
  vm.put(p, vm.names().constructor, Value(static_cast<Object*>(f)), Hidden);
  vm.put(vm.global, "Function", Value(static_cast<Object*>(f)), DontEnum | Version6);
}

}  // namespace swf::avm1
