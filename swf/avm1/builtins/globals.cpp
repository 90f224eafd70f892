// The global functions: conversions, escapes, timers, ASSetPropFlags, trace, getVersion.

#include <cmath>
#include <cstring>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
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

Value parseIntFn(Vm& vm, Object*, Args args) {
  std::string s = vm.toString(args.at(0));
  size_t i = 0;
  while (i < s.size() && isSpace(s[i])) ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  int radix = 0;
  if (args.size() > 1) {
    double r = vm.toNumber(args.at(1));
    if (!std::isfinite(r)) return Value(NAN);
    radix = int(r);
    if (radix < 2 || radix > 36) return Value(NAN);
  }
  bool hexPrefix = i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X');
  if ((radix == 0 || radix == 16) && hexPrefix) {
    radix = 16;
    i += 2;
  } else if (radix == 0) {
    // A leading zero reads as octal when every digit is an octal one.
    radix = 10;
    if (i + 1 < s.size() && s[i] == '0') {
      size_t j = i;
      while (j < s.size() && s[j] >= '0' && s[j] <= '7') ++j;
      if (j == s.size()) radix = 8;
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

Value escapeFn(Vm& vm, Object*, Args args) {
  std::string s = vm.toString(args.at(0)), out;
  static const char hex[] = "0123456789ABCDEF";
  for (unsigned char c : s) {
    if (std::isalnum(c)) {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return text(vm, out);
}

Value unescapeFn(Vm& vm, Object*, Args args) {
  std::string s = vm.toString(args.at(0)), out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() + 0 && digitValue(s[i + 1]) < 16 &&
        digitValue(s[i + 2]) < 16) {
      out += char(digitValue(s[i + 1]) * 16 + digitValue(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return text(vm, out);
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

Value setIntervalFn(Vm& vm, Object*, Args args) { return addTimer(vm, args, true); }
Value setTimeoutFn(Vm& vm, Object*, Args args) { return addTimer(vm, args, false); }
Value clearTimerFn(Vm& vm, Object*, Args args) {
  vm.clearTimer(int(vm.toNumber(args.at(0))));
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
  vm.define(g, "setTimeout", setTimeoutFn, DontEnum | Version6);
  Function* clear = vm.define(g, "clearInterval", clearTimerFn);
  // One function under both names, as scripts comparing them see.
  vm.put(g, "clearTimeout", Value(static_cast<Object*>(clear)), DontEnum | Version6);
  // Functions of the original's that do nothing here: redrawing happens every frame anyway, and
  // there is no debugger to enable. The debugger's has no links at all.
  vm.define(g, "updateAfterEvent", nothingFn);
  vm.define(g, "showRedrawRegions", nothingFn);
  Function* debug = vm.make<Function>();
  debug->native = nothingFn;
  vm.put(g, "enableDebugConsole", Value(static_cast<Object*>(debug)), Hidden);
  vm.put(g, "AsSetupError", Value(static_cast<Object*>(vm.newNative(nothingFn, vm.newObject()))),
         Hidden);
  // A variable the original's own set-up leaves behind.
  vm.put(g, "o", Value::null(), Hidden);
  vm.define(g, "ASSetPropFlags", asSetPropFlags);
  vm.put(g, "NaN", Value(freshNaN()), DontEnum);  // one value: NaN == NaN
  vm.put(g, "Infinity", Value(INFINITY), DontEnum);
}

}  // namespace swf::avm1
