// String and its methods; indexes count characters (UTF-8 from SWF 6).

#include <algorithm>
#include <cmath>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/string_ops.h"

namespace swf::avm1 {
namespace {

// The text and its characters' byte offsets.
struct Chars {
  std::string s;
  std::vector<size_t> at;  // at[i] = byte offset of character i; at[size] = s.size()
  bool utf8;
  Chars(std::string text, bool u) : s(std::move(text)), utf8(u) {
    if (utf8) {
      for (size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) at.push_back(i);
    } else {
      at.resize(s.size());
      for (size_t i = 0; i < s.size(); ++i) at[i] = i;
    }
    at.push_back(s.size());
  }
  size_t size() const { return at.size() - 1; }
  std::string sub(size_t from, size_t to) const {
    from = std::min(from, size());
    to = std::min(std::max(to, from), size());
    return s.substr(at[from], at[to] - at[from]);
  }
  uint32_t code(size_t i) const {
    return utf8 ? utf8CodeAt(s, at[i]) : static_cast<unsigned char>(s[i]);
  }
};

Chars self(Vm& vm, Object* o) { return Chars(vm.toString(thisValue(o)), vm.version() >= 6); }

double integer(Vm& vm, const Value& v) {
  double d = vm.toNumber(v);
  return std::isnan(d) ? 0 : std::trunc(d);
}

size_t clampIndex(double d, size_t len) { return size_t(std::clamp(d, 0.0, double(len))); }

Object* allocateString(Vm& vm) { return vm.make<Object>(); }

Value stringCtor(Vm& vm, Object* o, Args args) {
  String* s = args.size() ? vm.toStr(args.at(0)) : vm.names().empty;
  if (!vm.isConstructing || !o) return Value(s);
  o->primitive = Value(s);
  o->hasPrimitive = true;
  vm.put(o, vm.names().length, Value(double(utf8Length(s->text))), Hidden);
  return Value(o);
}

Value toStringFn(Vm& vm, Object* o, Args) {
  Value v = thisValue(o);
  return v.isString() ? v : Value(vm.toStr(v));
}

Value charAt(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  double i = integer(vm, args.at(0));
  if (i < 0 || i >= double(c.size())) return Value(vm.names().empty);
  return text(vm, c.sub(size_t(i), size_t(i) + 1));
}

Value charCodeAt(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  double i = integer(vm, args.at(0));
  if (i < 0 || i >= double(c.size())) return Value(NAN);
  return Value(double(c.code(size_t(i))));
}

Value concat(Vm& vm, Object* o, Args args) {
  std::string s = vm.toString(thisValue(o));
  for (size_t i = 0; i < args.size(); ++i) s += vm.toString(args.at(i));
  return text(vm, s);
}

Value indexOf(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  Chars needle(vm.toString(args.at(0)), c.utf8);
  double from = args.size() > 1 ? integer(vm, args.at(1)) : 0;
  size_t start = clampIndex(from, c.size());
  for (size_t i = start; i + needle.size() <= c.size(); ++i)
    if (c.sub(i, i + needle.size()) == needle.s) return Value(double(i));
  return Value(-1);
}

Value lastIndexOf(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  Chars needle(vm.toString(args.at(0)), c.utf8);
  if (needle.size() > c.size()) return Value(-1);
  double from = args.size() > 1 ? integer(vm, args.at(1)) : double(c.size());
  if (from < 0) return Value(-1);
  size_t start = std::min(clampIndex(from, c.size()), c.size() - needle.size());
  for (size_t i = start + 1; i-- > 0;)
    if (c.sub(i, i + needle.size()) == needle.s) return Value(double(i));
  return Value(-1);
}

Value slice(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  double len = double(c.size());
  if (args.size() == 0) return Value(vm.names().empty);
  double s = integer(vm, args.at(0));
  double e = args.size() > 1 && !args.at(1).isUndefined() ? integer(vm, args.at(1)) : len;
  if (s < 0) s += len;
  if (e < 0) e += len;
  size_t a = clampIndex(s, c.size()), b = clampIndex(e, c.size());
  return text(vm, a < b ? c.sub(a, b) : std::string());
}

Value substring(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  if (args.size() == 0) return Value(vm.names().empty);
  size_t a = clampIndex(integer(vm, args.at(0)), c.size());
  size_t b = args.size() > 1 && !args.at(1).isUndefined()
                 ? clampIndex(integer(vm, args.at(1)), c.size())
                 : c.size();
  if (a > b) std::swap(a, b);
  return text(vm, c.sub(a, b));
}

Value substr(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  if (args.size() == 0) return Value(vm.names().empty);
  double len = double(c.size());
  double s = integer(vm, args.at(0));
  if (s < 0) s = std::max(0.0, s + len);
  double n = args.size() > 1 && !args.at(1).isUndefined() ? integer(vm, args.at(1)) : len;
  if (n < 0) n = std::max(0.0, n + len - s);
  size_t a = clampIndex(s, c.size());
  size_t b = clampIndex(s + n, c.size());
  return text(vm, c.sub(a, b));
}

Value split(Vm& vm, Object* o, Args args) {
  ArrayObject* out = vm.newArray();
  Chars c = self(vm, o);
  double limit =
      args.size() > 1 && !args.at(1).isUndefined() ? vm.toNumber(args.at(1)) : 4294967295.0;
  if (std::isnan(limit) || limit < 0) limit = 4294967295.0;
  auto add = [&](std::string s) {
    if (double(out->items.size()) < limit) out->items.push_back(text(vm, std::move(s)));
  };
  if (args.size() == 0 || args.at(0).isUndefined()) {
    add(c.s);
    return Value(static_cast<Object*>(out));
  }
  std::string sep = vm.toString(args.at(0));
  if (sep.empty()) {
    if (vm.version() < 6) {
      add(c.s);
    } else {
      for (size_t i = 0; i < c.size() && double(out->items.size()) < limit; ++i)
        add(c.sub(i, i + 1));
    }
    return Value(static_cast<Object*>(out));
  }
  if (c.s.empty() && vm.version() >= 6) {
    add("");
    return Value(static_cast<Object*>(out));
  }
  size_t pos = 0;
  while (double(out->items.size()) < limit) {
    size_t e = c.s.find(sep, pos);
    if (e == std::string::npos) {
      add(c.s.substr(pos));
      break;
    }
    add(c.s.substr(pos, e - pos));
    pos = e + sep.size();
  }
  return Value(static_cast<Object*>(out));
}

Value caseChange(Vm& vm, Object* o, bool upper) {
  std::string s = vm.toString(thisValue(o));
  for (char& ch : s) {
    unsigned char u = static_cast<unsigned char>(ch);
    if (u < 0x80) ch = char(upper ? std::toupper(u) : std::tolower(u));
  }
  return text(vm, s);
}

Value toLowerCase(Vm& vm, Object* o, Args) { return caseChange(vm, o, false); }
Value toUpperCase(Vm& vm, Object* o, Args) { return caseChange(vm, o, true); }

Value fromCharCode(Vm& vm, Object*, Args args) {
  std::string s;
  for (size_t i = 0; i < args.size(); ++i) {
    uint32_t cp = uint32_t(vm.toInt32(args.at(i))) & 0xffff;
    if (cp) s += utf8Encode(cp);
  }
  return text(vm, s);
}

}  // namespace

void installString(Vm& vm) {
  Object* p = vm.newObject();
  vm.stringProto = p;
  vm.define(p, "toString", toStringFn);
  vm.define(p, "valueOf", toStringFn);
  vm.define(p, "charAt", charAt);
  vm.define(p, "charCodeAt", charCodeAt);
  vm.define(p, "concat", concat);
  vm.define(p, "indexOf", indexOf);
  vm.define(p, "lastIndexOf", lastIndexOf);
  vm.define(p, "slice", slice);
  vm.define(p, "substring", substring);
  vm.define(p, "substr", substr);
  vm.define(p, "split", split);
  vm.define(p, "toLowerCase", toLowerCase);
  vm.define(p, "toUpperCase", toUpperCase);
  Function* ctor = vm.defineClass("String", stringCtor, p, allocateString);
  vm.define(ctor, "fromCharCode", fromCharCode);
}

}  // namespace swf::avm1
