#include "swf/avm1/builtins/load_text.h"

#include <algorithm>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/scripted_method.h"
#include "swf/avm1/load_queue.h"
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

bool startTextLoad(Vm& vm, Object* self, const Value& url) {
  if (!self || url.isUndefined()) return false;
  std::string address = vm.toString(url);
  if (auto* t = dynamic_cast<TextLoadingObject*>(self)) t->progress = LoadProgress{true, 0, 0};
  vm.put(self, "loaded", Value(false), DontEnum);
  LoadQueue::Job job;
  job.subject = Value(self);
  job.path = vm.host().localPath(address);
  job.run = [](Vm& vm, LoadQueue::Job& j) {
    std::string bytes, error;
    bool ok = !j.path.empty() && readBoundedFile(j.path, kMaxLoadedText, bytes, error);
    Object* o = j.subject.object();
    if (auto* t = dynamic_cast<TextLoadingObject*>(o); t && ok)
      t->progress.loaded = t->progress.total = double(bytes.size());
    // A UTF-8 byte order mark is not part of the text.
    if (ok && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    fireEvent(vm, o, "onData", {ok ? Value(vm.str(std::move(bytes))) : Value()});
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

Value getBytesLoaded(Vm&, Object* self, Args) {
  auto* t = dynamic_cast<TextLoadingObject*>(self);
  return t && t->progress.started ? Value(t->progress.loaded) : Value();
}

Value getBytesTotal(Vm&, Object* self, Args) {
  auto* t = dynamic_cast<TextLoadingObject*>(self);
  return t && t->progress.started ? Value(t->progress.total) : Value();
}

Value inert(Vm&, Object*, Args) { return Value(); }

}  // namespace

void defineLoadingMethods(Vm& vm, Object* p, uint16_t flags) {
  vm.define(p, "load", load, flags);
  vm.define(p, "send", send, flags);
  vm.define(p, "sendAndLoad", sendAndLoad, flags);
  defineScripted(vm, p, "getBytesLoaded", getBytesLoaded, flags);
  defineScripted(vm, p, "getBytesTotal", getBytesTotal, flags);
  defineScripted(vm, p, "addRequestHeader", inert, flags);
  defineScripted(vm, p, "onLoad", inert, flags);
  vm.put(p, "contentType", Value(vm.intern("application/x-www-form-urlencoded")), Hidden);
}

}  // namespace swf::avm1
