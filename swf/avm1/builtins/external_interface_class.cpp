// flash.external.ExternalInterface: the player has no page to talk to, so `available` is false,
// `call` answers null and callbacks are never called; the quoting helpers work as in the original.

#include <string>

#include "swf/avm1/builtins/package_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/builtins/scripted_method.h"

namespace swf::avm1 {
namespace {

// The text of the first argument, or nothing when it is missing or empty (the helpers give null).
bool textArgument(Vm& vm, Args args, std::string& out) {
  if (args.size() == 0) return false;
  out = vm.toString(args.at(0));
  return !out.empty();
}

Value jsQuoteString(Vm& vm, Object*, Args args) {
  std::string s, out;
  if (!textArgument(vm, args, s)) return Value::null();
  for (char c : s) {
    if (c == '"')
      out += "\\\"";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return Value(vm.str(out));
}

struct Entity {
  char c;
  const char* name;
};
constexpr Entity kEntities[] = {
    {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};

Value escapeXml(Vm& vm, Object*, Args args) {
  std::string s, out;
  if (!textArgument(vm, args, s)) return Value::null();
  for (char c : s) {
    const Entity* e = nullptr;
    for (const Entity& x : kEntities)
      if (x.c == c) e = &x;
    if (e)
      out += e->name;
    else
      out += c;
  }
  return Value(vm.str(out));
}

// Only the five entities _escapeXML writes are read back; "&nbsp;" and the like stay as they are.
Value unescapeXml(Vm& vm, Object*, Args args) {
  std::string s, out;
  if (!textArgument(vm, args, s)) return Value::null();
  for (size_t i = 0; i < s.size();) {
    const Entity* e = nullptr;
    if (s[i] == '&')
      for (const Entity& x : kEntities)
        if (s.compare(i, std::char_traits<char>::length(x.name), x.name) == 0) e = &x;
    if (e) {
      out += e->c;
      i += std::char_traits<char>::length(e->name);
    } else {
      out += s[i++];
    }
  }
  return Value(vm.str(out));
}

Value nothing(Vm&, Object*, Args) { return Value(); }
Value noAnswer(Vm&, Object*, Args) { return Value::null(); }
Value refused(Vm&, Object*, Args) { return Value(false); }
Value externalInterfaceCtor(Vm&, Object*, Args) { return Value(); }

}  // namespace

void installExternalInterface(Vm& vm) {
  Function* ctor = definePackageClass(vm, "flash.external", "ExternalInterface",
                                      externalInterfaceCtor, vm.newObject());
  // The helpers the original wrote in script have prototypes; its natives have none.
  for (const char* name :
       {"_argumentsToAS", "_argumentsToXML", "_arrayToAS", "_arrayToJS", "_arrayToXML", "_callIn",
        "_objectToAS", "_objectToJS", "_objectToXML", "_toAS", "_toJS", "_toXML"})
    defineScripted(vm, ctor, name, nothing);
  defineScripted(vm, ctor, "call", noAnswer);
  defineScripted(vm, ctor, "addCallback", refused);
  for (const char* name : {"_addCallback", "_callOut", "_evalJS", "_initJS", "_objectID"})
    vm.define(ctor, name, nothing);
  vm.define(ctor, "_jsQuoteString", jsQuoteString);
  vm.define(ctor, "_escapeXML", escapeXml);
  vm.define(ctor, "_unescapeXML", unescapeXml);
  vm.setAllFlags(ctor, Fixed);
  defineAccessor(vm, ctor, "available", refused, nullptr, DontEnum | DontDelete);
}

}  // namespace swf::avm1
