// MovieClipLoader: loads a movie into a clip or level and tells its listeners how it went
// (onLoadStart, onLoadProgress, onLoadComplete, then onLoadInit a frame later once the movie's
// first frame ran; onLoadError when the file is missing, refused or not a movie).

#include <filesystem>
#include <fstream>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/load_queue.h"

namespace swf::avm1 {
namespace {

void broadcast(Vm& vm, Object* loader, const char* event, std::vector<Value> args) {
  args.insert(args.begin(), Value(vm.intern(event)));
  fireEvent(vm, loader, "broadcastMessage", std::move(args));
}

// A clip, or a level by number or "_levelN": the node, or the level number in `level`.
DisplayNode* targetOf(Vm& vm, const Value& v, int& level) {
  level = -1;
  if (Object* o = v.object()) {
    ClipObject* c = o->asClip();
    return c ? c->node() : nullptr;
  }
  if (v.isNumber()) {
    int32_t n = vm.toInt32(v);  // as the original reads it: 2^32 + 11 is level 11
    level = n >= 0 ? n : -1;
  } else if (v.isString()) {
    std::string s = v.s->text;
    if (s.size() > 6 && (s.rfind("_level", 0) == 0 || s.rfind("_LEVEL", 0) == 0))
      level = int(stringToNumber(s.substr(6), 7));
    else
      return vm.resolveTarget(vm.currentClip(), s);
  }
  if (level < 0) return nullptr;
  if (DisplayNode* n = vm.host().levelNode(level)) return level = -1, n;
  return nullptr;
}

// The bytes a load delivers: a movie's length as its header gives it (compressed movies count
// what they inflate to), any other file's size.
double loadedSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char head[8] = {};
  if (in.read(reinterpret_cast<char*>(head), sizeof head) && head[1] == 'W' && head[2] == 'S' &&
      (head[0] == 'F' || head[0] == 'C' || head[0] == 'Z'))
    return double(uint32_t(head[4]) | uint32_t(head[5]) << 8 | uint32_t(head[6]) << 16 |
                  uint32_t(head[7]) << 24);
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : double(size);
}

// Stages of a load: the movie arrives, then its first frame has run.
constexpr int kArrive = 0, kInitialized = 1;
// A level named by text that did not exist when asked for gets the movie, but the loader has
// no clip to speak of and tells its listeners nothing.
constexpr int kArriveQuietly = 2;

bool runLoad(Vm& vm, LoadQueue::Job& j) {
  Object* loader = j.subject.object();
  if (j.stage == kInitialized) {
    broadcast(vm, loader, "onLoadInit", {j.target});
    return true;
  }
  ClipObject* clip = j.target.object() ? j.target.object()->asClip() : nullptr;
  int level = j.target.isNumber() ? int(j.target.n) : -1;
  bool quiet = j.stage == kArriveQuietly;
  std::error_code ec;
  if (j.path.empty() || !std::filesystem::is_regular_file(j.path, ec)) {
    if (quiet) return true;
    // A clip removed meanwhile (with none of its path in its place) is reported as undefined;
    // the HTTP status is 0 without a server. An address the movie may not reach (the web, or
    // the disk from a movie that asked for the network) is refused outright.
    Value target = clip && !clip->node() ? Value() : j.target;
    const char* why = j.path.empty() ? "IllegalRequest" : "URLNotFound";
    broadcast(vm, loader, "onLoadError", {target, Value(vm.intern(why)), Value(0)});
    return true;
  }
  if (clip && !clip->alive()) return true;
  std::string error;
  DisplayNode* node =
      vm.host().loadMovieNow(clip ? clip->node() : nullptr, level, j.path, j.address, error);
  if (quiet) return true;
  if (!node) {
    broadcast(vm, loader, "onLoadError", {j.target, Value(vm.intern("LoadNeverCompleted"))});
    return true;
  }
  Value c(static_cast<Object*>(vm.clipFor(node)));
  double size = loadedSize(j.path);
  j.target = c;
  broadcast(vm, loader, "onLoadStart", {c});
  // Once as the data comes in and once as it is complete; a local file comes in one piece.
  broadcast(vm, loader, "onLoadProgress", {c, Value(size), Value(size)});
  broadcast(vm, loader, "onLoadProgress", {c, Value(size), Value(size)});
  broadcast(vm, loader, "onLoadComplete", {c, Value(0)});
  LoadQueue::Job init = j;
  init.stage = kInitialized;
  vm.loads().addFirst(std::move(init));
  return true;
}

// A MovieClipLoader: the prototype is the broadcaster, each loader has its own list of listeners
// with itself first.
class LoaderObject : public Object {};

Object* allocateLoader(Vm& vm) { return vm.make<LoaderObject>(); }

Value ctor(Vm& vm, Object* self, Args) {
  if (!dynamic_cast<LoaderObject*>(self)) return Value();
  ArrayObject* listeners = vm.newArray();
  listeners->items.push_back(Value(self));
  vm.put(self, "_listeners", Value(static_cast<Object*>(listeners)), Hidden);
  return Value();
}

Value queueLoad(Vm& vm, Object* self, const Value& target, const std::string& url,
                bool (*run)(Vm&, LoadQueue::Job&)) {
  int level;
  DisplayNode* node = targetOf(vm, target, level);
  if (!self || (!node && level < 0)) return Value(false);
  LoadQueue::Job job;
  job.subject = Value(self);
  job.target = node ? Value(static_cast<Object*>(vm.clipFor(node))) : Value(level);
  if (!url.empty()) {
    job.path = vm.host().localPath(url);
    job.address = vm.host().movieAddress(url);
  }
  if (!node && target.isString()) job.stage = kArriveQuietly;
  job.run = run;
  vm.loads().add(std::move(job));
  return Value(true);
}

Value loadClip(Vm& vm, Object* self, Args args) {
  if (args.size() < 2 || args.at(0).isUndefined()) return Value(false);
  return queueLoad(vm, self, args.at(1), vm.toString(args.at(0)), runLoad);
}

Value unloadClip(Vm& vm, Object* self, Args args) {
  return queueLoad(vm, self, args.at(0), "", [](Vm& vm, LoadQueue::Job& j) {
    ClipObject* clip = j.target.object() ? j.target.object()->asClip() : nullptr;
    std::string error;
    if (clip && clip->alive())
      vm.host().loadMovieNow(clip->node(), -1, "", "", error);
    else if (j.target.isNumber())
      vm.host().loadMovieNow(nullptr, int(j.target.n), "", "", error);
    return true;
  });
}

// {bytesLoaded, bytesTotal} of a clip (or a path or level naming one), as an object of no class.
// Only a level's movie has bytes; other clips count none.
Value getProgress(Vm& vm, Object* self, Args args) {
  int level;
  DisplayNode* node = dynamic_cast<LoaderObject*>(self) ? targetOf(vm, args.at(0), level) : nullptr;
  if (!node) return Value();
  double bytes = node->parentNode() ? 0 : node->bytesTotal();
  Object* r = vm.newObject(nullptr);
  vm.put(r, "bytesLoaded", Value(bytes));
  vm.put(r, "bytesTotal", Value(bytes));
  return Value(r);
}

}  // namespace

void installMovieClipLoader(Vm& vm) {
  Object* p = vm.newObject();
  vm.define(p, "loadClip", loadClip);
  vm.define(p, "unloadClip", unloadClip);
  vm.define(p, "getProgress", getProgress);
  vm.defineClass("MovieClipLoader", ctor, p, allocateLoader);
  makeBroadcaster(vm, p);
  // A class of Flash 7: older movies find the constructor but nothing on its prototype.
  vm.setAllFlags(p, Version7);
}

}  // namespace swf::avm1
