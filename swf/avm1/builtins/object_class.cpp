// Object and its prototype's methods.

#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/builtins/scripted_method.h"
#include "swf/avm1/proto_walk.h"

namespace swf::avm1 {
namespace {

Value objectCtor(Vm& vm, Object* self, Args args) {
  if (args.size() > 0 && args.at(0).isObject()) return args.at(0);
  // A boolean, number or string comes back boxed, as its own class's object.
  if (args.size() > 0 && !args.at(0).isNullish()) return Value(vm.toObject(args.at(0)));
  if (vm.isConstructing && self) return Value(self);
  // Called as a function, the original gives a bare object: no __proto__, no constructor.
  return Value(vm.make<Object>());
}

Value objectToString(Vm& vm, Object* self, Args) {
  if (self && self->isFunction()) return Value(vm.intern("[type Function]"));
  if (String* own = self ? self->nativeText(vm) : nullptr) return Value(own);
  return Value(vm.intern("[object Object]"));
}

Value objectValueOf(Vm&, Object* self, Args) { return obj(self); }

Value objectToLocaleString(Vm& vm, Object* self, Args) {
  return vm.callMethod(self, vm.names().toString, {});
}

Value hasOwnProperty(Vm& vm, Object* self, Args args) {
  if (!self || args.size() == 0) return Value(false);
  String* name = vm.toStr(args.at(0));
  // A property of a newer version is owned all the same; one marked "not for SWF 6" never is.
  if (Property* p = self->props.find(vm.key(name))) return Value(!(p->flags & NotVersion6));
  Value out;
  return Value(self->getNative(vm, vm.key(name), out));
}

Value isPropertyEnumerable(Vm& vm, Object* self, Args args) {
  if (!self) return Value(false);
  // As hasOwnProperty: a property of a newer version counts all the same.
  String* name = vm.toStr(args.at(0));
  Property* p = self->props.find(vm.key(name));
  if (!p) p = vm.findOwn(self, name);
  return Value(p && !(p->flags & DontEnum));
}

Value isPrototypeOf(Vm& vm, Object* self, Args args) {
  // A primitive is asked about as its wrapper: Boolean.prototype is a prototype of true.
  Object* o = vm.toObject(args.at(0));
  int depth = 0;
  for (Object* p = o ? walkNext(vm, o) : nullptr; p && depth < 256; p = walkNext(vm, p), ++depth)
    if (p == self) return Value(true);
  return Value(false);
}

Value addProperty(Vm& vm, Object* self, Args args) {
  if (!self || args.size() < 2) return Value(false);
  String* name = vm.toStr(args.at(0));
  Value getter = args.at(1), setter = args.at(2);
  if (name->text.empty() || !isCallable(getter)) return Value(false);
  // The setter must be a function or null: leaving it out fails as a number would.
  if (!setter.isNull() && !isCallable(setter)) return Value(false);
  String* k = vm.key(name);
  Property* p = self->props.find(k);
  bool fresh = !p;
  if (!p) p = &self->props.add(k, vm.intern(name->text));
  p->getter = getter.o;
  p->setter = isCallable(setter) ? setter.o : nullptr;
  // The flags stay (a constant property keeps ignoring writes), and so does the value, unseen
  // while the getter is there (a __resolve still finds it).
  // A watched name that did not exist hears its making as a write of undefined; what the
  // watcher returns is the value kept beside the getter (what the getter reads as this.name).
  if (fresh && self->watches) vm.announceNewAccessor(self, name);
  return Value(true);
}

Value watch(Vm& vm, Object* self, Args args) {
  if (!self || args.size() < 2 || !isCallable(args.at(1))) return Value(false);
  String* k = vm.key(vm.toStr(args.at(0)));
  if (!self->watches) self->watches = std::make_unique<std::vector<Watch>>();
  for (Watch& w : *self->watches)
    if (w.key == k) {
      w.callback = args.at(1).o;
      w.userData = args.at(2);
      return Value(true);
    }
  self->watches->push_back(Watch{k, args.at(1).o, args.at(2)});
  return Value(true);
}

Value unwatch(Vm& vm, Object* self, Args args) {
  if (!self || !self->watches) return Value(false);
  String* k = vm.key(vm.toStr(args.at(0)));
  // A property made with addProperty keeps its watch: the original refuses to take it off.
  if (Property* p = self->props.find(k); p && (p->getter || p->setter)) return Value(false);
  auto& ws = *self->watches;
  for (size_t i = 0; i < ws.size(); ++i)
    if (ws[i].key == k) {
      ws.erase(ws.begin() + long(i));
      return Value(true);
    }
  return Value(false);
}

// Object.registerClass(symbol, constructor): clips made from the exported symbol from now on
// are the constructor's instances; null (or undefined) as the constructor forgets the class.
Value registerClass(Vm& vm, Object*, Args args) {
  if (args.size() < 2) return Value(false);
  Value ctor = args.at(1);
  if (!isCallable(ctor) && !ctor.isNull() && !ctor.isUndefined()) return Value(false);
  vm.registerClass(vm.toString(args.at(0)), isCallable(ctor) ? ctor.o : nullptr);
  return Value(true);
}

}  // namespace

void installObject(Vm& vm) {
  vm.objectProto = vm.make<Object>();
  vm.global = vm.make<Object>();
  vm.functionProto = vm.make<Object>();
  // Function's constructor exists before any function does; installFunction gives it its code.
  vm.functionCtor = vm.make<Function>();
  vm.linkFunction(vm.functionCtor);
  vm.put(vm.functionProto, vm.names().proto, Value(vm.objectProto), Hidden);
  vm.put(vm.global, vm.names().proto, Value(vm.objectProto), Hidden);
  Object* p = vm.objectProto;
  vm.define(p, "toString", objectToString);
  vm.define(p, "valueOf", objectValueOf);
  defineScripted(vm, p, "toLocaleString", objectToLocaleString);
  vm.define(p, "hasOwnProperty", hasOwnProperty, Hidden | Version6);
  vm.define(p, "isPropertyEnumerable", isPropertyEnumerable, Hidden | Version6);
  vm.define(p, "isPrototypeOf", isPrototypeOf, Hidden | Version6);
  vm.define(p, "addProperty", addProperty, Hidden | Version6);
  vm.define(p, "watch", watch, Hidden | Version6);
  vm.define(p, "unwatch", unwatch, Hidden | Version6);
  Function* ctor = vm.defineClass("Object", objectCtor, p);
  vm.objectCtor = ctor;
  vm.define(ctor, "registerClass", registerClass);
  vm.setAllFlags(ctor, ReadOnly);
  registerAsNative(vm, 101, 5, hasOwnProperty);
}

}  // namespace swf::avm1
