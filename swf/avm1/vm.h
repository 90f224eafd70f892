#pragma once
// The machine: heap, intern table, global object and built-in prototypes, and the operations
// every action and native shares (member access, calls, conversions by SWF version).

#include <chrono>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "swf/avm1/clip_object.h"
#include "swf/avm1/function.h"
#include "swf/avm1/operand_stack.h"

namespace swf::sound {
class SoundEngine;
}

namespace swf::avm1 {

class ArrayObject;
class LoadQueue;
struct ExecFrame;
struct ScriptStream;

// What the machine asks of the player.
struct VmHost {
  virtual ~VmHost() = default;
  virtual void trace(const std::string& text) = 0;
  virtual void getURL(const std::string& url, const std::string& target, int method) = 0;
  virtual double timerMs() = 0;  // milliseconds since the movie started
  // The date and time now (Date), in milliseconds since 1970 UTC.
  virtual double wallClockMs() {
    using namespace std::chrono;
    return double(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
  }
  virtual DisplayNode* levelNode(int n) = 0;
  virtual void toggleQuality() {}
  virtual void stopSounds() {}
  // Marks what the player keeps for scripts outside the machine's own roots (objects waiting
  // for an event the player will deliver).
  virtual void traceRoots(Tracer&) {}
  // The movie's own file (local files a script names are found beside it); empty when none.
  virtual std::string moviePath() { return {}; }
  // The player's mixer, for sound a script starts (an FLV's); null without one.
  virtual sound::SoundEngine* soundEngine() { return nullptr; }
  // Loading. The file an address names, relative to the loading movie's own directory; empty
  // when the address is refused (web addresses, other schemes, nothing loaded).
  virtual std::string localPath(const std::string& /*url*/) { return {}; }
  // The address a movie loaded from `url` reports as its `_url`: the loading movie's directory
  // and `url` as the script wrote it, escapes and all.
  virtual std::string movieAddress(const std::string& url) { return url; }
  // Puts the movie in file `path` into `target` (a clip), or into level `level` when `target` is
  // null, now; an empty path empties it. `address` is the movie's `_url` (movieAddress; empty
  // for the file's own address). Returns the clip now showing it (null when emptied or on
  // failure, with `error` set on failure).
  virtual DisplayNode* loadMovieNow(DisplayNode* /*target*/, int /*level*/,
                                    const std::string& /*path*/, const std::string& /*address*/,
                                    std::string& error) {
    error = "not supported";
    return nullptr;
  }
  // The directory SharedObjects are kept in; empty keeps them in memory only.
  virtual std::string sharedObjectDir() { return {}; }
  // Streams the player moves on with its clock, from start until stop (script_stream.h).
  virtual void startStream(ScriptStream*) {}
  virtual void stopStream(ScriptStream*) {}
};

// Thrown by the script's Throw; caught by Try or ends the block.
struct ScriptThrow {
  Value value;
};
// Ends the running block at once (bad bytecode, the time limit, too deep a recursion).
struct ScriptAbort {
  const char* why;
};

class Vm {
 public:
  Vm(VmHost& host, int swfVersion);
  ~Vm();
  Vm(const Vm&) = delete;
  Vm& operator=(const Vm&) = delete;

  VmHost& host() { return host_; }
  // The version of the code running now (the movie's when none is).
  int version() const { return version_; }
  void setVersion(int v) { version_ = v; }
  bool caseSensitive() const { return rootVersion_ >= 7; }

  // ---- running ----
  // Runs one block of actions (a frame's, a button's, a clip event's) in `clip`'s timeline.
  void runBlock(std::span<const uint8_t> code, std::shared_ptr<const void> keep, ClipObject* clip,
                int swfVersion);
  // Calls `fn` (a function object or anything else: undefined) with `self` as this.
  Value call(const Value& fn, Object* self, std::span<const Value> args);
  Value callMethod(Object* self, String* name, std::span<const Value> args);
  Value construct(const Value& fn, std::span<const Value> args);
  // Calls `o`'s method `name` as an event handler, when it has one.
  void callHandler(Object* o, std::string_view name);
  // Calls due interval and timeout callbacks.
  void runTimers(double nowMs);
  // Limits: the time one block may run, and what happens when one overruns.
  std::chrono::milliseconds timeLimit{15000};
  std::function<void()> onScriptTimeout;
  static constexpr int kMaxCallDepth = 256;
  // Set once a script recursed past kMaxCallDepth: as in the original player, no script of the
  // movie runs again (blocks, handlers, timers and calls all end at once).
  bool halted = false;

  // ---- strings ----
  String* intern(std::string_view text);
  String* str(std::string text);  // a fresh, uninterned string
  // a + b; a result past kMaxStringLength ends the script instead of exhausting memory.
  String* concat(const std::string& a, const std::string& b);
  // The same for strings the script holds: a long `a` lends its buffer to the result (see
  // StringText), so appending in a loop is linear.
  String* concat(String* a, std::string_view b);
  // a + the text of b, as toString gives it.
  String* concat(String* a, const Value& b);
  static constexpr size_t kMaxStringLength = 64u << 20;
  String* key(String* s);  // the property key for a name
  String* key(std::string_view text) { return key(intern(text)); }

  // ---- objects ----
  Object* newObject();  // with Object.prototype
  Object* newObject(Object* proto);
  ArrayObject* newArray();
  Function* newNative(NativeFn fn, Object* proto = nullptr);
  // Gives a new function the links every function has: __proto__ and constructor.
  void linkFunction(Function* f);
  ClipObject* clipFor(DisplayNode* node);
  template <class T, class... A>
  T* make(A&&... a) {
    T* c = new T(std::forward<A>(a)...);
    adopt(c);
    return c;
  }

  // Member access with prototype chains, getters, setters, watchpoints and native properties.
  Value get(Object* o, String* name);
  Value get(const Value& v, String* name);  // primitives read their class's prototype
  void set(Object* o, String* name, const Value& v);
  bool has(Object* o, String* name);
  bool hasOwn(Object* o, String* name);
  bool remove(Object* o, String* name);
  Property* findOwn(Object* o, String* name);
  // Own property, created when absent (no setters, no watch): for built-ins and locals.
  void put(Object* o, String* name, const Value& v, uint16_t flags = 0);
  void put(Object* o, std::string_view name, const Value& v, uint16_t flags = 0) {
    put(o, intern(name), v, flags);
  }
  Function* define(Object* o, std::string_view name, NativeFn fn, uint16_t flags = Hidden);
  // Adds `flags` to every own property of `o`, as the original's classes seal some objects
  // (Math, Object) once built.
  void setAllFlags(Object* o, uint16_t flags);
  // A native class on _global with its prototype; returns the constructor.
  Function* defineClass(std::string_view name, NativeFn ctor, Object* proto,
                        AllocateFn allocate = nullptr);
  Object* protoOf(Object* o);
  // for..in order: newest first, then up the prototype chain; names visible to `version()`.
  std::vector<String*> enumerate(Object* o);
  bool instanceOf(Object* o, Object* ctor);
  // ImplementsOp: `ctor`'s instances are instances of `ifaces` too (kept on its prototype).
  void setInterfaces(Object* ctor, std::span<const Value> ifaces);

  // ---- conversions (by version()) ----
  double toNumber(const Value& v);
  std::string toString(const Value& v);
  String* toStr(const Value& v);
  bool toBoolean(const Value& v);
  Value toPrimitive(const Value& v, bool preferString = false);
  // Whether `o` has a valueOf or a toString (asked in that order, or the other way round) to
  // convert it by.
  bool convertible(Object* o, bool toStringFirst = false);
  Object* toObject(const Value& v);  // wraps primitives; null for undefined and null
  int32_t toInt32(const Value& v);
  std::string typeOf(const Value& v);
  bool looseEquals(const Value& a, const Value& b);
  bool strictEquals(const Value& a, const Value& b);
  // a < b: true, false, or undefined (NaN involved).
  Value less(const Value& a, const Value& b);

  // ---- well-known objects ----
  Object* global = nullptr;
  Object* objectProto = nullptr;
  Object* functionProto = nullptr;
  Object* arrayProto = nullptr;
  Object* stringProto = nullptr;
  Object* numberProto = nullptr;
  Object* booleanProto = nullptr;
  Object* errorProto = nullptr;
  Object* movieClipProto = nullptr;
  Function* objectCtor = nullptr;
  // Made before any other function so that every function can name it as its constructor.
  Function* functionCtor = nullptr;
  // Objects the player keeps alive for its display objects other than clips (text fields).
  Object* hostRoot = nullptr;
  struct Names;
  const Names& names() const { return *names_; }

  // ---- the collector ----
  void collect();
  // Collects when enough was allocated since the last time; only at safe points.
  void maybeCollect();
  size_t liveCells() const { return liveCells_; }
  // Keeps a value alive while a native holds it across a call into scripts.
  class Pin {
   public:
    Pin(Vm& vm, const Value& v) : vm_(vm) { vm_.pinned_.push_back(v); }
    ~Pin() { vm_.pinned_.pop_back(); }
    Pin(const Pin&) = delete;
    Pin& operator=(const Pin&) = delete;

   private:
    Vm& vm_;
  };
  // Adds an installer run now for this machine (the player's classes).
  void install(void (*installer)(Vm&)) { installer(*this); }

  // ---- classes of exported symbols (Object.registerClass) ----
  // Clips made from `symbol` from now on are made as `ctor`'s instances; null forgets the class.
  void registerClass(const std::string& symbol, Object* ctor);
  Object* registeredClass(const std::string& symbol) const;
  bool anyRegisteredClass() const { return !classes_.empty(); }
  // Gives a clip its class's prototype (and __constructor__, as `new` does).
  void adoptClass(ClipObject* clip, Object* ctor);
  // Runs the class constructor on a clip: inside the running script when one runs, else as a
  // script of its own.
  void constructClip(ClipObject* clip, Object* ctor);
  // A clip a script just made (attachMovie, duplicateMovieClip) of `symbol`: its class, then the
  // properties of `init` (all of its own, whatever their flags), then the constructor.
  void initClip(DisplayNode* node, const std::string& symbol, const Value& init);

  // ---- loading (LoadVars, XML, clips) and objects kept for the machine's life ----
  LoadQueue& loads();
  // Delivers the loads that are due; the player calls it once per frame.
  void runLoads();

  // ---- timers (setInterval, setTimeout) ----
  int addTimer(const Value& fn, Object* self, String* method, std::vector<Value> args, double ms,
               bool repeat);
  void clearTimer(int id);

  // Used by the interpreter.
  OperandStack stack;
  std::vector<ExecFrame*> frames;
  int nativeDepth = 0;
  // Set by CallFunction and CallMethod just before they call a script function: the caller's
  // stack base, which the call takes over (see ExecFrame::stackFloor). Taken by the call.
  size_t sharedStackFloor = kNoSharedStack;
  static constexpr size_t kNoSharedStack = size_t(-1);
  // True while a native runs as a constructor (`new Array(3)` rather than `Array(3)`).
  bool isConstructing = false;
  std::chrono::steady_clock::time_point blockStart;
  uint64_t steps = 0;
  void checkTime();
  // `super` inside the call reads above `super` (its holder); null gives the call no super, as
  // for a function called by CallFunction.
  Value callFunction(Function* f, Object* self, std::span<const Value> args, Object* super,
                     bool construct);
  ClipObject* currentClip();  // the target of the running code
  DisplayNode* resolveTarget(ClipObject* from, const std::string& path);
  // The object a path reaches from `start` (clips, or objects variables hold on the way).
  Object* walkPath(Object* start, ClipObject* base, std::string_view path, bool clipsOnly);
  // Variables by path ("/a/b:v", "_root.a.v") or by name through the scope chain.
  // `foundOn`, when given, is set to the scope object the name was found on (left alone when
  // it came from _global or a path).
  Value getVariable(ExecFrame& f, String* name, Object** foundOn = nullptr);
  void setVariable(ExecFrame& f, String* name, const Value& v);
  std::string targetPathOf(DisplayNode* node);
  // The holder of `super` for a method called on `self`: its prototype, wherever the method was
  // found (so a method found on `self`'s own prototype reads its super one step above that).
  Object* superOf(Object* self);

 private:
  friend class Interpreter;
  void adopt(GcCell* c);
  void markRoots(Tracer& t);
  Value getWithThis(Object* o, String* name, Object* self);
  Object* pathStep(Object* from, std::string_view name);
  Object* pathTarget(ExecFrame& f, std::string_view path);
  bool inherits(Object* from, Object* proto, int& budget);

 public:
  // Finds `name` on `o` or its prototypes; getters run with `self` as this.
  bool lookup(Object* o, String* name, Object* self, Value& out);
  // A member `o` lacks, asked of its __resolve function; false when there is none.
  bool resolveMissing(Object* o, String* name, Value& out);
  // Set once any script made a __resolve property: until then misses need not look for one.
  bool resolveSeen = false;
  // addProperty made `name` on `o` where none was: its watcher hears a write of undefined and
  // its result is kept as the property's value.
  void announceNewAccessor(Object* o, String* name);
  // An exception a finally block's return left pending; the next enclosing try block ends
  // with it (see doTry). Cleared when a block or handler ends.
  bool strayThrow = false;

 private:
  void callWatch(Object* o, Property* p, String* name, Value& v, bool& handled);

  VmHost& host_;
  int rootVersion_;
  int version_;
  std::unique_ptr<Names> names_;
  GcCell* cells_ = nullptr;
  size_t liveCells_ = 0, allocatedSinceCollect_ = 0, collectThreshold_ = 20000;
  std::unordered_map<std::string_view, String*> interned_;
  std::vector<ClipObject*> clips_;
  std::unordered_map<std::string, Object*> classes_;
  std::vector<Value> pinned_;
  struct Timer {
    int id;
    Value fn;
    Object* self;
    String* method;
    std::vector<Value> args;
    double interval, due;
    bool repeat;
  };
  std::vector<Timer> timers_;
  std::unique_ptr<LoadQueue> loads_;
  int nextTimerId_ = 1;
  double nowMs_ = 0;
};

// Interned names the machine uses often, made once.
struct Vm::Names {
  String *proto, *prototype, *constructor, *ctor2, *length, *toString, *valueOf, *thisName,
      *arguments, *super, *global, *root, *parent, *callee, *caller, *empty, *undefined, *message,
      *name, *resolve, *stringClass;
};

}  // namespace swf::avm1
