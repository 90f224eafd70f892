// flash.net.FileReference and FileReferenceList: the player offers no file dialog, so browsing
// never starts and no file is ever chosen, uploaded or downloaded. The classes look as the
// original player's do, broadcasters whose objects carry the (empty) file properties.

#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/package_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/function.h"

namespace swf::avm1 {
namespace {

Value nothing(Vm&, Object*, Args) { return Value(); }
Value no(Vm&, Object*, Args) { return Value(false); }

// ASnative(2204, 200): gives an object (the argument, or else `this`) the properties of a file
// reference. No file is chosen, so they all read undefined and cannot be written.
Value fileProperties(Vm& vm, Object* self, Args args) {
  Object* target = args.at(0).object() ? args.at(0).object() : self;
  if (!target) return Value();
  for (const char* n : {"creationDate", "creator", "modificationDate", "name", "size", "type"})
    defineAccessor(vm, target, n, nothing, nullptr, 0);
  vm.put(target, "postData", text(vm, "undefined"));
  return Value();
}

void makeBroadcaster(Vm& vm, Object* proto) {
  if (Object* b = vm.get(vm.global, vm.intern("AsBroadcaster")).object()) {
    Value a[] = {Value(proto)};
    // Read past the version mask that hides initialize from SWF 5 code.
    if (const Property* init = b->props.find(vm.key(vm.intern("initialize"))))
      vm.call(init->value, b, a);
  }
}

Value fileReferenceCtor(Vm& vm, Object* self, Args) {
  if (!self) return Value();
  vm.put(self, "_listeners", Value(static_cast<Object*>(vm.newArray())));
  Value me(self);
  fileProperties(vm, self, {&me, 1});
  return Value();
}

Value fileReferenceListCtor(Vm& vm, Object* self, Args) {
  if (!self) return Value();
  vm.put(self, "_listeners", Value(static_cast<Object*>(vm.newArray())));
  vm.put(self, "fileList", vm.construct(vm.get(vm.global, vm.intern("Array")), {}));
  return Value();
}

}  // namespace

void installFileReference(Vm& vm) {
  registerAsNative(vm, 2204, 200, fileProperties);
  // Their methods are SWF 8's: older movies find the classes but not what they do.
  constexpr uint16_t kMethod = Hidden | Version8;
  Object* p = vm.newObject();
  makeBroadcaster(vm, p);
  for (const char* n : {"browse", "cancel", "download", "upload"}) vm.define(p, n, no, kMethod);
  definePackageClass(vm, "flash.net", "FileReference", fileReferenceCtor, p);

  Object* lp = vm.newObject();
  makeBroadcaster(vm, lp);
  vm.define(lp, "browse", no, kMethod);
  definePackageClass(vm, "flash.net", "FileReferenceList", fileReferenceListCtor, lp);
}

}  // namespace swf::avm1
