// String and its methods; indexes count characters (UTF-8 from SWF 6).

#include <algorithm>
#include <cmath>

#include "swf/avm1/builtins/native_numbers.h"
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

Chars self(Vm& vm, Object* o) { return Chars(vm.toString(thisValue(o)), true); }

double integer(Vm& vm, const Value& v) {
  double d = vm.toNumber(v);
  return std::isnan(d) ? 0 : std::trunc(d);
}

size_t clampIndex(double d, size_t len) { return size_t(std::clamp(d, 0.0, double(len))); }

Object* allocateString(Vm& vm) { return vm.make<Object>(); }

Value toStringFn(Vm& vm, Object* o, Args);

// toString and valueOf of something that is not a String: a clip gives its path, any other
// object what its own toString gives when that is text, and "[type Object]" otherwise (a
// String method borrowed as the toString would only ask itself again).
Value foreignText(Vm& vm, Object* o) {
  if (o->asClip()) return Value(vm.toStr(Value(o)));
  Value fn = vm.get(o, vm.names().toString);
  if (isCallable(fn) && static_cast<Function*>(fn.o)->native != toStringFn) {
    Value r = vm.call(fn, o, {});
    if (r.isString()) return r;
  }
  return text(vm, o->isFunction() ? "[type Function]" : "[type Object]");
}

Value toStringFn(Vm& vm, Object* o, Args) {
  if (!o) return Value();
  if (o->hasPrimitive && o->primitive.isString()) return o->primitive;
  return foreignText(vm, o);
}

// An object converts as for toString: only text that its toString gives counts.
Value stringCtor(Vm& vm, Object* o, Args args) {
  String* s = vm.names().empty;
  if (args.size()) {
    Object* from = args.at(0).object();
    bool wrapped = from && from->hasPrimitive && from->primitive.isString();
    s = from && !wrapped ? foreignText(vm, from).s : vm.toStr(args.at(0));
  }
  if (!vm.isConstructing || !o) return Value(s);
  o->primitive = Value(s);
  o->hasPrimitive = true;
  vm.put(o, vm.names().length, Value(double(utf8Length(s->text))), Hidden);
  return Value(o);
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
  if (i < 0) return Value(NAN);
  // Past the end SWF 5 reads the text's terminating zero.
  if (i >= double(c.size())) return Value(vm.version() < 6 ? 0.0 : NAN);
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
  if (args.size() == 0) return Value();
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
  size_t a = clampIndex(vm.toInt32(args.at(0)), c.size());
  size_t b = args.size() > 1 && !args.at(1).isUndefined()
                 ? clampIndex(vm.toInt32(args.at(1)), c.size())
                 : c.size();
  if (a >= c.size()) return Value(vm.names().empty);  // a start at the end never swaps
  if (a > b) std::swap(a, b);
  return text(vm, c.sub(a, b));
}

// Indexes are 32-bit integers (infinity is 0). A negative length counts from the end and gives
// nothing once it would reach the last character.
Value substr(Vm& vm, Object* o, Args args) {
  Chars c = self(vm, o);
  if (args.size() == 0) return Value(vm.names().empty);
  double len = double(c.size());
  double s = vm.toInt32(args.at(0));
  if (s < 0) s = std::max(0.0, s + len);
  s = std::min(s, len);
  double n = len - s;
  if (args.size() > 1 && !args.at(1).isUndefined()) {
    n = vm.toInt32(args.at(1));
    if (n < 0) {
      n += len;
      if (s + n >= len) return Value(vm.names().empty);
    }
  }
  if (n <= 0) return Value(vm.names().empty);
  return text(vm, c.sub(size_t(s), size_t(std::min(s + n, len))));
}

// No separator gives the whole text. A limit that is given is a 32-bit integer, and below 1
// gives an empty array. From SWF 6 the empty text splits into [""] whatever the limit, or into
// nothing by the empty separator, which splits other text into its characters. Before SWF 6
// only a one-character separator splits at all, an undefined one with a limit is a comma, and
// the separator is converted once more when a limit is given.
Value split(Vm& vm, Object* o, Args args) {
  ArrayObject* out = vm.newArray();
  Value result(static_cast<Object*>(out));
  Chars c = self(vm, o);
  bool old = vm.version() < 6;
  bool noSeparator = args.size() == 0 || args.at(0).isUndefined();
  bool hasLimit = args.size() > 1 && !args.at(1).isUndefined();
  auto add = [&](std::string s) { out->items.push_back(text(vm, std::move(s))); };
  if (noSeparator && (!old || !hasLimit)) {
    add(c.s);
    return result;
  }
  Chars sep(noSeparator ? std::string(",") : vm.toString(args.at(0)), true);
  if (old && sep.s.empty()) {
    add(c.s);
    return result;
  }
  if (old && hasLimit) vm.toString(args.at(0));
  if (!old && c.s.empty()) {
    if (!sep.s.empty()) add("");
    return result;
  }
  double limit = hasLimit ? vm.toInt32(args.at(1)) : 4294967295.0;
  if (limit <= 0) return result;
  if (old && sep.size() != 1) {
    add(c.s);
    return result;
  }
  if (sep.s.empty()) {
    for (size_t i = 0; i < c.size() && double(out->items.size()) < limit; ++i) add(c.sub(i, i + 1));
    return result;
  }
  size_t pos = 0;
  while (double(out->items.size()) < limit) {
    size_t e = c.s.find(sep.s, pos);
    if (e == std::string::npos) {
      add(c.s.substr(pos));
      break;
    }
    add(c.s.substr(pos, e - pos));
    pos = e + sep.s.size();
  }
  return result;
}

// Letters of the Latin, Greek and Cyrillic alphabets change case; before SWF 6 text is Latin-1
// and only letters whose other case is also Latin-1 do.
uint32_t otherCase(uint32_t c, bool upper) {
  auto between = [&](uint32_t lo, uint32_t hi) { return c >= lo && c <= hi; };
  if (upper) {
    if (between('a', 'z') || (between(0xE0, 0xFE) && c != 0xF7)) return c - 32;
    if (c == 0xFF) return 0x178;
    if (between(0x3B1, 0x3C9) && c != 0x3C2) return c - 32;
    if (between(0x430, 0x44F)) return c - 32;
    if (between(0x450, 0x45F)) return c - 80;
  } else {
    if (between('A', 'Z') || (between(0xC0, 0xDE) && c != 0xD7)) return c + 32;
    if (c == 0x178) return 0xFF;
    if (between(0x391, 0x3A9) && c != 0x3A2) return c + 32;
    if (between(0x410, 0x42F)) return c + 32;
    if (between(0x400, 0x40F)) return c + 80;
  }
  // Latin Extended-A: pairs, upper case first, at even codes up to U+0137 and from U+014A, at
  // odd codes between.
  if (between(0x100, 0x17E) && c != 0x138 && c != 0x149 && c != 0x17F) {
    bool oddUpper = between(0x139, 0x148) || between(0x179, 0x17E);
    bool isUpper = (c % 2 == 1) == oddUpper;
    if (isUpper != upper) return upper ? c - 1 : c + 1;
  }
  return c;
}

Value caseChange(Vm& vm, Object* o, bool upper) {
  Chars c = self(vm, o);
  bool latin1 = vm.version() < 6;
  std::string out;
  out.reserve(c.s.size());
  for (size_t i = 0; i < c.size(); ++i) {
    uint32_t ch = c.code(i), to = otherCase(ch, upper);
    if (latin1 && (ch > 0xFF || to > 0xFF)) to = ch;
    if (to == ch)
      out.append(c.s, c.at[i], c.at[i + 1] - c.at[i]);
    else
      out += utf8Encode(to);
  }
  return text(vm, out);
}

Value toLowerCase(Vm& vm, Object* o, Args) { return caseChange(vm, o, false); }
Value toUpperCase(Vm& vm, Object* o, Args) { return caseChange(vm, o, true); }

// The case changes of older players, still reachable as ASnative(102, 0) and (102, 1): ASCII
// letters only.
Value asciiCase(Vm& vm, Object* o, bool upper) {
  std::string s = vm.toString(o ? Value(o) : Value());
  for (char& ch : s) {
    if (upper && ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
    if (!upper && ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
  }
  return text(vm, s);
}
Value asciiUpperCase(Vm& vm, Object* o, Args) { return asciiCase(vm, o, true); }
Value asciiLowerCase(Vm& vm, Object* o, Args) { return asciiCase(vm, o, false); }

// The text ends at a code of 0. Before SWF 6 a code gives its bytes, the high one first when
// not 0, each a Latin-1 character.
Value fromCharCode(Vm& vm, Object*, Args args) {
  std::string s;
  for (size_t i = 0; i < args.size(); ++i) {
    uint32_t cp = uint32_t(vm.toInt32(args.at(i))) & 0xffff;
    if (vm.version() < 6) {
      if (cp > 0xff) s += utf8Encode(cp >> 8);
      cp &= 0xff;
    }
    if (!cp) break;
    s += utf8Encode(cp);
  }
  return text(vm, s);
}

}  // namespace

bool isBuiltinStringClass(const Object* o) {
  auto* f = dynamic_cast<const Function*>(o);
  return f && f->native == stringCtor;
}

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
  registerAsNative(vm, 102, 0, asciiUpperCase);
  registerAsNative(vm, 102, 1, asciiLowerCase);
}

}  // namespace swf::avm1
