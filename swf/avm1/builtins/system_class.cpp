// System: capabilities (what this player offers, filled in by ASnative 11, 0 as the original's
// own script does), security and the clipboard, which are inert here.

#include <span>
#include <string>

#include "swf/avm1/builtins/load_text.h"
#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

struct Flag {
  const char* name;
  const char* code;  // its key in serverString
  bool value;
};

// In the order serverString lists them, the text ones between (see capabilitiesQuery).
constexpr Flag kLeadingFlags[] = {
    {"hasAudio", "A", true},
    {"hasStreamingAudio", "SA", true},
    {"hasStreamingVideo", "SV", false},
    {"hasEmbeddedVideo", "EV", false},
    {"hasMP3", "MP3", true},
    {"hasAudioEncoder", "AE", false},
    {"hasVideoEncoder", "VE", false},
    {"hasAccessibility", "ACC", false},
    {"hasPrinting", "PR", false},
    {"hasScreenPlayback", "SP", false},
    {"hasScreenBroadcast", "SB", false},
    {"isDebugger", "DEB", false},
};
constexpr Flag kTrailingFlags[] = {
    {"avHardwareDisable", "AVD", true},  // no camera or microphone is ever offered
    {"localFileReadDisable", "LFD", false},
    {"windowlessDisable", "WD", false},
    {"hasTLS", "TLS", false},
};

constexpr int kScreenWidth = 1920, kScreenHeight = 1080, kScreenDpi = 72;

// Puts every capability on `this`, as the original's System.capabilities.Query does.
Value capabilitiesQuery(Vm& vm, Object* self, Args) {
  if (!self) return Value();
  const std::string version = kPlayerVersion, os = "Linux", manufacturer = "Reelvista",
                    language = "en", playerType = "StandAlone", screenColor = "color";
  std::string server;
  auto code = [&](const char* key, const std::string& v) {
    if (!server.empty()) server += '&';
    server += key;
    server += '=';
    server += v;
  };
  auto flags = [&](std::span<const Flag> list) {
    for (const Flag& f : list) {
      vm.put(self, f.name, Value(f.value));
      code(f.code, f.value ? "t" : "f");
    }
  };
  auto text = [&](const char* name, const std::string& v) {
    vm.put(self, name, Value(vm.intern(v)));
  };
  flags(kLeadingFlags);
  text("version", version);
  text("manufacturer", manufacturer);
  text("os", os);
  text("language", language);
  text("playerType", playerType);
  text("screenColor", screenColor);
  vm.put(self, "hasIME", Value(false));
  vm.put(self, "screenResolutionX", Value(kScreenWidth));
  vm.put(self, "screenResolutionY", Value(kScreenHeight));
  vm.put(self, "screenDPI", Value(kScreenDpi));
  vm.put(self, "pixelAspectRatio", Value(1));
  code("V", urlEscape(version));
  code("M", urlEscape(manufacturer));
  code("R", std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight));
  code("DP", std::to_string(kScreenDpi));
  code("COL", screenColor);
  code("AR", "1.0");
  code("OS", urlEscape(os));
  code("L", language);
  code("IME", "f");
  code("PT", playerType);
  flags(kTrailingFlags);
  text("serverString", server);
  return Value();
}

Value inert(Vm&, Object*, Args) { return Value(); }

}  // namespace

void installSystem(Vm& vm) {
  Object* sys = vm.newObject();
  vm.put(vm.global, "System", Value(sys), DontEnum);
  Object* caps = vm.newObject();
  vm.put(sys, "capabilities", Value(caps), DontEnum);
  registerAsNative(vm, 11, 0, capabilitiesQuery);
  capabilitiesQuery(vm, caps, {});
  Object* sec = vm.newObject();
  vm.put(sys, "security", Value(sec), DontEnum);
  vm.define(sec, "allowDomain", inert);
  vm.define(sec, "allowInsecureDomain", inert);
  vm.define(sec, "loadPolicyFile", inert);
  vm.define(sys, "setClipboard", inert);
  vm.define(sys, "showSettings", inert);
  vm.put(sys, "useCodepage", Value(false));
  vm.put(sys, "exactSettings", Value(true));
}

}  // namespace swf::avm1
