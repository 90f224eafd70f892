// MovieClip's loading methods: loadMovie, loadVariables and unloadMovie do what the GetURL2
// action does with the clip as its target.

#include <strings.h>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

constexpr int kLoadIntoTarget = 0x40;
constexpr int kLoadVariables = 0x80;

// "GET" 1, "POST" 2, anything else 0: how variables would be sent.
int sendMethod(Vm& vm, const Value& v) {
  std::string m = vm.toString(v);
  if (strcasecmp(m.c_str(), "GET") == 0) return 1;
  if (strcasecmp(m.c_str(), "POST") == 0) return 2;
  return 0;
}

void loadInto(Vm& vm, Object* self, const std::string& url, int flags) {
  ClipObject* c = self ? self->asClip() : nullptr;
  if (c && c->alive()) vm.host().getURL(url, vm.targetPathOf(c->node()), flags);
}

Value loadMovie(Vm& vm, Object* self, Args args) {
  if (args.size() > 0)
    loadInto(vm, self, vm.toString(args.at(0)), kLoadIntoTarget | sendMethod(vm, args.at(1)));
  return Value();
}

Value loadVariables(Vm& vm, Object* self, Args args) {
  if (args.size() > 0)
    loadInto(vm, self, vm.toString(args.at(0)),
             kLoadIntoTarget | kLoadVariables | sendMethod(vm, args.at(1)));
  return Value();
}

Value unloadMovie(Vm& vm, Object* self, Args) {
  loadInto(vm, self, "", kLoadIntoTarget);
  return Value();
}

}  // namespace

void installMovieClipLoading(Vm& vm, Object* movieClipProto) {
  vm.define(movieClipProto, "loadMovie", loadMovie);
  vm.define(movieClipProto, "loadVariables", loadVariables);
  vm.define(movieClipProto, "unloadMovie", unloadMovie);
}

}  // namespace swf::avm1
