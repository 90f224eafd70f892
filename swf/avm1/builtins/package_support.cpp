#include "swf/avm1/builtins/package_support.h"

#include <vector>

namespace swf::avm1 {

Object* packageObject(Vm& vm, std::string_view path) {
  Object* o = vm.global;
  size_t start = 0;
  while (start <= path.size()) {
    size_t dot = path.find('.', start);
    std::string_view part =
        path.substr(start, dot == std::string_view::npos ? path.npos : dot - start);
    String* k = vm.key(part);
    Object* next = vm.get(o, k).object();
    if (!next) {
      next = vm.newObject();
      // The packages came with the player of SWF 8, but movies of SWF 6 and 7 see them too
      // (only SWF 5 code does not), all but flash.display and flash.external.
      bool fromSwf8 = o != vm.global && (part == "display" || part == "external");
      uint16_t mask = o == vm.global ? Version6 : fromSwf8 ? Version8 : 0;
      vm.put(o, vm.intern(part), Value(next), DontEnum | mask);
    }
    o = next;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return o;
}

Function* definePackageClass(Vm& vm, std::string_view package, std::string_view name, NativeFn ctor,
                             Object* proto, AllocateFn allocate) {
  Function* f = vm.newNative(ctor, proto);
  f->allocate = allocate;
  vm.put(packageObject(vm, package), vm.intern(name), Value(static_cast<Object*>(f)), DontEnum);
  return f;
}

void defineAccessor(Vm& vm, Object* proto, std::string_view name, NativeFn getter, NativeFn setter,
                    uint16_t flags) {
  String* n = vm.intern(name);
  String* k = vm.key(n);
  Property* p = proto->props.find(k);
  if (!p) p = &proto->props.add(k, n);
  p->getter = vm.newNative(getter);
  p->setter = setter ? vm.newNative(setter) : nullptr;
  p->value = Value();
  p->flags = flags;
}

double numberOf(Vm& vm, Object* o, std::string_view name) {
  return o ? vm.toNumber(vm.get(o, vm.key(name))) : 0;
}

void setNumber(Vm& vm, Object* o, std::string_view name, double v) {
  if (o) vm.set(o, vm.key(name), Value(v));
}

Object* makeInstance(Vm& vm, std::string_view package, std::string_view name,
                     std::initializer_list<Value> args) {
  Value ctor = vm.get(packageObject(vm, package), vm.key(name));
  std::vector<Value> a(args);
  return vm.construct(ctor, a).object();
}

std::string numberText(Vm& vm, double v) { return vm.toString(Value(v)); }

}  // namespace swf::avm1
