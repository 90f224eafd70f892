#pragma once
// The built-in classes and functions, installed into each new machine.

namespace swf::avm1 {

class Vm;
class Object;

void installBuiltins(Vm& vm);

// The version string movies see ($version, getVersion(), System.capabilities.version).
extern const char* const kPlayerVersion;

void installObject(Vm& vm);
void installFunction(Vm& vm);
void installGlobals(Vm& vm);
// ASnative and its kin: built-in functions by number.
void installNativeAccess(Vm& vm);
void installArray(Vm& vm);
void installString(Vm& vm);
// The String class the machine made (scripts may put another in its place).
bool isBuiltinStringClass(const Object* o);
void installNumberAndBoolean(Vm& vm);
void installMath(Vm& vm);
void installError(Vm& vm);
void installBroadcaster(Vm& vm);
// Makes `o` a broadcaster through AsBroadcaster.initialize as it stands (a script may have
// replaced it), whatever the movie's version lets its own code see.
void makeBroadcaster(Vm& vm, Object* o);
void installSystem(Vm& vm);
void installDate(Vm& vm);
// Dates turn into text, not their time, where a script adds them to something.
bool isDate(const Object* o);
void installMovieClip(Vm& vm);
void installButton(Vm& vm);
void installNetStream(Vm& vm);  // NetConnection, NetStream and Video
void installColor(Vm& vm);
// Camera, Microphone, LocalConnection, XMLSocket, Accessibility, RemoteLSOUsage: inert.
void installDeviceClasses(Vm& vm);
// flash.net.FileReference and FileReferenceList: no file is ever chosen.
void installFileReference(Vm& vm);
// flash.external.ExternalInterface: there is no page to call.
void installExternalInterface(Vm& vm);
// Loading and keeping data: LoadVars, XML, SharedObject, MovieClipLoader.
void installLoadVars(Vm& vm);
void installXml(Vm& vm);
void installSharedObject(Vm& vm);
void installMovieClipLoader(Vm& vm);
// MovieClip's loadMovie, loadVariables and unloadMovie, on its prototype.
void installMovieClipLoading(Vm& vm, Object* movieClipProto);
// The drawing API and the display properties of flash.geom and flash.filters on MovieClip.
void installClipGraphics(Vm& vm, Object* movieClipProto);

}  // namespace swf::avm1
