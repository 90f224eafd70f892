#pragma once
// Arrays keep their elements in a vector; "length" and index names reach it.

#include <vector>

#include "swf/avm1/object.h"

namespace swf::avm1 {

// The largest length an array takes; setting beyond it is ignored, so a script cannot make the
// player allocate without bound through one assignment.
inline constexpr size_t kMaxArrayLength = 1u << 22;

class ArrayObject : public Object {
 public:
  std::vector<Value> items;

  ArrayObject* asArray() override { return this; }
  bool getNative(Vm& vm, String* key, Value& out) override;
  bool setNative(Vm& vm, String* key, const Value& v) override;
  bool deleteNative(Vm& vm, String* key) override;
  void enumerateNative(Vm& vm, std::vector<String*>& names) override;
  void traceChildren(Tracer& t) override;
  void setLength(size_t n) { items.resize(std::min(n, kMaxArrayLength)); }
};

// The index a property name stands for ("0", "12"; not "012" or "-1").
bool arrayIndex(const std::string& name, size_t& index);

}  // namespace swf::avm1
