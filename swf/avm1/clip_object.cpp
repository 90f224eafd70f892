#include "swf/avm1/clip_object.h"

#include <strings.h>

#include "swf/avm1/vm.h"

namespace swf::avm1 {
namespace {

const char* const kPropertyNames[PropCount] = {
    "_x",           "_y",           "_xscale",       "_yscale",       "_currentframe",
    "_totalframes", "_alpha",       "_visible",      "_width",        "_height",
    "_rotation",    "_target",      "_framesloaded", "_name",         "_droptarget",
    "_url",         "_highquality", "_focusrect",    "_soundbuftime", "_quality",
    "_xmouse",      "_ymouse"};

}  // namespace

int clipPropertyIndex(const std::string& name) {
  if (name.empty() || name[0] != '_') return -1;
  for (int i = 0; i < PropCount; ++i)
    if (strcasecmp(name.c_str(), kPropertyNames[i]) == 0) return i;
  return -1;
}

DisplayNode* ClipObject::refind() const {
  // "_levelN.a.b": the level, then each name down from it.
  if (!vm || path_.rfind("_level", 0) != 0) return nullptr;
  size_t dot = path_.find('.');
  std::string level = path_.substr(6, dot == std::string::npos ? std::string::npos : dot - 6);
  if (level.empty() || level.size() > 5 ||
      level.find_first_not_of("0123456789") != std::string::npos)
    return nullptr;
  DisplayNode* n = vm->host().levelNode(std::stoi(level));
  while (n && dot != std::string::npos) {
    size_t next = path_.find('.', dot + 1);
    n = n->childNode(path_.substr(dot + 1, next == std::string::npos ? next : next - dot - 1),
                     vm->caseSensitive());
    dot = next;
  }
  return n;
}

bool ClipObject::getNative(Vm& vm, String* key, Value& out) {
  // Most names scripts use on a clip are its variables: skip the native ones quickly.
  if (!plainNative_ && (key->text.empty() || key->text[0] != '_') && alive()) return false;
  // A getter added under a native name is read instead of it; writes still go to the native.
  if (const Property* p = props.find(key); p && p->getter && visibleIn(p->flags, vm.version()))
    return false;
  if (DisplayNode* n = node(); n && n->getNodeProperty(vm, key, out)) return true;
  const std::string& k = key->text;
  // A dead reference to a clip whose path is taken again answers as that clip.
  if (!alive()) {
    DisplayNode* n = node();
    if (!n) return false;
    out = vm.get(vm.clipFor(n), key);
    return true;
  }
  if (k.empty() || k[0] != '_') return false;
  DisplayNode* n = node();
  if (!n) return false;
  if (int i = clipPropertyIndex(k); i >= 0) {
    out = n->getProperty(vm, i);
    return true;
  }
  // From SWF 7 on these names keep their case, as variables do.
  auto named = [&](const char* native) {
    return vm.caseSensitive() ? k == native : strcasecmp(k.c_str(), native) == 0;
  };
  if (named("_root")) {
    out = Value(static_cast<Object*>(vm.clipFor(n->rootNode())));
    return true;
  }
  if (named("_parent")) {
    DisplayNode* p = n->parentNode();
    out = p ? Value(static_cast<Object*>(vm.clipFor(p))) : Value();
    return true;
  }
  return false;
}

bool ClipObject::setNative(Vm& vm, String* key, const Value& v) {
  // A clip keeps no member with an empty name: the write is dropped.
  if (key->text.empty()) return true;
  // Most names scripts use on a clip are its variables: skip the native ones quickly.
  if (!plainNative_ && (key->text.empty() || key->text[0] != '_') && alive()) return false;
  if (DisplayNode* n = node(); n && n->setNodeProperty(vm, key, v)) return true;
  const std::string& k = key->text;
  if (!alive()) {
    DisplayNode* n = node();
    if (!n) return false;
    vm.set(vm.clipFor(n), key, v);
    return true;
  }
  if (k.empty() || k[0] != '_') return false;
  DisplayNode* n = node();
  if (!n) return false;
  int i = clipPropertyIndex(k);
  if (i < 0) return false;
  n->setProperty(vm, i, v);
  return true;
}

void ClipObject::enumerateNative(Vm& vm, std::vector<String*>& names) {
  DisplayNode* n = node();
  if (!n) return;
  n->nodePropertyNames(vm, names);
  if (childrenHidden) return;
  std::vector<std::string> children;
  n->childNames(children);
  for (const std::string& c : children) names.push_back(vm.intern(c));
}

}  // namespace swf::avm1
