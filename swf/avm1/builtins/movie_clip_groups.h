#pragma once
// MovieClip's methods come in groups, each installed onto the prototype from its own file.

#include "swf/avm1/vm.h"

namespace swf::avm1 {

// The live clip a method was called on; null for other objects and removed clips.
inline DisplayNode* nodeOf(Object* self) {
  ClipObject* c = self ? self->asClip() : nullptr;
  return c ? c->node() : nullptr;
}

// The clip a value names: a clip object or a target path from `from`.
DisplayNode* clipArgument(Vm& vm, const Value& v);

// The methods a text field answers as well as a clip; the player puts its own versions, which
// take both, on MovieClip.prototype (text_field_class.cpp).
Value clipGetDepth(Vm& vm, Object* self, Args args);
Value clipRemove(Vm& vm, Object* self, Args args);

// Clips made by scripts and depths: attachMovie, duplicateMovieClip, swapDepths, ...
void installMovieClipDepths(Vm& vm, Object* proto);
// Bounds, coordinates, hit tests, masks and dragging.
void installMovieClipGeometry(Vm& vm, Object* proto);

}  // namespace swf::avm1
