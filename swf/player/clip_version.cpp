// MovieClip.getSWFVersion: the format version of the movie a clip or text field came from.

#include "swf/movie/movie.h"
#include "swf/player/clip_masks.h"
#include "swf/player/input_classes.h"
#include "swf/player/script_access.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"

namespace swf {
namespace {

// -1 for anything that is not on the stage (numbers, made-up text fields, no object at all).
avm1::Value getSWFVersion(avm1::Vm& vm, avm1::Object* self, avm1::Args) {
  PlacedObject* p = textFieldOf(self);
  if (!p && self && self->asClip()) p = placedOf(vm, self);
  if (!p) return avm1::Value(-1);
  const SpriteInstance* s = dynamic_cast<const SpriteInstance*>(p);
  if (!s) s = p->parentTimeline();
  const Movie* movie = s ? p->context().homeOf(s).movie : nullptr;
  return avm1::Value(movie ? movie->version : -1);
}

}  // namespace

void defineVersionMethod(avm1::Vm& vm, avm1::Object* movieClipProto) {
  vm.define(movieClipProto, "getSWFVersion", getSWFVersion);
}

}  // namespace swf
