// MovieClip methods that make, remove and reorder clips: attachMovie, createEmptyMovieClip,
// duplicateMovieClip, swapDepths and the depth queries.

#include <climits>
#include <cmath>

#include "swf/avm1/builtins/movie_clip_groups.h"
#include "swf/avm1/builtins/native_support.h"

namespace swf::avm1 {
namespace {

// A depth argument as an int; one no clip can have when it is not a finite number.
int depthArg(Vm& vm, const Value& v) {
  double d = vm.toNumber(v);
  if (!std::isfinite(d) || d <= INT_MIN || d > INT_MAX) return INT_MIN;
  return int(std::trunc(d));
}

Value clipValue(Vm& vm, DisplayNode* n) {
  return n ? Value(static_cast<Object*>(vm.clipFor(n))) : Value();
}

Value attachMovie(Vm& vm, Object* self, Args args) {
  DisplayNode* n = nodeOf(self);
  if (!n || args.size() < 3) return Value();
  std::string symbol = vm.toString(args.at(0));
  // Up to SWF 6 the clip takes the object's properties before its first frame is shown: a
  // size given there meets an empty clip.
  bool startLater = vm.version() < 7;
  DisplayNode* made =
      n->attachNode(symbol, vm.toString(args.at(1)), depthArg(vm, args.at(2)), startLater);
  vm.initClip(made, symbol, args.at(3));
  return clipValue(vm, made);
}

Value createEmptyMovieClip(Vm& vm, Object* self, Args args) {
  DisplayNode* n = nodeOf(self);
  if (!n || args.size() < 2) return Value();
  Value made = clipValue(vm, n->createEmptyNode(vm.toString(args.at(0)), depthArg(vm, args.at(1))));
  // An empty clip is constructed at once: its onConstruct (inherited, as it can have no other
  // yet) runs before this returns.
  if (Object* clip = made.object()) {
    Value fn = vm.get(clip, vm.intern("onConstruct"));
    if (fn.object() && fn.o->isFunction()) vm.call(fn, clip, {});
  }
  return made;
}

Value duplicateMovieClip(Vm& vm, Object* self, Args args) {
  DisplayNode* n = nodeOf(self);
  if (!n || args.size() < 2) return Value();
  DisplayNode* made = n->duplicateNode(vm.toString(args.at(0)), depthArg(vm, args.at(1)));
  if (made) vm.initClip(made, made->symbolName(), args.at(2));
  return clipValue(vm, made);
}

Value swapDepths(Vm& vm, Object* self, Args args) {
  DisplayNode* n = nodeOf(self);
  if (!n || args.size() < 1) return Value();
  Value t = args.at(0);
  if (ClipObject* other = t.object() ? t.o->asClip() : nullptr) {
    DisplayNode* o = other->node();
    // Only siblings trade places.
    if (o && o != n && o->parentNode() == n->parentNode()) n->swapDepth(o->nodeDepth());
    return Value();
  }
  if (int d = depthArg(vm, t); d != INT_MIN) n->swapDepth(d);
  return Value();
}

Value getNextHighestDepth(Vm&, Object* self, Args) {
  DisplayNode* n = nodeOf(self);
  return n ? Value(n->nextHighestDepth()) : Value();
}

Value getInstanceAtDepth(Vm& vm, Object* self, Args args) {
  DisplayNode* n = nodeOf(self);
  if (!n || args.size() < 1) return Value();
  if (args.at(0).isUndefined()) return Value();
  return clipValue(vm, n->nodeAtDepth(vm.toInt32(args.at(0))));
}

Value getBytesTotal(Vm&, Object* self, Args) {
  DisplayNode* n = nodeOf(self);
  return n ? Value(n->bytesTotal()) : Value();
}

}  // namespace

Value clipGetDepth(Vm&, Object* self, Args) {
  DisplayNode* n = nodeOf(self);
  return n ? Value(n->nodeDepth()) : Value();
}

void installMovieClipDepths(Vm& vm, Object* p) {
  vm.define(p, "attachMovie", attachMovie);
  vm.define(p, "createEmptyMovieClip", createEmptyMovieClip, DontEnum | Version6);
  vm.define(p, "duplicateMovieClip", duplicateMovieClip);
  vm.define(p, "swapDepths", swapDepths);
  vm.define(p, "getDepth", clipGetDepth, DontEnum | Version6);
  vm.define(p, "getNextHighestDepth", getNextHighestDepth, DontEnum | Version7);
  vm.define(p, "getInstanceAtDepth", getInstanceAtDepth, DontEnum | Version7);
  // A movie is loaded whole before it plays, so what is loaded is all there is.
  vm.define(p, "getBytesLoaded", getBytesTotal);
  vm.define(p, "getBytesTotal", getBytesTotal);
}

}  // namespace swf::avm1
