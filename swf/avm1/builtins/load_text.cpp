#include "swf/avm1/builtins/load_text.h"

#include <algorithm>

#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/scripted_method.h"
#include "swf/avm1/load_queue.h"
#include "swf/avm1/string_ops.h"
#include "swf/io/local_file.h"

namespace swf::avm1 {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string urlEscape(const std::string& s) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string urlUnescape(const std::string& s, bool plusIsSpace) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() + 0 && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
      out += char(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
      i += 2;
    } else if (s[i] == '+' && plusIsSpace) {
      out += ' ';
    } else {
      out += s[i];
    }
  }
  return out;
}

void decodeUrlVariables(Vm& vm, Object* into, const std::string& text) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = std::min(text.find('&', start), text.size());
    std::string pair = text.substr(start, end - start);
    size_t eq = pair.find('=');
    std::string name = urlUnescape(pair.substr(0, eq), true);
    std::string value = eq == std::string::npos ? "" : urlUnescape(pair.substr(eq + 1), true);
    if (!name.empty()) vm.set(into, vm.intern(name), Value(vm.str(value)));
    start = end + 1;
  }
}

std::string encodeUrlVariables(Vm& vm, Object* from) {
  std::vector<String*> names = vm.enumerate(from);
  std::string out;
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    if (!out.empty()) out += '&';
    out += urlEscape((*it)->text) + '=' + urlEscape(vm.toString(vm.get(from, *it)));
  }
  return out;
}

std::string loadedText(std::string bytes, int version) {
  // SWF 5 movies know no Unicode: every byte is a character, up to the first NUL.
  if (version < 6) return latin1ToUtf8(std::string_view(bytes).substr(0, bytes.find('\0')));
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  bool be = bytes.compare(0, 2, "\xFE\xFF") == 0, le = bytes.compare(0, 2, "\xFF\xFE") == 0;
  // The text ends at a NUL, as every string a script gets does.
  if (!be && !le) return bytes.substr(0, bytes.find('\0'));
  std::string out;
  auto unit = [&](size_t i) {
    auto b0 = uint8_t(bytes[i]), b1 = uint8_t(bytes[i + 1]);
    return uint32_t(be ? (b0 << 8 | b1) : (b1 << 8 | b0));
  };
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    uint32_t c = unit(i);
    if (c == 0) break;
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      uint32_t lo = unit(i + 2);
      if (lo >= 0xDC00 && lo < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;  // a lone surrogate
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | c >> 6);
      out += char(0x80 | (c & 63));
    } else if (c < 0x10000) {
      out += char(0xE0 | c >> 12);
      out += char(0x80 | (c >> 6 & 63));
      out += char(0x80 | (c & 63));
    } else {
      out += char(0xF0 | c >> 18);
      out += char(0x80 | (c >> 12 & 63));
      out += char(0x80 | (c >> 6 & 63));
      out += char(0x80 | (c & 63));
    }
  }
  return out;
}

namespace {

void setState(Vm& vm, Object* o, const char* name, const Value& v) {
  String* key = vm.intern(name);
  // A class may keep the property as an accessor (XML's loaded); others get a hidden one.
  if (vm.has(o, key))
    vm.set(o, key, v);
  else
    vm.put(o, key, v, DontEnum);
}

}  // namespace

bool startTextLoad(Vm& vm, Object* self, const Value& url) {
  if (!self || url.isUndefined()) return false;
  std::string address = vm.toString(url);
  setState(vm, self, "_bytesLoaded", Value(0));
  setState(vm, self, "_bytesTotal", Value());
  setState(vm, self, "loaded", Value(false));
  LoadQueue::Job job;
  job.subject = Value(self);
  job.path = vm.host().localPath(address);
  int version = vm.version();  // of the code that asked
  job.run = [version](Vm& vm, LoadQueue::Job& j) {
    std::string bytes, error;
    bool ok = !j.path.empty() && readBoundedFile(j.path, kMaxLoadedText, bytes, error);
    Object* o = j.subject.object();
    if (ok) {
      setState(vm, o, "_bytesLoaded", Value(double(bytes.size())));
      setState(vm, o, "_bytesTotal", Value(double(bytes.size())));
    }
    fireEvent(vm, o, "onData",
              {ok ? Value(vm.str(loadedText(std::move(bytes), version))) : Value()});
    return true;
  };
  vm.loads().add(std::move(job));
  return true;
}

namespace {

Value load(Vm& vm, Object* self, Args args) { return Value(startTextLoad(vm, self, args.at(0))); }

// Nothing can be sent without a network: sendAndLoad loads its address into the target.
Value sendAndLoad(Vm& vm, Object*, Args args) {
  Object* target = args.at(1).object();
  return Value(target ? startTextLoad(vm, target, args.at(0)) : false);
}

Value send(Vm&, Object*, Args) { return Value(false); }

Value getBytesLoaded(Vm& vm, Object* self, Args) {
  return self ? vm.get(self, vm.intern("_bytesLoaded")) : Value();
}

Value getBytesTotal(Vm& vm, Object* self, Args) {
  return self ? vm.get(self, vm.intern("_bytesTotal")) : Value();
}

// addRequestHeader(name, value) or addRequestHeader([name, value, ...]): each pair of strings is
// pushed onto the object's _customHeaders (an array made on first use; whatever a script put
// there instead gets the push calls, or none when it is no object). Pairs with anything but
// strings are skipped.
Value addRequestHeader(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  std::vector<std::pair<Value, Value>> pairs;
  auto addPair = [&](const Value& name, const Value& value) {
    if (name.isString() && value.isString()) pairs.emplace_back(name, value);
  };
  if (ArrayObject* a = args.at(0).object() ? args.at(0).o->asArray() : nullptr) {
    std::vector<Value> items = a->items;  // a push below may change it
    for (size_t i = 0; i + 1 < items.size(); i += 2) addPair(items[i], items[i + 1]);
  } else if (args.size() >= 2) {
    addPair(args.at(0), args.at(1));
  }
  if (pairs.empty()) return Value();
  String* key = vm.intern("_customHeaders");
  Value list = vm.get(self, key);
  if (list.isUndefined()) {
    // Made as `new Array` and hidden from SWF 5 code, which so never fills it.
    list = vm.construct(vm.get(vm.global, vm.intern("Array")), {});
    vm.put(self, key, list, Hidden | Version6);
    list = vm.get(self, key);
  }
  Object* target = list.object();
  if (!target) return Value();
  Vm::Pin pin(vm, list);
  for (auto& [name, value] : pairs) {
    Value pair[] = {name, value};
    vm.callMethod(target, vm.intern("push"), pair);
  }
  return Value();
}

Value inert(Vm&, Object*, Args) { return Value(); }

}  // namespace

void defineLoadingMethods(Vm& vm, Object* p, uint16_t flags) {
  vm.define(p, "load", load, flags);
  vm.define(p, "send", send, flags);
  vm.define(p, "sendAndLoad", sendAndLoad, flags);
  defineScripted(vm, p, "getBytesLoaded", getBytesLoaded, flags);
  defineScripted(vm, p, "getBytesTotal", getBytesTotal, flags);
  defineScripted(vm, p, "addRequestHeader", addRequestHeader, flags);
  defineScripted(vm, p, "onLoad", inert, flags);
}

void registerLoadingNatives(Vm& vm) {
  registerAsNative(vm, 301, 0, load);
  registerAsNative(vm, 301, 1, send);
  registerAsNative(vm, 301, 2, sendAndLoad);
}

}  // namespace swf::avm1
