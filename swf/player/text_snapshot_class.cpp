// TextSnapshot: the class exists for every movie and its methods from SWF 6 on. The player
// keeps no snapshot of static text, so an object made by script answers nothing.

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/function.h"
#include "swf/avm1/vm.h"

namespace swf {
namespace {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

Value nothing(Vm&, Object*, Args) { return Value(); }

}  // namespace

void installTextSnapshot(Vm& vm) {
  Object* p = vm.newObject();
  for (const char* m : {"findText", "getCount", "getSelected", "getSelectedText", "getText",
                        "getTextRunInfo", "hitTestTextNearPos", "setSelectColor", "setSelected"})
    vm.define(p, m, nothing, avm1::Version6);
  vm.defineClass("TextSnapshot", nothing, p);
}

}  // namespace swf
