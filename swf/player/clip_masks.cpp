#include "swf/player/clip_masks.h"

#include "swf/avm1/builtins/movie_clip_groups.h"
#include "swf/player/input_classes.h"
#include "swf/player/script_access.h"
#include "swf/player/text_field_instance.h"

namespace swf {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

void setScriptMask(PlacedObject& target, PlacedObject* mask) {
  if (mask == &target) mask = nullptr;
  if (PlacedObject* old = target.scriptMask.get(); old && old->masking.get() == &target)
    old->masking = {};
  if (mask)
    if (PlacedObject* other = mask->masking.get(); other && other != &target)
      other->scriptMask = {};
  // A timeline mask taking part in a script's mask pair stops masking the layers above it.
  target.clipDepth = 0;
  if (mask) mask->clipDepth = 0;
  target.scriptMask = mask ? PlacedObject::Link{mask, mask->lifeToken()} : PlacedObject::Link{};
  if (mask) mask->masking = {&target, target.lifeToken()};
  target.markChanged();
}

namespace {

// A clip, a text field, or a target path naming a clip.
PlacedObject* placedArgument(Vm& vm, const Value& v) {
  if (TextFieldInstance* f = textFieldOf(v.object())) return f;
  return dynamic_cast<PlacedObject*>(avm1::clipArgument(vm, v));
}

// Also called on text fields, which borrow it (textField.setMask = clip.setMask).
Value setMask(Vm& vm, Object* self, Args args) {
  PlacedObject* target = textFieldOf(self);
  if (!target) target = placedOf(vm, self);
  if (!target) return Value();
  setScriptMask(*target, placedArgument(vm, args.at(0)));
  return Value(true);
}

}  // namespace

void defineMaskMethod(Vm& vm, Object* movieClipProto) {
  vm.define(movieClipProto, "setMask", setMask, avm1::DontEnum | avm1::Version6);
}

}  // namespace swf
