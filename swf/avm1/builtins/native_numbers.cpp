#include "swf/avm1/builtins/native_numbers.h"

#include <string>

#include "swf/avm1/load_queue.h"

namespace swf::avm1 {
namespace {

// The table lives among the machine's kept objects: a function per number, never collected.
std::string keyOf(int group, int index) {
  return "ASnative " + std::to_string(group) + "," + std::to_string(index);
}

}  // namespace

void registerAsNative(Vm& vm, int group, int index, NativeFn fn) {
  vm.loads().kept[keyOf(group, index)] = Value(static_cast<Object*>(vm.newNative(fn)));
}

void registerCoreNatives(Vm& vm) {
  auto nativeOf = [&vm](Object* o, const char* name) -> NativeFn {
    auto* f = o ? dynamic_cast<Function*>(vm.get(o, vm.intern(name)).object()) : nullptr;
    return f ? f->native : nullptr;
  };
  if (NativeFn escape = nativeOf(vm.global, "escape")) registerAsNative(vm, 100, 0, escape);
  if (NativeFn array = nativeOf(vm.global, "Array")) registerAsNative(vm, 252, 0, array);
  if (NativeFn push = nativeOf(vm.arrayProto, "push")) registerAsNative(vm, 252, 1, push);
}

NativeFn findAsNative(Vm& vm, int group, int index) {
  auto it = vm.loads().kept.find(keyOf(group, index));
  if (it == vm.loads().kept.end() || !it->second.object()) return nullptr;
  auto* f = dynamic_cast<Function*>(it->second.object());
  return f ? f->native : nullptr;
}

}  // namespace swf::avm1
