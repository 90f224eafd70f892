#pragma once
// Objects: a property table in insertion order, with flags, getters and setters, watchpoints,
// and hooks for the native classes whose instances carry state of their own.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "swf/avm1/value.h"

namespace swf::avm1 {

class Vm;

enum PropFlags : uint16_t {
  DontEnum = 1,
  DontDelete = 2,
  ReadOnly = 4,
  // ASSetPropFlags' upper bits. A property with VersionN is unseen by code of files older than
  // N: reads and writes pass it by, though for..in and hasOwnProperty still find it (the
  // original player's listings show such properties). NotVersion6 hides a property from SWF 6
  // code altogether, and hasOwnProperty never owns to it.
  Version6 = 1 << 7,
  NotVersion6 = 1 << 8,
  Version7 = 1 << 10,
  Version8 = 1 << 12,
  Version9 = 1 << 13,
  VersionMask = Version6 | NotVersion6 | Version7 | Version8 | Version9,
  // What the built-in classes give their methods and their prototypes' links: hidden from
  // for..in and not deletable.
  Hidden = DontEnum | DontDelete,
  Fixed = DontEnum | DontDelete | ReadOnly,
};

// Whether a property with `flags` can be read or written by code of `version`.
inline bool visibleIn(uint16_t flags, int version) {
  if ((flags & Version6) && version < 6) return false;
  if ((flags & NotVersion6) && version == 6) return false;
  if ((flags & Version7) && version < 7) return false;
  if ((flags & Version8) && version < 8) return false;
  if ((flags & Version9) && version < 9) return false;
  return true;
}

struct Property {
  String* key = nullptr;   // interned; lower-cased below SWF 7
  String* name = nullptr;  // as first written
  Value value;
  Object* getter = nullptr;  // addProperty
  Object* setter = nullptr;
  uint16_t flags = 0;
};

class PropertyTable {
 public:
  Property* find(String* key);
  Property& add(String* key, String* name);
  bool remove(String* key);
  std::vector<Property>& list() { return list_; }
  const std::vector<Property>& list() const { return list_; }
  size_t size() const { return list_.size(); }

 private:
  void reindex();
  std::vector<Property> list_;
  std::unordered_map<String*, uint32_t> index_;  // built past kLinear entries
  static constexpr size_t kLinear = 8;
};

struct Watch {
  String* key;
  Object* callback;
  Value userData;
  bool busy = false;  // its callback is running: the callback's own writes do not call it again
};

class Object : public GcCell {
 public:
  PropertyTable props;
  std::unique_ptr<std::vector<Watch>> watches;
  // The interfaces ImplementsOp gave the class whose prototype this is; instanceof honours them.
  std::unique_ptr<std::vector<Object*>> interfaces;
  // Values a native class keeps inside (Boolean, Number and String wrappers keep their value).
  Value primitive;
  bool hasPrimitive = false;
  // A Date constructor ran on it: `primitive` is its time and the Date methods work on it.
  bool dated = false;
  // Set on plain objects (no native properties), so lookups skip the native hooks.
  bool plain = false;
  // What `__proto__` held when SWF 7 code deleted it: member lookups of SWF 7 code go on there
  // while the object has no `__proto__` again (instanceof and for..in do not).
  Object* deletedProto = nullptr;

  void traceChildren(Tracer& t) override;

  // What `typeof` says.
  virtual const char* typeName() const { return "object"; }
  virtual bool isFunction() const { return false; }
  virtual class ClipObject* asClip() { return nullptr; }
  virtual class ArrayObject* asArray() { return nullptr; }
  // Native properties before the table (an array's length and elements, a clip's _x).
  virtual bool getNative(Vm&, String* /*key*/, Value& /*out*/) { return false; }
  // Returns true when the native property took the value.
  virtual bool setNative(Vm&, String* /*key*/, const Value&) { return false; }
  virtual bool deleteNative(Vm&, String* /*key*/) { return false; }
  // Names of native enumerable properties, newest first, for for..in.
  virtual void enumerateNative(Vm&, std::vector<String*>&) {}
  // What Object.prototype.toString gives for an object that names itself natively (a text
  // field its path), or null for the usual "[object Object]".
  virtual String* nativeText(Vm&) { return nullptr; }
};

}  // namespace swf::avm1
