// PrintJob: the player has no printer, so a job never starts; the class looks as the original
// player's does, with its page properties appearing on the prototype once a job is made.

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/function.h"
#include "swf/avm1/vm.h"

namespace swf {
namespace {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

// No page is known before a job starts, and none ever does.
Value noPageValue(Vm&, Object*, Args) { return Value(); }
Value ignoreValue(Vm&, Object*, Args) { return Value(); }

Value printJobCtor(Vm& vm, Object* self, Args) {
  Object* ctor = vm.get(vm.global, vm.intern("PrintJob")).object();
  Object* proto = ctor ? vm.get(ctor, vm.intern("prototype")).object() : nullptr;
  if (proto)
    for (const char* n : {"orientation", "pageHeight", "pageWidth", "paperHeight", "paperWidth"}) {
      avm1::String* key = vm.key(n);
      if (proto->props.find(key)) continue;
      avm1::Property& p = proto->props.add(key, vm.intern(n));
      p.getter = vm.newNative(noPageValue);
      p.setter = vm.newNative(ignoreValue);
    }
  return avm1::obj(self);
}

Value start(Vm&, Object*, Args) { return Value(false); }
Value addPage(Vm&, Object*, Args) { return Value(false); }
Value send(Vm&, Object*, Args) { return Value(); }

}  // namespace

void installPrintJob(Vm& vm) {
  Object* p = vm.newObject();
  // The class is SWF 7's: older movies see its methods masked.
  constexpr uint16_t kMethod = avm1::Hidden | avm1::Version7;
  vm.define(p, "start", start, kMethod);
  vm.define(p, "addPage", addPage, kMethod);
  vm.define(p, "send", send, kMethod);
  vm.defineClass("PrintJob", printJobCtor, p);
  for (avm1::String* link : {vm.names().proto, vm.names().constructor})
    if (avm1::Property* prop = p->props.find(vm.key(link))) prop->flags |= avm1::Version7;
}

}  // namespace swf
