#pragma once
// The value type: undefined, null, boolean, number, string or object, in 16 bytes.

#include <cstdint>
#include <string>

#include "swf/avm1/gc.h"
#include "swf/avm1/string_text.h"

namespace swf::avm1 {

class Object;

// Immutable text. Interned strings are unique per text and serve as property keys; `lower` is
// the interned lower-case twin, the key below SWF 7 where names ignore case.
struct String : GcCell {
  StringText text;
  String* lower = nullptr;
  bool interned = false;
  int8_t hasPathChars = -1;  // whether the text holds ':', '/' or '.' (-1: not looked yet)
  int8_t plainName = -1;     // not a path nor a name with a meaning of its own (this, _level1...)
  // Where this key was last found in a property table: tried first, so a variable read in a
  // loop costs one comparison.
  uint32_t slotHint = 0;
  void traceChildren(Tracer& t) override {
    if (lower != this) t.mark(lower);
    text.trace(t);
  }
};

struct Value {
  enum Type : uint8_t { Undefined, Null, Boolean, Number, Str, Obj };

  Value() : type(Undefined), n(0) {}
  static Value null() {
    Value v;
    v.type = Null;
    return v;
  }
  Value(bool b_) : type(Boolean), n(0) { b = b_; }
  Value(double d) : type(Number), n(d) {}
  Value(int i) : type(Number), n(i) {}
  Value(String* s_) : type(Str), n(0) { s = s_; }
  Value(Object* o_) : type(o_ ? Obj : Null), n(0) { o = o_; }

  bool isUndefined() const { return type == Undefined; }
  bool isNull() const { return type == Null; }
  bool isNullish() const { return type <= Null; }
  bool isNumber() const { return type == Number; }
  bool isString() const { return type == Str; }
  bool isObject() const { return type == Obj; }
  bool isBool() const { return type == Boolean; }
  Object* object() const { return type == Obj ? o : nullptr; }

  void trace(Tracer& t) const {
    if (type == Str)
      t.mark(s);
    else if (type == Obj)
      t.mark(reinterpret_cast<GcCell*>(objectCell()));
  }

  Type type;
  union {
    bool b;
    double n;
    String* s;
    Object* o;
  };

 private:
  GcCell* objectCell() const;
};

// Number to text as the original player prints it: 15 significant digits, "NaN", "Infinity",
// exponents as "1e+21" and "1.5e-7", negative zero as "0".
std::string numberToString(double d);
// Number to text in another radix (2..36), integers only as the original did.
std::string numberToRadix(double d, int radix);
// Text to number by the rules of `swfVersion` (hex "0x" forms, white space, empty strings).
double stringToNumber(const std::string& s, int swfVersion);

}  // namespace swf::avm1
