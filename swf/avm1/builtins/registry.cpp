#include "swf/avm1/builtins/registry.h"

#include "swf/avm1/vm.h"

namespace swf::avm1 {

void installBuiltins(Vm& vm) {
  // Object and Function first: every other class's prototype and constructor hang off them.
  installObject(vm);
  installFunction(vm);
  installGlobals(vm);
  installNativeAccess(vm);
  installArray(vm);
  installString(vm);
  installNumberAndBoolean(vm);
  installMath(vm);
  installError(vm);
  installBroadcaster(vm);
  installSystem(vm);
  installDate(vm);
  installMovieClip(vm);
  installButton(vm);
  installNetStream(vm);
  installColor(vm);
  installLoadVars(vm);
  installXml(vm);
  installSharedObject(vm);
  installMovieClipLoader(vm);
  installDeviceClasses(vm);
  installFileReference(vm);
  installExternalInterface(vm);
}

}  // namespace swf::avm1
