// Text fields among a sprite's children, found by instance name like its clips.

#include <strings.h>

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
  TextFieldInstance* f = namedField(name, caseSensitive);
  if (!f) return nullptr;
  // Fields have no objects of their own for SWF 5 code: their names stand for the clip
  // holding them, so `t.v = 1` sets a variable of that clip.
  if (vm.version() < 6) return vm.clipFor(this);
  return textFieldObject(vm, *f);
}

TextFieldInstance* SpriteInstance::namedField(const std::string& name, bool caseSensitive) {
  return findNamedField(*this, name, caseSensitive);
}

}  // namespace swf
