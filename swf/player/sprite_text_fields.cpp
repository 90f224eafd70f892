// Text fields among a sprite's children, found by instance name like its clips.

#include <strings.h>

#include "swf/avm1/clip_object.h"
#include "swf/avm1/vm.h"
#include "swf/player/input_classes.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"

namespace swf {
namespace {

TextFieldInstance* findNamedField(DisplayObject& parent, const std::string& name,
                                  bool caseSensitive) {
  for (auto& [depth, child] : parent.children) {
    if (static_cast<PlacedObject&>(*child).holdsStack) {
      if (auto* f = findNamedField(*child, name, caseSensitive)) return f;
      continue;
    }
    bool same =
        caseSensitive ? child->name == name : strcasecmp(child->name.c_str(), name.c_str()) == 0;
    if (same)
      if (auto* f = dynamic_cast<TextFieldInstance*>(child.get())) return f;
  }
  return nullptr;
}

}  // namespace

avm1::Object* SpriteInstance::childObject(avm1::Vm& vm, const std::string& name,
                                          bool caseSensitive) {
  TextFieldInstance* f = findNamedField(*this, name, caseSensitive);
  if (!f) return nullptr;
  // SWF 5 code has no text field objects: a field's name finds the clip it is in.
  if (vm.version() < 6) return vm.clipFor(this);
  return textFieldObject(vm, *f);
}

}  // namespace swf
