#include "swf/avm1/builtins/amf0.h"

#include <bit>
#include <cstring>
#include <unordered_map>

#include "swf/avm1/builtins/native_support.h"
#include "swf/io/amf0_cursor.h"

namespace swf::avm1 {
namespace {

using namespace amf0;

bool kept(const Value& v) {
  Object* o = v.object();
  return !o || (!o->isFunction() && !o->asClip());
}

class Writer {
 public:
  Writer(Vm& vm, std::string& out) : vm_(vm), out_(out) {}

  void u16(uint32_t v) {
    out_ += char(v >> 8);
    out_ += char(v);
  }
  void u32(uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out_ += char(v >> s);
  }
  void text(const std::string& s) {
    if (s.size() > 0xffff) {
      out_ += char(kLongString);
      u32(uint32_t(s.size()));
    } else {
      out_ += char(kString);
      u16(uint32_t(s.size()));
    }
    out_ += s;
  }
  void key(const std::string& s) {
    std::string k = s.substr(0, 0xffff);
    u16(uint32_t(k.size()));
    out_ += k;
  }

  void value(const Value& v, int depth) {
    switch (v.type) {
      case Value::Undefined:
        out_ += char(kUndefined);
        return;
      case Value::Null:
        out_ += char(kNull);
        return;
      case Value::Boolean:
        out_ += char(kBoolean);
        out_ += char(v.b ? 1 : 0);
        return;
      case Value::Number: {
        out_ += char(kNumber);
        uint64_t bits = std::bit_cast<uint64_t>(v.n);
        for (int s = 56; s >= 0; s -= 8) out_ += char(bits >> s);
        return;
      }
      case Value::Str:
        text(v.s->text);
        return;
      case Value::Obj:
        break;
    }
    Object* o = v.o;
    if (auto it = seen_.find(o); it != seen_.end() && it->second <= 0xffff) {
      out_ += char(kReference);
      u16(it->second);
      return;
    }
    if (depth >= kMaxAmfDepth) {
      out_ += char(kUndefined);
      return;
    }
    seen_.emplace(o, uint32_t(seen_.size()));
    ArrayObject* a = o->asArray();
    if (a) {
      out_ += char(kEcmaArray);
      u32(uint32_t(a->items.size()));
    } else {
      out_ += char(kObject);
    }
    std::vector<String*> names = vm_.enumerate(o);
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
      Value m = vm_.get(o, *it);
      if (!kept(m)) continue;
      key((*it)->text);
      value(m, depth + 1);
    }
    u16(0);
    out_ += char(kObjectEnd);
  }

 private:
  Vm& vm_;
  std::string& out_;
  std::unordered_map<Object*, uint32_t> seen_;
};

class Reader {
 public:
  Reader(Vm& vm, const std::string& in, size_t at)
      : vm_(vm), c_({reinterpret_cast<const uint8_t*>(in.data()), in.size()}, at) {}

  bool done() const { return c_.atEnd(); }
  bool u8(uint32_t& v) { return c_.uint(1, v); }
  bool key(std::string& s) { return c_.string(2, s); }

  // Name/value pairs up to the end marker, set on `o`.
  bool members(Object* o, int depth) {
    for (;;) {
      std::string name;
      if (!key(name)) return false;
      if (name.empty() && c_.take(kObjectEnd)) return true;
      Value v;
      if (!value(v, depth + 1)) return false;
      vm_.set(o, vm_.intern(name), v);
    }
  }

  bool value(Value& out, int depth) {
    if (depth > kMaxAmfDepth) return false;
    uint32_t marker, n;
    if (!u8(marker)) return false;
    switch (marker) {
      case kNumber: {
        double d;
        if (!c_.number(d)) return false;
        out = Value(d);
        return true;
      }
      case kBoolean:
        if (!u8(n)) return false;
        out = Value(n != 0);
        return true;
      case kString:
      case kLongString:
      case kXmlDocument: {
        std::string s;
        if (!c_.string(marker == kString ? 2 : 4, s)) return false;
        out = text(vm_, std::move(s));
        return true;
      }
      case kNull:
        out = Value::null();
        return true;
      case kUndefined:
        out = Value();
        return true;
      case kReference:
        if (!c_.uint(2, n) || n >= objects_.size()) return false;
        out = Value(objects_[n]);
        return true;
      case kDate: {
        double ms;
        if (!c_.number(ms) || !c_.uint(2, n)) return false;
        Value ctor = vm_.get(vm_.global, vm_.intern("Date"));
        Value a[] = {Value(ms)};
        out = vm_.construct(ctor, a);
        if (Object* o = out.object()) objects_.push_back(o);
        return true;
      }
      case kObject:
      case kTypedObject:
      case kEcmaArray: {
        std::string className;
        if (marker == kTypedObject && !key(className)) return false;
        if (marker == kEcmaArray && !c_.uint(4, n)) return false;
        Object* o = marker == kEcmaArray ? vm_.newArray() : vm_.newObject();
        objects_.push_back(o);
        out = Value(o);
        return members(o, depth);
      }
      case kStrictArray: {
        if (!c_.uint(4, n)) return false;
        ArrayObject* a = vm_.newArray();
        objects_.push_back(a);
        out = Value(static_cast<Object*>(a));
        // Every element takes a byte at least, so the count cannot outrun the input.
        for (uint32_t i = 0; i < n; ++i) {
          Value e;
          if (!value(e, depth + 1)) return false;
          a->items.push_back(e);
          if (a->items.size() > kMaxArrayLength) return false;
        }
        return true;
      }
      default:
        return false;
    }
  }

 private:
  Vm& vm_;
  Cursor c_;
  std::vector<Object*> objects_;
};

}  // namespace

std::string writeAmfEntries(Vm& vm, Object* from) {
  std::string out;
  Writer w(vm, out);
  std::vector<String*> names = vm.enumerate(from);
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    Value v = vm.get(from, *it);
    if (!kept(v) || (*it)->text.size() > 0xffff) continue;
    w.key((*it)->text);
    w.value(v, 0);
    out += '\0';
  }
  return out;
}

bool readAmfEntries(Vm& vm, const std::string& body, size_t at, Object* into) {
  Reader r(vm, body, at);
  while (!r.done()) {
    std::string name;
    Value v;
    uint32_t end;
    if (!r.key(name) || !r.value(v, 0) || !r.u8(end) || end != 0) return false;
    vm.set(into, vm.intern(name), v);
  }
  return true;
}

}  // namespace swf::avm1
