// Button: the class scripts see for buttons. Buttons on the stage get no objects of their own
// yet, so its methods and display properties answer nothing; the prototype still looks as the
// original player's does, and `new Button` makes an ordinary instance of it.

#include "swf/avm1/builtins/package_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

Value nothing(Vm&, Object*, Args) { return Value(); }
Value buttonCtor(Vm&, Object*, Args) { return Value(); }

}  // namespace

void installButton(Vm& vm) {
  Object* p = vm.newObject();
  vm.put(p, "useHandCursor", Value(true), 0);
  vm.put(p, "enabled", Value(true), 0);
  vm.define(p, "getDepth", nothing, 0);
  for (const char* name : {"tabIndex", "scale9Grid", "filters", "cacheAsBitmap", "blendMode"})
    defineAccessor(vm, p, name, nothing, nullptr, 0);
  vm.defineClass("Button", buttonCtor, p);
}

}  // namespace swf::avm1
