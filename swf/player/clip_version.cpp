// MovieClip.getSWFVersion: the format version of the movie a clip or text field came from.

#include "swf/movie/movie.h"
#include "swf/player/clip_masks.h"
#include "swf/player/input_classes.h"
#include "swf/player/script_access.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"

namespace swf {
namespace {

constexpr int kMaxWalk = 256;

// -1 for anything that is not on the stage (numbers, made-up text fields, no object at all).
avm1::Value getSWFVersion(avm1::Vm& vm, avm1::Object* self, avm1::Args) {
  PlacedObject* p = textFieldOf(self);
  if (!p && self && self->asClip()) p = placedOf(vm, self);
  if (!p) return avm1::Value(-1);
  const SpriteInstance* s = dynamic_cast<const SpriteInstance*>(p);
  if (!s) s = p->parentTimeline();
  const PlayerContext& ctx = p->context();
  for (int n = 0; s && n < kMaxWalk; s = s->parentTimeline(), ++n) {
    if (auto it = ctx.loadedMovies.find(s); it != ctx.loadedMovies.end() && it->second.movie)
      return avm1::Value(it->second.movie->version);
    if (auto it = ctx.levelMovies.find(s); it != ctx.levelMovies.end() && it->second)
      return avm1::Value(it->second->version);
  }
  return avm1::Value(-1);
}

}  // namespace

void defineVersionMethod(avm1::Vm& vm, avm1::Object* movieClipProto) {
  vm.define(movieClipProto, "getSWFVersion", getSWFVersion);
}

}  // namespace swf
