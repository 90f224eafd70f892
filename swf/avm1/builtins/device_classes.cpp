// Classes for devices and connections the player does not offer: Camera, Microphone,
// LocalConnection, XMLSocket, Accessibility and RemoteLSOUsage. They exist, with the members and
// flags the original player gives them, so that scripts testing for them behave as there; no
// camera or microphone is found and no connection is ever made.

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/function.h"

namespace swf::avm1 {
namespace {

Value nothing(Vm&, Object*, Args) { return Value(); }
Value none(Vm&, Object*, Args) { return Value::null(); }
Value no(Vm&, Object*, Args) { return Value(false); }
Value localDomain(Vm& vm, Object*, Args) { return text(vm, "localhost"); }

// XMLSocket.prototype.onData: the text received, parsed, goes to onXML.
Value socketData(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  Value src = args.at(0);
  Value doc = vm.construct(vm.get(vm.global, vm.intern("XML")), {&src, 1});
  vm.callMethod(self, vm.intern("onXML"), {&doc, 1});
  return Value();
}

// A method the original wrote in script: a function with a prototype of its own.
void defineScripted(Vm& vm, Object* o, std::string_view name, NativeFn fn, uint16_t flags) {
  vm.put(o, name, Value(static_cast<Object*>(vm.newNative(fn, vm.newObject()))), flags);
}

// Methods of SWF 6 classes: older movies see them masked.
constexpr uint16_t kMethod6 = Hidden | Version6;

void installCamera(Vm& vm) {
  Object* p = vm.newObject();
  for (const char* n : {"setCursor", "setKeyFrameInterval", "setLoopback", "setMode",
                        "setMotionLevel", "setQuality"})
    vm.define(p, n, nothing, kMethod6);
  Function* c = vm.defineClass("Camera", nothing, p);
  defineScripted(vm, c, "get", none, 0);
}

void installMicrophone(Vm& vm) {
  Object* p = vm.newObject();
  for (const char* n : {"setGain", "setRate", "setSilenceLevel", "setUseEchoSuppression"})
    vm.define(p, n, nothing, kMethod6);
  Function* c = vm.defineClass("Microphone", nothing, p);
  defineScripted(vm, c, "get", none, 0);
}

void installLocalConnection(Vm& vm) {
  Object* p = vm.newObject();
  vm.define(p, "close", nothing, kMethod6);
  vm.define(p, "connect", no, kMethod6);
  vm.define(p, "domain", localDomain, kMethod6);
  vm.define(p, "send", no, kMethod6);
  vm.defineClass("LocalConnection", nothing, p);
}

void installXmlSocket(Vm& vm) {
  Object* p = vm.newObject();
  vm.define(p, "close", nothing);
  vm.define(p, "connect", no);
  vm.define(p, "send", nothing);
  defineScripted(vm, p, "onData", socketData, Hidden);
  vm.defineClass("XMLSocket", nothing, p);
}

void installAccessibility(Vm& vm) {
  Object* a = vm.newObject();
  vm.setAllFlags(a, Hidden | ReadOnly);  // its links to Object
  constexpr uint16_t kFixed = DontDelete | ReadOnly | Version6;
  vm.define(a, "isActive", no, kFixed);
  vm.define(a, "sendEvent", nothing, kFixed);
  vm.define(a, "updateProperties", nothing, kFixed);
  vm.put(vm.global, "Accessibility", Value(a), DontEnum);
}

void installRemoteLsoUsage(Vm& vm) {
  Function* c = vm.defineClass("RemoteLSOUsage", nothing, vm.newObject());
  defineScripted(vm, c, "getURLPageSupport", nothing, DontEnum);
}

}  // namespace

void installDeviceClasses(Vm& vm) {
  installCamera(vm);
  installMicrophone(vm);
  installLocalConnection(vm);
  installXmlSocket(vm);
  installAccessibility(vm);
  installRemoteLsoUsage(vm);
}

}  // namespace swf::avm1
