// ASnative, ASconstructor, ASSetNative and ASSetNativeAccessor: the built-in functions by
// number, and the ways the original player's own class scripts put them on objects.

#include <cmath>

#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/exec_frame.h"

namespace swf::avm1 {
namespace {

// What a number stands for when the machine has no code of its own for it: the original hands
// out a function all the same, and movies probe for them.
Value unknownNative(Vm&, Object*, Args) { return Value(); }

// ASnew (2,0): whether the script function that asks was called by `new`.
Value asNew(Vm& vm, Object*, Args) {
  return Value(!vm.frames.empty() && vm.frames.back()->constructing);
}

bool wholeNumber(Vm& vm, const Value& v, int& out) {
  double d = vm.toNumber(v);
  if (!std::isfinite(d) || d < 0 || d >= 65536) return false;
  out = int(d);
  return true;
}

// A fresh function object of the numbered code, as every ASnative call gives.
Function* nativeByNumber(Vm& vm, int group, int index, Object* proto = nullptr) {
  NativeFn fn = findAsNative(vm, group, index);
  return vm.newNative(fn ? fn : unknownNative, proto);
}

Value asNative(Vm& vm, Object*, Args args) {
  int group, index;
  if (!wholeNumber(vm, args.at(0), group) || !wholeNumber(vm, args.at(1), index)) return Value();
  return Value(static_cast<Object*>(nativeByNumber(vm, group, index)));
}

// Like ASnative, with a prototype object, as the original's native classes are made.
Value asConstructor(Vm& vm, Object*, Args args) {
  int group, index;
  if (!wholeNumber(vm, args.at(0), group) || !wholeNumber(vm, args.at(1), index)) return Value();
  return Value(static_cast<Object*>(nativeByNumber(vm, group, index, vm.newObject())));
}

// The names of ASSetNative's list, comma-separated. A leading 6 to 9 is the version the member
// belongs to: it carries that version's mask.
template <typename Each>
void forEachName(Vm& vm, const Value& list, Each each) {
  std::string names = vm.toString(list);
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(',', start);
    if (end == std::string::npos) end = names.size();
    std::string name = names.substr(start, end - start);
    uint16_t flags = 0;
    if (!name.empty() && name[0] >= '6' && name[0] <= '9') {
      static constexpr uint16_t kMasks[] = {Version6, Version7, Version8, Version9};
      flags = kMasks[name[0] - '6'];
      name.erase(0, 1);
    }
    if (!name.empty()) each(vm.intern(name), flags);
    start = end + 1;
  }
}

// ASSetNative(object, group, "a,b,6c", first): object.a = ASnative(group, first), and so on.
Value asSetNative(Vm& vm, Object*, Args args) {
  Object* o = args.at(0).object();
  int group, index = 0;
  if (!o || !wholeNumber(vm, args.at(1), group)) return Value();
  if (args.size() > 3 && !wholeNumber(vm, args.at(3), index)) return Value();
  forEachName(vm, args.at(2), [&](String* name, uint16_t flags) {
    vm.put(o, name, Value(static_cast<Object*>(nativeByNumber(vm, group, index++))), flags);
  });
  return Value();
}

// ASSetNativeAccessor(object, group, "a,b", first): each name a property whose getter is the
// next number and whose setter the one after it.
Value asSetNativeAccessor(Vm& vm, Object*, Args args) {
  Object* o = args.at(0).object();
  int group, index = 0;
  if (!o || !wholeNumber(vm, args.at(1), group)) return Value();
  if (args.size() > 3 && !wholeNumber(vm, args.at(3), index)) return Value();
  forEachName(vm, args.at(2), [&](String* name, uint16_t flags) {
    Function* getter = nativeByNumber(vm, group, index++);
    Function* setter = nativeByNumber(vm, group, index++);
    vm.put(o, name, Value(), flags);
    Property* p = o->props.find(vm.key(name));
    p->getter = getter;
    p->setter = setter;
  });
  return Value();
}

}  // namespace

void installNativeAccess(Vm& vm) {
  registerAsNative(vm, 2, 0, asNew);
  // ASnative and ASconstructor are bare: no __proto__ and no constructor.
  struct Bare {
    const char* name;
    NativeFn fn;
  };
  for (Bare b : {Bare{"ASnative", asNative}, Bare{"ASconstructor", asConstructor}}) {
    Function* f = vm.define(vm.global, b.name, b.fn);
    f->props.remove(vm.names().proto);
    f->props.remove(vm.names().constructor);
  }
  vm.define(vm.global, "ASSetNative", asSetNative);
  vm.define(vm.global, "ASSetNativeAccessor", asSetNativeAccessor);
}

}  // namespace swf::avm1
