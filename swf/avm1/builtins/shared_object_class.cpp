// SharedObject: data a movie keeps between runs, one ".sol" file per movie path and name under
// the host's shared object directory. Files are replaced whole; a file that does not read as a
// shared object (corrupt, foreign, too large) gives an empty object.

#include <filesystem>
#include <system_error>

#include "swf/avm1/builtins/amf0.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/load_queue.h"
#include "swf/io/local_file.h"
#include "swf/io/sol_file.h"

namespace swf::avm1 {
namespace {

namespace fs = std::filesystem;

// The largest file read or written; the original player asked the user beyond far less.
constexpr uint64_t kMaxSolFile = 16u << 20;

class SharedObjectObj : public Object {
 public:
  std::string name, file;  // file: empty when kept in memory only
  std::string saved;       // the encoding last read or written, so an unchanged object is not
                           // written again when the movie ends
};

// Names the original refused, plus anything that could leave the directory.
bool validName(const std::string& name) {
  if (name.empty() || name.size() > 255 || name.find("..") != std::string::npos) return false;
  for (char c : name)
    if (c == '\0' || std::string_view("/\\~%&;:\"',<>?# \t\r\n").find(c) != std::string::npos)
      return false;
  return true;
}

// The directory part of the file for `moviePath` (or `localPath`, a prefix of it): no empty,
// "." or ".." parts, so the file stays under the base directory.
bool relativeDir(std::string moviePath, const std::string& localPath, std::string& out) {
  fs::path movie = fs::path(moviePath).lexically_normal();
  if (!movie.is_absolute()) movie = (fs::path("/") / movie).lexically_normal();
  fs::path where = movie;
  if (!localPath.empty()) {
    fs::path lp = fs::path(localPath).lexically_normal();
    auto m = movie.begin();
    bool prefix = lp.is_absolute();
    for (auto it = lp.begin(); prefix && it != lp.end(); ++it, ++m)
      prefix = m != movie.end() && (it->empty() || *it == *m);
    if (!prefix) return false;
    where = lp;
  }
  out.clear();
  for (const fs::path& part : where.relative_path()) {
    std::string p = part.string();
    if (p.empty()) continue;
    if (p == "." || p == "..") return false;
    out += (out.empty() ? "" : "/") + p;
  }
  return !out.empty();
}

std::string encode(Vm& vm, SharedObjectObj* so) {
  Object* data = vm.get(so, vm.intern("data")).object();
  std::string body = data ? writeAmfEntries(vm, data) : std::string();
  return body.empty() ? std::string() : solHeader(so->name, body.size()) + body;
}

bool flushObject(Vm& vm, SharedObjectObj* so) {
  if (so->file.empty()) return true;
  std::string bytes = encode(vm, so);
  std::error_code ec;
  if (bytes.empty()) {
    fs::remove(so->file, ec);
    so->saved.clear();
    return true;
  }
  if (bytes.size() > kMaxSolFile) return false;
  fs::create_directories(fs::path(so->file).parent_path(), ec);
  std::string error;
  if (!replaceFileAtomically(so->file, bytes, error)) return false;
  so->saved = std::move(bytes);
  return true;
}

void readObject(Vm& vm, SharedObjectObj* so, Object* data) {
  std::string bytes, error, name;
  size_t at = 0;
  if (so->file.empty() || !readBoundedFile(so->file, kMaxSolFile, bytes, error)) return;
  if (!readSolHeader(bytes, name, at)) return;
  Object* scratch = vm.newObject();
  if (!readAmfEntries(vm, bytes, at, scratch)) return;  // all or nothing
  std::vector<String*> names = vm.enumerate(scratch);
  for (auto it = names.rbegin(); it != names.rend(); ++it) vm.set(data, *it, vm.get(scratch, *it));
}

Value getLocal(Vm& vm, Object*, Args args) {
  std::string name = vm.toString(args.at(0));
  if (!validName(name)) return Value::null();
  std::string base = vm.host().sharedObjectDir(), file;
  if (!base.empty()) {
    std::string dir;
    std::string local = args.at(1).isNullish() ? "" : vm.toString(args.at(1));
    if (!relativeDir(vm.host().moviePath(), local, dir)) return Value::null();
    file = base + "/localhost/" + dir + "/" + name + ".sol";
  }
  std::string key = "SharedObject:" + (file.empty() ? name : file);
  LoadQueue& q = vm.loads();
  if (auto it = q.kept.find(key); it != q.kept.end()) return it->second;

  auto* so = vm.make<SharedObjectObj>();
  so->name = name;
  so->file = file;
  Value ctor = vm.get(vm.global, vm.intern("SharedObject"));
  Value proto = ctor.object() ? vm.get(ctor.o, vm.names().prototype) : Value();
  vm.put(so, vm.names().proto, proto.object() ? proto : Value(vm.objectProto), DontEnum);
  Object* data = vm.newObject();
  vm.put(so, "data", Value(data), DontDelete);
  q.kept[key] = Value(static_cast<Object*>(so));
  readObject(vm, so, data);
  so->saved = encode(vm, so);
  // What the movie changed and left unflushed is written when it ends, as the original player
  // did; an unchanged object (a corrupt file read as empty, say) leaves the file alone.
  q.atShutdown.push_back([so](Vm& vm) {
    if (encode(vm, so) != so->saved) flushObject(vm, so);
  });
  return Value(static_cast<Object*>(so));
}

Value flush(Vm& vm, Object* self, Args) {
  auto* so = dynamic_cast<SharedObjectObj*>(self);
  if (!so) return Value();
  if (flushObject(vm, so)) return Value(true);
  Object* info = vm.newObject();
  vm.put(info, "code", Value(vm.intern("SharedObject.Flush.Failed")));
  vm.put(info, "level", Value(vm.intern("error")));
  Value a[] = {Value(info)};
  vm.callMethod(so, vm.intern("onStatus"), a);
  return Value(false);
}

Value clear(Vm& vm, Object* self, Args) {
  auto* so = dynamic_cast<SharedObjectObj*>(self);
  if (!so) return Value();
  if (Object* data = vm.get(so, vm.intern("data")).object())
    for (String* name : vm.enumerate(data)) vm.remove(data, name);
  std::error_code ec;
  if (!so->file.empty()) fs::remove(so->file, ec);
  so->saved.clear();
  return Value();
}

Value getSize(Vm& vm, Object* self, Args) {
  auto* so = dynamic_cast<SharedObjectObj*>(self);
  return so ? Value(double(encode(vm, so).size())) : Value();
}

Value ctor(Vm&, Object*, Args) { return Value(); }
Value inert(Vm&, Object*, Args) { return Value(); }

}  // namespace

void installSharedObject(Vm& vm) {
  Object* p = vm.newObject();
  constexpr uint16_t kMethod = Hidden | Version6;  // older movies see the methods masked
  vm.define(p, "flush", flush, kMethod);
  vm.define(p, "clear", clear, kMethod);
  vm.define(p, "getSize", getSize, kMethod);
  vm.define(p, "connect", inert, kMethod);
  vm.define(p, "close", inert, kMethod);
  vm.define(p, "send", inert, kMethod);
  vm.define(p, "setFps", inert, kMethod);
  Function* c = vm.defineClass("SharedObject", ctor, p);
  // The class's own functions were written in script in the original: each has a prototype.
  auto scripted = [&](const char* name, NativeFn fn, uint16_t flags) {
    vm.put(c, name, Value(static_cast<Object*>(vm.newNative(fn, vm.newObject()))), flags);
  };
  scripted("getLocal", getLocal, 0);
  scripted(
      "getRemote", [](Vm&, Object*, Args) { return Value::null(); }, 0);
  // Nothing is removed or measured on a movie's behalf.
  scripted("deleteAll", inert, DontEnum);
  scripted("getDiskUsage", inert, DontEnum);
}

}  // namespace swf::avm1
