#include "swf/player/text_field_variables.h"

#include "swf/avm1/vm.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"

namespace swf {
namespace {

// The timeline (or object) and name a variable path such as "score", "_root.game:score",
// "/game/:score" or "data.score" stands for, seen from the field's own timeline.
avm1::Object* variableOwner(avm1::Vm& vm, TextFieldInstance& field, std::string& name) {
  SpriteInstance* parent = field.parentTimeline();
  if (!parent) return nullptr;
  avm1::ClipObject* base = vm.clipFor(parent);
  const std::string& path = field.def().variableName;
  size_t cut = path.find_last_of(":.");
  if (cut == std::string::npos) {
    name = path;
    return base;
  }
  name = path.substr(cut + 1);
  return vm.walkPath(base, base, std::string_view(path).substr(0, cut), false);
}

std::string shownText(TextFieldInstance& f) { return f.variableText(); }

}  // namespace

void syncFieldVariable(avm1::Vm& vm, TextFieldInstance& field) {
  if (field.def().variableName.empty()) return;
  std::string name;
  avm1::Object* owner = variableOwner(vm, field, name);
  if (!owner || name.empty()) return;
  // A timeline tells its fields when its variables change; another object only gives its
  // value when the field is bound to it.
  if (!owner->asClip() && field.bound) return;
  avm1::Value v = vm.get(owner, vm.intern(name));
  if (v.isUndefined()) {
    // Only when the field first meets its variable does the variable get a value: the text
    // the file gave the field, whatever scripts have set since (a field without one makes no
    // variable).
    if (field.bound) return;
    field.bound = true;
    if (!field.def().hasText) return;
    if (field.def().html)
      field.setHtmlText(field.fileText, vm.version());
    else
      field.setText(field.fileText);
    field.boundText = shownText(field);
    vm.set(owner, vm.intern(name), avm1::Value(vm.str(field.boundText)));
    return;
  }
  std::string text = vm.toString(v);
  field.bound = true;
  if (text == field.boundText && text == shownText(field)) return;
  field.boundText = text;
  if (field.def().html)
    field.setHtmlText(text, vm.version());
  else
    field.setText(text);
}

void storeFieldVariable(avm1::Vm& vm, TextFieldInstance& field) {
  if (field.def().variableName.empty()) return;
  std::string name;
  avm1::Object* owner = variableOwner(vm, field, name);
  if (!owner || name.empty()) return;
  field.boundText = shownText(field);
  field.bound = true;
  vm.set(owner, vm.intern(name), avm1::Value(vm.str(field.boundText)));
}

void Player::syncTextVariables() {
  if (!vm_) return;
  // Syncing may run scripts (watch callbacks) that remove fields.
  std::vector<std::weak_ptr<const char>> alive;
  std::vector<TextFieldInstance*> fields = input_->fields;
  for (TextFieldInstance* f : fields) alive.push_back(f->lifeToken());
  for (size_t i = 0; i < fields.size(); ++i) {
    if (alive[i].expired()) continue;
    fields[i]->settleAutoSize();
    if (!fields[i]->def().variableName.empty()) syncFieldVariable(*vm_, *fields[i]);
  }
}

}  // namespace swf
