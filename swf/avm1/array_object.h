#pragma once
// Arrays keep their elements in a vector; "length" and index names reach it. `length` is also
// an entry of the property table (hidden and permanent, as the original has it), so that
// listings and ASSetPropFlags find it; its value is always read from the vector.

#include <cstdint>
#include <vector>

#include "swf/avm1/object.h"

namespace swf::avm1 {

// The largest length an array takes; setting beyond it is ignored, so a script cannot make the
// player allocate without bound through one assignment.
inline constexpr size_t kMaxArrayLength = 1u << 22;

class ArrayObject : public Object {
 public:
  std::vector<Value> items;
  // What a script last stored in `length` when that was not the length itself ("x", 2.5):
  // it reads back as stored until the elements change in number.
  Value lengthAsSet;
  size_t lengthAsSetFor = SIZE_MAX;

  ArrayObject* asArray() override { return this; }
  bool getNative(Vm& vm, String* key, Value& out) override;
  bool setNative(Vm& vm, String* key, const Value& v) override;
  bool deleteNative(Vm& vm, String* key) override;
  void enumerateNative(Vm& vm, std::vector<String*>& names) override;
  void traceChildren(Tracer& t) override;
  void setLength(size_t n) { items.resize(std::min(n, kMaxArrayLength)); }
  // A length set below zero empties the array and stays as set; elements then go under
  // negative names, and one written at or above the length moves the length up to follow it.
  bool negativeLength(double& n) const;
};

// Gives `a` the prototype _global.Array has now, as array literals and Array() called as a
// function take it: a script may have replaced Array, or deleted it (then there is none).
void takeCurrentArrayPrototype(Vm& vm, ArrayObject* a);

// A deleted element: it reads as undefined, but the array no longer owns the index (for..in and
// hasOwnProperty pass it by), while the length stays. Marked by a payload no other undefined has.
inline Value arrayHole() {
  Value v;
  v.n = 1;
  return v;
}
inline bool isArrayHole(const Value& v) { return v.isUndefined() && v.n != 0; }

// The elements of `list` as natives that take any list read them: an array's own, or the
// members "0" to count - 1 of any other object (the caller reads its `length` as it needs).
std::vector<Value> arrayLikeItems(Vm& vm, Object* list, size_t count);

// The index a property name stands for ("0", "12"; not "012" or "-1").
bool arrayIndex(const std::string& name, size_t& index);

}  // namespace swf::avm1
