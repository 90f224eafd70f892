#include "swf/avm1/array_object.h"

#include <cmath>
#include <string>

#include "swf/avm1/vm.h"

namespace swf::avm1 {

bool arrayIndex(const std::string& name, size_t& index) {
  if (name.empty() || name.size() > 10) return false;
  if (name.size() > 1 && name[0] == '0') return false;
  size_t v = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + size_t(c - '0');
  }
  index = v;
  return true;
}

bool ArrayObject::getNative(Vm& vm, String* key, Value& out) {
  if (key == vm.key(vm.names().length)) {
    out = lengthAsSetFor == items.size() ? lengthAsSet : Value(double(items.size()));
    return true;
  }
  size_t i;
  if (arrayIndex(key->text, i) && i < items.size() && !isArrayHole(items[i])) {
    out = items[i];
    return true;
  }
  return false;
}

bool ArrayObject::setNative(Vm& vm, String* key, const Value& v) {
  if (key == vm.key(vm.names().length)) {
    double d = vm.toNumber(v);
    // What is no number at all ("x") empties the array; it still reads back as set.
    if (std::isnan(d)) d = 0;
    if (std::isfinite(d)) setLength(d >= 0 ? size_t(d) : 0);
    bool exact = v.isNumber() && v.n == double(items.size());
    lengthAsSet = exact ? Value() : v;
    lengthAsSetFor = exact ? SIZE_MAX : items.size();
    return true;
  }
  size_t i;
  double below;
  if (negativeLength(below) && key->text.size() > 1 && key->text[0] == '-' &&
      arrayIndex(key->text.substr(1), i) && i > 0 && -double(i) >= below) {
    // Stored as an ordinary member; the length follows it.
    double n = 1 - double(i);
    lengthAsSet = n < 0 ? Value(n) : Value();
    lengthAsSetFor = n < 0 ? items.size() : SIZE_MAX;
    return false;
  }
  if (!arrayIndex(key->text, i) || i >= kMaxArrayLength) return false;
  if (i >= items.size()) items.resize(i + 1);
  items[i] = v.isUndefined() ? Value() : v;
  return true;
}

bool ArrayObject::negativeLength(double& n) const {
  if (!items.empty() || lengthAsSetFor != 0 || !lengthAsSet.isNumber() || !(lengthAsSet.n < 0))
    return false;
  n = lengthAsSet.n;
  return true;
}

bool ArrayObject::deleteNative(Vm& vm, String* key) {
  size_t i;
  (void)vm;
  if (!arrayIndex(key->text, i) || i >= items.size() || isArrayHole(items[i])) return false;
  items[i] = arrayHole();
  return true;
}

void ArrayObject::enumerateNative(Vm& vm, std::vector<String*>& names) {
  for (size_t i = items.size(); i-- > 0;)
    if (!isArrayHole(items[i])) names.push_back(vm.intern(std::to_string(i)));
}

void ArrayObject::traceChildren(Tracer& t) {
  Object::traceChildren(t);
  for (const Value& v : items) v.trace(t);
  lengthAsSet.trace(t);
}

void takeCurrentArrayPrototype(Vm& vm, ArrayObject* a) {
  Object* ctor = vm.get(vm.global, vm.intern("Array")).object();
  Value proto = ctor ? vm.get(ctor, vm.names().prototype) : Value();
  if (!proto.isObject() || proto.o != vm.arrayProto) vm.put(a, vm.names().proto, proto, Hidden);
}

std::vector<Value> arrayLikeItems(Vm& vm, Object* list, size_t count) {
  if (ArrayObject* a = list->asArray()) return a->items;
  std::vector<Value> items;
  for (size_t i = 0; i < count; ++i) items.push_back(vm.get(list, vm.intern(std::to_string(i))));
  return items;
}

}  // namespace swf::avm1
