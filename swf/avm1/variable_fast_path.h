#pragma once
// The common case of GetVariable and SetVariable, done inline by the action loop: a plain name
// that the innermost scope object holds itself as an ordinary value (no getter, setter, version
// mask or watchpoint). That is the whole lookup there, as Vm::getVariable and Vm::setVariable
// would do it, native hooks first; anything else (a miss, a path, a special name) returns false
// and goes their way.

#include "swf/avm1/display_node.h"
#include "swf/avm1/exec_frame.h"
#include "swf/avm1/vm.h"

namespace swf::avm1::fast {

// The scope object a plain name is looked for on first.
inline Object* innermost(const ExecFrame& f) {
  size_t n = f.scope.size();
  if (n == 0) return nullptr;
  return n == 1 ? f.timeline() : f.scope[n - 1];
}

// The key of an interned name in the running version (lower-cased where names ignore case).
inline String* keyOf(const Vm& vm, String* name) { return vm.caseSensitive() ? name : name->lower; }

// `o`'s own property `k` when it is an ordinary value there, else null.
inline Property* ownValue(Object* o, String* k) {
  // The slot the key was last found at, as PropertyTable::find tries it first (compared in
  // bytes: a count of entries would cost a division).
  std::vector<Property>& list = o->props.list();
  size_t hint = k->slotHint;
  bool inside =
      hint * sizeof(Property) < size_t(reinterpret_cast<char*>(list.data() + list.size()) -
                                       reinterpret_cast<char*>(list.data()));
  Property* p = inside && list[hint].key == k ? &list[hint] : o->props.find(k);
  if (!p || p->getter || p->setter || (p->flags & VersionMask)) return nullptr;
  return p;
}

// What one run of a frame learned about its timeline (scope[0], which stays the same object
// while the frame runs, so no other object can take its address): whether it is a clip whose
// native hooks answer only names starting with '_' while the clip lives.
class Timeline {
 public:
  // Whether `o`'s native hooks would let the key `k` by at once.
  bool leavesToVariables(const ExecFrame& f, Object* o, String* k) {
    if (o != f.scope[0]) return false;
    if (known_ != o) {
      known_ = o;
      ClipObject* c = o->asClip();
      DisplayNode* n = c && c->alive() ? c->node() : nullptr;
      underscoreOnly_ = n && !n->hasPlainNodeProperties();
    }
    if (!underscoreOnly_) return false;
    const std::string& t = k->text;
    return (t.empty() || t[0] != '_') && static_cast<ClipObject*>(o)->alive();
  }

 private:
  Object* known_ = nullptr;
  bool underscoreOnly_ = false;
};

inline bool getVariable(Vm& vm, const ExecFrame& f, Timeline& tl, String* name, Value& out) {
  // A name not known to be plain yet goes the general way, which finds out.
  if (name->plainName != 1 || !name->interned) return false;
  Object* o = innermost(f);
  if (!o) return false;
  String* k = keyOf(vm, name);
  if (!o->plain && !tl.leavesToVariables(f, o, k)) {
    // A clip's children come before its native properties: that is the general way's work.
    if (o->asClip()) return false;
    if (o->getNative(vm, k, out)) return true;
  }
  Property* p = ownValue(o, k);
  if (!p) return false;
  out = p->value;
  return true;
}

inline bool setVariable(Vm& vm, const ExecFrame& f, Timeline& tl, String* name, const Value& v) {
  if (name->hasPathChars != 0 || !name->interned) return false;
  Object* o = innermost(f);
  if (!o || o->watches) return false;
  String* k = keyOf(vm, name);
  Property* p = ownValue(o, k);
  if (!p || (p->flags & ReadOnly)) return false;
  if (!o->plain && !tl.leavesToVariables(f, o, k) && o->setNative(vm, k, v)) return true;
  p->value = v;
  return true;
}

}  // namespace swf::avm1::fast
