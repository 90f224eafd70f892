// Error and AsBroadcaster.

#include <algorithm>
#include <string>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/builtins/scripted_method.h"

namespace swf::avm1 {

namespace {

// Called as a function, Error makes nothing.
Value errorCtor(Vm& vm, Object* o, Args args) {
  if (!vm.isConstructing) return Value();
  if (!o) o = vm.newObject(vm.errorProto);
  if (args.size() && !args.at(0).isUndefined()) vm.set(o, vm.names().message, args.at(0));
  return Value(o);
}

Value errorToString(Vm& vm, Object* o, Args) { return vm.get(o, vm.names().message); }

// ---- AsBroadcaster ----

// broadcastMessage's number among the built-in functions.
constexpr int kBroadcastGroup = 101, kBroadcastIndex = 12;
// How far down a list the listener methods look: a list is a script's object, and its length
// may say anything.
constexpr int32_t kMaxListeners = 1 << 16;

// Both work as the original's script does, through the object's own methods and the list's:
// adding takes the listener out first (so it moves to the end) and always succeeds; removing
// looks from the start for a listener equal (==) to the one given and splices it out.
Value addListener(Vm& vm, Object* self, Args args) {
  if (!self) return Value(true);
  Value listener[] = {args.at(0)};
  vm.callMethod(self, vm.intern("removeListener"), listener);
  if (Object* list = vm.get(self, vm.intern("_listeners")).object())
    vm.callMethod(list, vm.intern("push"), listener);
  return Value(true);
}

Value removeListener(Vm& vm, Object* self, Args args) {
  Object* list = self ? vm.get(self, vm.intern("_listeners")).object() : nullptr;
  if (!list) return Value(false);
  Vm::Pin pin(vm, Value(list));
  int32_t n = std::min(vm.toInt32(vm.get(list, vm.names().length)), kMaxListeners);
  for (int32_t i = 0; i < n; ++i) {
    if (!vm.looseEquals(vm.get(list, vm.intern(std::to_string(i))), args.at(0))) continue;
    Value where[] = {Value(double(i)), Value(1.0)};
    vm.callMethod(list, vm.intern("splice"), where);
    return Value(true);
  }
  return Value(false);
}

Value broadcastMessage(Vm& vm, Object* self, Args args) {
  Object* list = vm.get(self, vm.intern("_listeners")).object();
  if (!list || args.size() == 0) return Value();
  String* name = vm.intern(vm.toString(args.at(0)));
  std::vector<Value> rest(args.v + 1, args.v + args.n);
  // Listeners may change the list: it is read whole first. Any object with a length and
  // numbered members will do as the list.
  int32_t n =
      list->asArray() ? 0 : std::min(vm.toInt32(vm.get(list, vm.names().length)), kMaxListeners);
  std::vector<Value> listeners = arrayLikeItems(vm, list, size_t(std::max(n, 0)));
  ArrayObject* keep = vm.newArray();
  keep->items = listeners;
  Vm::Pin pin(vm, Value(static_cast<Object*>(keep)));
  // True when there were listeners and every one could be told; undefined otherwise.
  bool all = !listeners.empty();
  for (const Value& l : listeners) {
    // SWF 5 code does not wrap a listener that is not an object: it is passed by.
    Object* o = l.isObject() || vm.version() >= 6 ? vm.toObject(l) : nullptr;
    if (o)
      vm.callMethod(o, name, rest);
    else
      all = false;
  }
  return all ? Value(true) : Value();
}

// Written in script in the original player, and done here the same way: the methods are
// whatever AsBroadcaster holds now, and broadcastMessage is asked of _global.ASnative, so a
// script that replaced either changes what later broadcasters get. SWF 5 code sees none of them.
Value initialize(Vm& vm, Object*, Args args) {
  Object* o = args.at(0).object();
  if (!o) return Value();
  Value bc = vm.get(vm.global, vm.intern("AsBroadcaster"));
  for (const char* name : {"addListener", "removeListener"})
    vm.put(o, name, vm.get(bc, vm.intern(name)), Hidden | Version6);
  Value number[] = {Value(kBroadcastGroup), Value(kBroadcastIndex)};
  Value send = vm.call(vm.get(vm.global, vm.intern("ASnative")), nullptr, number);
  vm.put(o, "broadcastMessage", send, Hidden | Version6);
  vm.put(o, "_listeners", Value(static_cast<Object*>(vm.newArray())), Hidden | Version6);
  return Value();
}

Value broadcasterCtor(Vm& vm, Object* o, Args) { return obj(o ? o : vm.newObject()); }

}  // namespace

void installError(Vm& vm) {
  Object* p = vm.newObject();
  vm.errorProto = p;
  // Error's prototype keeps its members as a script would: enumerable and deletable.
  vm.put(p, "message", Value(vm.intern("Error")));
  vm.put(p, "name", Value(vm.intern("Error")));
  defineScripted(vm, p, "toString", errorToString, 0);
  vm.defineClass("Error", errorCtor, p);
}

void installBroadcaster(Vm& vm) {
  Function* bc = vm.defineClass("AsBroadcaster", broadcasterCtor, vm.newObject());
  defineScripted(vm, bc, "initialize", initialize);
  defineScripted(vm, bc, "addListener", addListener);
  defineScripted(vm, bc, "removeListener", removeListener);
  vm.define(bc, "broadcastMessage", broadcastMessage);
  registerAsNative(vm, kBroadcastGroup, kBroadcastIndex, broadcastMessage);
  // SWF 5 code sees the class but neither its prototype nor initialize.
  for (const char* name : {"prototype", "initialize"})
    if (Property* p = bc->props.find(vm.key(name))) p->flags |= Version6;
}

void makeBroadcaster(Vm& vm, Object* o) {
  Object* bc = vm.get(vm.global, vm.intern("AsBroadcaster")).object();
  Property* init = bc ? bc->props.find(vm.key("initialize")) : nullptr;
  if (!init) return;
  Value arg(o);
  vm.call(init->value, nullptr, {&arg, 1});
}

}  // namespace swf::avm1
