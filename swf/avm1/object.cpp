#include "swf/avm1/object.h"

#include "swf/avm1/function.h"

namespace swf::avm1 {

GcCell* Value::objectCell() const { return o; }

Property* PropertyTable::find(String* key) {
  uint32_t hint = key->slotHint;
  if (hint < list_.size() && list_[hint].key == key) return &list_[hint];
  if (index_.empty()) {
    for (size_t i = 0; i < list_.size(); ++i)
      if (list_[i].key == key) {
        key->slotHint = uint32_t(i);
        return &list_[i];
      }
    return nullptr;
  }
  auto it = index_.find(key);
  if (it == index_.end()) return nullptr;
  key->slotHint = it->second;
  return &list_[it->second];
}

Property& PropertyTable::add(String* key, String* name) {
  list_.push_back(Property{key, name, Value(), nullptr, nullptr, 0});
  if (!index_.empty() || list_.size() > kLinear) {
    if (index_.empty())
      reindex();
    else
      index_.emplace(key, uint32_t(list_.size() - 1));
  }
  return list_.back();
}

bool PropertyTable::remove(String* key) {
  for (size_t i = 0; i < list_.size(); ++i) {
    if (list_[i].key != key) continue;
    list_.erase(list_.begin() + long(i));
    if (!index_.empty()) reindex();
    return true;
  }
  return false;
}

void PropertyTable::reindex() {
  index_.clear();
  if (list_.size() <= kLinear) return;
  index_.reserve(list_.size() * 2);
  for (size_t i = 0; i < list_.size(); ++i) index_.emplace(list_[i].key, uint32_t(i));
}

void Object::traceChildren(Tracer& t) {
  for (const Property& p : props.list()) {
    t.mark(p.key);
    t.mark(p.name);
    p.value.trace(t);
    t.mark(p.getter);
    t.mark(p.setter);
  }
  if (watches)
    for (const Watch& w : *watches) {
      t.mark(w.key);
      t.mark(w.callback);
      w.userData.trace(t);
    }
  t.mark(deletedProto);
  if (interfaces)
    for (Object* o : *interfaces) t.mark(o);
  primitive.trace(t);
}

void Function::traceChildren(Tracer& t) {
  Object::traceChildren(t);
  for (Object* o : scope) t.mark(o);
  if (body)
    for (String* p : body->params) t.mark(p);
  if (pool)
    for (String* s : *pool) t.mark(s);
  t.mark(name);
}

}  // namespace swf::avm1
