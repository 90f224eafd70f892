// MovieClip: the prototype and its timeline methods. The other groups of methods install
// themselves from their own files (movie_clip_groups.h).

#include <algorithm>
#include <cmath>

#include "swf/avm1/builtins/movie_clip_groups.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"

namespace swf::avm1 {
namespace {

Value gotoFrame(Vm& vm, Object* self, Args args, bool play) {
  DisplayNode* n = nodeOf(self);
  if (!n || args.size() == 0) return Value();
  Value f = args.at(0);
  if (f.isString()) {
    double num = stringToNumber(f.s->text, 7);
    if (std::isnan(num)) {
      n->gotoLabel(f.s->text, play);
      return Value();
    }
    f = Value(num);
  }
  double d = vm.toNumber(f);
  if (std::isfinite(d) && d >= 1) n->gotoFrame(int(std::min(d, 1e9)) - 1, play);
  return Value();
}

Value gotoAndPlay(Vm& vm, Object* self, Args args) { return gotoFrame(vm, self, args, true); }
Value gotoAndStop(Vm& vm, Object* self, Args args) { return gotoFrame(vm, self, args, false); }

Value play(Vm&, Object* self, Args) {
  if (DisplayNode* n = nodeOf(self)) n->play();
  return Value();
}

Value stop(Vm&, Object* self, Args) {
  if (DisplayNode* n = nodeOf(self)) n->stop();
  return Value();
}

Value nextFrame(Vm&, Object* self, Args) {
  if (DisplayNode* n = nodeOf(self)) n->gotoFrame(n->currentFrame() + 1, false);
  return Value();
}

Value prevFrame(Vm&, Object* self, Args) {
  if (DisplayNode* n = nodeOf(self)) n->gotoFrame(std::max(n->currentFrame() - 1, 0), false);
  return Value();
}

Value clipToString(Vm& vm, Object* self, Args) {
  ClipObject* c = self ? self->asClip() : nullptr;
  if (!c) return Value(vm.intern("[object Object]"));
  DisplayNode* n = c->node();
  return text(vm, n ? vm.targetPathOf(n) : c->targetPath());
}

Value movieClipCtor(Vm&, Object* self, Args) { return obj(self); }

}  // namespace

Value clipRemove(Vm&, Object* self, Args) {
  if (DisplayNode* n = nodeOf(self)) n->removeNode();
  return Value();
}

void installMovieClip(Vm& vm) {
  Object* p = vm.newObject();
  vm.movieClipProto = p;
  vm.define(p, "gotoAndPlay", gotoAndPlay);
  vm.define(p, "gotoAndStop", gotoAndStop);
  vm.define(p, "play", play);
  vm.define(p, "stop", stop);
  vm.define(p, "nextFrame", nextFrame);
  vm.define(p, "prevFrame", prevFrame);
  vm.define(p, "removeMovieClip", clipRemove);
  installMovieClipLoading(vm, p);
  installClipGraphics(vm, p);
  (void)clipToString;
  installMovieClipDepths(vm, p);
  installMovieClipGeometry(vm, p);
  vm.defineClass("MovieClip", movieClipCtor, p);
}

}  // namespace swf::avm1
