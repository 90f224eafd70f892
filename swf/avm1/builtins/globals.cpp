// The global functions: conversions, escapes, timers, ASSetPropFlags, trace, getVersion.

#include <cmath>
#include <cstring>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/clip_object.h"
#include "swf/avm1/exec_frame.h"
#include "swf/avm1/nan_identity.h"
#include "swf/avm1/string_ops.h"

namespace swf::avm1 {

// What movies see as the player's version: new enough that a movie made for any Flash version
// we play runs.
const char* const kPlayerVersion = "WIN 9,0,100,0";

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// "0x" counts only at the very start (a sign may follow it, and then the radix given still
// applies); a sign before it makes the text no number. A leading zero reads as octal when the
// text starts with it (after a sign, not after spaces) and every later digit is an octal one.
Value parseIntFn(Vm& vm, Object*, Args args) {
  std::string s = vm.toString(args.at(0));
  int radix = 0;
  if (args.size() > 1) {
    double r = vm.toNumber(args.at(1));
    if (!std::isfinite(r)) return Value(NAN);
    radix = int(r);
    if (radix < 2 || radix > 36) return Value(NAN);
  }
  auto hexAt = [&](size_t k) {
    return k + 1 < s.size() && s[k] == '0' && (s[k + 1] == 'x' || s[k + 1] == 'X');
  };
  auto signAt = [&](size_t k) { return k < s.size() && (s[k] == '-' || s[k] == '+'); };
  size_t i = 0;
  bool neg = false;
  if (hexAt(0)) {
    i = 2;
    if (radix == 0) radix = 16;
    if (signAt(i)) neg = s[i++] == '-';
  } else if (signAt(0) && hexAt(1)) {
    return Value(NAN);
  } else {
    while (i < s.size() && isSpace(s[i])) ++i;
    bool spaced = i > 0;
    if (signAt(i)) neg = s[i++] == '-';
    if (radix == 0) {
      radix = 10;
      if (!spaced && i + 1 < s.size() && s[i] == '0') {
        size_t j = i;
        while (j < s.size() && s[j] >= '0' && s[j] <= '7') ++j;
        if (j == s.size()) radix = 8;
      }
    }
  }
  double v = 0;
  size_t digits = 0;
  for (; i < s.size(); ++i, ++digits) {
    int d = digitValue(s[i]);
    if (d >= radix) break;
    v = v * radix + d;
  }
  if (digits == 0) return Value(NAN);
  return Value(neg ? -v : v);
}

Value parseFloatFn(Vm& vm, Object*, Args args) {
  if (args.size() == 0) return Value();
  std::string s = vm.toString(args.at(0));
  size_t i = 0;
  while (i < s.size() && isSpace(s[i])) ++i;
  size_t j = i;
  if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
  size_t digits = 0;
  while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++digits;
  if (j < s.size() && s[j] == '.') {
    ++j;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++digits;
  }
  if (!digits) return Value(NAN);
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    size_t k = j + 1;
    if (k < s.size() && (s[k] == '-' || s[k] == '+')) ++k;
    if (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
      while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k;
      j = k;
    }
  }
  return Value(std::strtod(s.substr(i, j - i).c_str(), nullptr));
}

Value isNaNFn(Vm& vm, Object*, Args args) {
  return Value(bool(std::isnan(vm.toNumber(args.at(0)))));
}
Value isFiniteFn(Vm& vm, Object*, Args args) {
  return Value(bool(std::isfinite(vm.toNumber(args.at(0)))));
}

// Letters and digits stay; everything else is %XX: of each byte of its UTF-8 from SWF 6, of
// its (Latin-1) character code below.
Value escapeFn(Vm& vm, Object*, Args args) {
  std::string s = vm.toString(args.at(0)), out;
  static const char hex[] = "0123456789ABCDEF";
  auto escapeByte = [&](unsigned char c) {
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 15];
  };
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80 && vm.version() < 6) {
      size_t next = i + 1;
      while (next < s.size() && (static_cast<unsigned char>(s[next]) & 0xC0) == 0x80) ++next;
      uint32_t cp = utf8CodeAt(s, i);
      if (cp < 0x100) {
        escapeByte(static_cast<unsigned char>(cp));
      } else {
        for (size_t k = i; k < next; ++k) escapeByte(static_cast<unsigned char>(s[k]));
      }
      i = next;
      continue;
    }
    if (std::isalnum(c))
      out += char(c);
    else
      escapeByte(c);
    ++i;
  }
  return text(vm, out);
}

// "+" is a space and %XX a byte (read as Latin-1 below SWF 6, as UTF-8 from it). A "%" whose
// next character is no hex digit is dropped with that character, and with both when only the
// second is not; one with fewer than two characters after it ends the text, as "%00" does.
// Below SWF 6, what comes out empty is undefined (unless "%00" ended it).
Value unescapeFn(Vm& vm, Object*, Args args) {
  std::string s = vm.toString(args.at(0)), bytes;
  bool latin1 = vm.version() < 6;
  // Below SWF 6 the text is read a character at a time, from it a byte at a time.
  auto charEnd = [&](size_t i) {
    ++i;
    while (latin1 && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    return i;
  };
  for (size_t i = 0; i < s.size();) {
    char c = s[i];
    if (c == '+') {
      bytes += ' ';
      ++i;
    } else if (c == '%') {
      size_t a = i + 1, b = a < s.size() ? charEnd(a) : s.size();
      if (b >= s.size()) break;
      int hi = digitValue(s[a]), lo = digitValue(s[b]);
      if (b != a + 1 || hi >= 16) {
        i = b;
        continue;
      }
      size_t after = charEnd(b);
      if (after != b + 1 || lo >= 16) {
        i = after;
        continue;
      }
      auto byte = static_cast<unsigned char>(hi * 16 + lo);
      if (byte == 0) {
        if (latin1) return text(vm, bytes);  // "%00" ends the text, even an empty one
        break;
      }
      if (latin1 && byte >= 0x80)
        bytes += utf8Encode(byte);
      else
        bytes += char(byte);
      i = after;
    } else {
      size_t next = charEnd(i);
      bytes.append(s, i, next - i);
      i = next;
    }
  }
  if (latin1) return bytes.empty() ? Value() : text(vm, bytes);
  return text(vm, hasHighBytes(bytes) ? sanitizeUtf8(bytes) : bytes);
}

Value getTimerFn(Vm& vm, Object*, Args) { return Value(std::floor(vm.host().timerMs())); }

Value traceFn(Vm& vm, Object*, Args args) {
  Value v = args.at(0);
  vm.host().trace(v.isUndefined() ? std::string("undefined") : vm.toString(v));
  return Value();
}

Value getVersionFn(Vm& vm, Object*, Args) { return Value(vm.intern(kPlayerVersion)); }

// setInterval(fn, ms, args...) or setInterval(object, "method", ms, args...)
Value addTimer(Vm& vm, Args args, bool repeat) {
  if (args.size() < 2) return Value();
  size_t first;
  Value fn;
  Object* self = nullptr;
  String* method = nullptr;
  if (isCallable(args.at(0))) {
    fn = args.at(0);
    first = 1;
  } else if (args.at(0).isObject() && args.size() >= 3) {
    self = args.at(0).o;
    method = vm.intern(vm.toString(args.at(1)));
    first = 2;
  } else {
    return Value();
  }
  double ms = vm.toNumber(args.at(first));
  std::vector<Value> rest(args.v + std::min(first + 1, args.n), args.v + args.n);
  return Value(double(vm.addTimer(fn, self, method, std::move(rest), ms, repeat)));
}

Value nothingFn(Vm&, Object*, Args) { return Value(); }

// AsSetupError("A,B"): the original's own script builds an Error for every name in the list
// (and keeps none where a movie could see them). A movie that replaced Error sees each call,
// with AsSetupError as its caller.
Value asSetupError(Vm& vm, Object*, Args args) {
  if (args.at(0).isNullish()) return Value();
  std::string names = vm.toString(args.at(0));
  ExecFrame caller;  // stands for the script the original runs
  caller.callee = dynamic_cast<Function*>(vm.get(vm.global, vm.intern("AsSetupError")).object());
  caller.version = vm.version();
  caller.stackBase = vm.stack.size();
  vm.frames.push_back(&caller);
  struct Leave {
    Vm& vm;
    ~Leave() { vm.frames.pop_back(); }
  } leave{vm};
  for (size_t at = 0;; ++at) {
    vm.construct(vm.get(vm.global, vm.intern("Error")), {});
    at = names.find(',', at);
    if (at == std::string::npos) break;
  }
  return Value();
}

Value setIntervalFn(Vm& vm, Object*, Args args) { return addTimer(vm, args, true); }
Value setTimeoutFn(Vm& vm, Object*, Args args) { return addTimer(vm, args, false); }
Value clearTimerFn(Vm& vm, Object*, Args args) {
  // Any value names a timer: what is no number (NaN) or out of range wraps as ActionScript's
  // integers do instead of being cast.
  vm.clearTimer(vm.toInt32(args.at(0)));
  return Value();
}

Value asSetPropFlags(Vm& vm, Object*, Args args) {
  Object* o = args.at(0).object();
  if (!o) return Value();
  uint16_t set = uint16_t(vm.toInt32(args.at(2)));
  uint16_t clear = args.size() > 3 ? uint16_t(vm.toInt32(args.at(3))) : 0;
  auto apply = [&](Property& p) { p.flags = uint16_t((p.flags & ~clear) | set); };
  Value names = args.at(1);
  if (names.isNull()) {
    for (Property& p : o->props.list()) apply(p);
    if (ClipObject* clip = o->asClip()) {
      if (clear & DontEnum) clip->childrenHidden = false;
      if (set & DontEnum) clip->childrenHidden = true;
    }
    return Value();
  }
  std::vector<std::string> list;
  if (ArrayObject* a = names.object() ? names.o->asArray() : nullptr) {
    for (const Value& v : a->items) list.push_back(vm.toString(v));
  } else {
    std::string s = vm.toString(names);
    size_t i = 0;
    while (i <= s.size()) {
      size_t e = s.find(',', i);
      if (e == std::string::npos) e = s.size();
      list.push_back(s.substr(i, e - i));
      i = e + 1;
    }
  }
  for (const std::string& name : list)
    if (Property* p = o->props.find(vm.key(name))) apply(*p);
  return Value();
}

}  // namespace

void installGlobals(Vm& vm) {
  Object* g = vm.global;
  vm.define(g, "parseInt", parseIntFn);
  vm.define(g, "parseFloat", parseFloatFn);
  vm.define(g, "isNaN", isNaNFn);
  vm.define(g, "isFinite", isFiniteFn);
  vm.define(g, "escape", escapeFn);
  vm.define(g, "unescape", unescapeFn);
  vm.define(g, "getTimer", getTimerFn);
  vm.define(g, "trace", traceFn);
  vm.define(g, "getVersion", getVersionFn);
  vm.define(g, "setInterval", setIntervalFn);
  vm.define(g, "setTimeout", setTimeoutFn);
  Function* clear = vm.define(g, "clearInterval", clearTimerFn);
  // One function under both names, as scripts comparing them see.
  vm.put(g, "clearTimeout", Value(static_cast<Object*>(clear)), Hidden);
  // Functions of the original's that do nothing here: redrawing happens every frame anyway, and
  // there is no debugger to enable. The debugger's has no links at all.
  vm.define(g, "updateAfterEvent", nothingFn);
  vm.define(g, "showRedrawRegions", nothingFn);
  Function* debug = vm.make<Function>();
  debug->native = nothingFn;
  vm.put(g, "enableDebugConsole", Value(static_cast<Object*>(debug)), Hidden);
  vm.put(g, "AsSetupError", Value(static_cast<Object*>(vm.newNative(asSetupError, vm.newObject()))),
         Hidden);
  // A variable the original's own set-up leaves behind.
  vm.put(g, "o", Value::null(), Hidden);
  vm.define(g, "ASSetPropFlags", asSetPropFlags);
  vm.put(g, "NaN", Value(constantNaN()), DontEnum);  // one value: NaN == NaN
  vm.put(g, "Infinity", Value(INFINITY), DontEnum);
}

}  // namespace swf::avm1
