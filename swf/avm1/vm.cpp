#include "swf/avm1/vm.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <unordered_set>
#include <utility>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/exec_frame.h"
#include "swf/avm1/load_queue.h"
#include "swf/avm1/nan_identity.h"
#include "swf/avm1/proto_walk.h"
#include "swf/avm1/string_ops.h"

namespace swf::avm1 {
namespace {

std::string lowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

Vm::Vm(VmHost& host, int swfVersion)
    : host_(host), rootVersion_(swfVersion), version_(swfVersion), names_(new Names) {
  Names& n = *names_;
  n.proto = intern("__proto__");
  n.prototype = intern("prototype");
  n.constructor = intern("constructor");
  n.ctor2 = intern("__constructor__");
  n.length = intern("length");
  n.toString = intern("toString");
  n.valueOf = intern("valueOf");
  n.thisName = intern("this");
  n.arguments = intern("arguments");
  n.super = intern("super");
  n.global = intern("_global");
  n.root = intern("_root");
  n.parent = intern("_parent");
  n.callee = intern("callee");
  n.caller = intern("caller");
  n.empty = intern("");
  n.undefined = intern("undefined");
  n.message = intern("message");
  n.name = intern("name");
  n.resolve = intern("__resolve");
  n.stringClass = intern("String");
  installBuiltins(*this);
}

Vm::~Vm() {
  if (loads_) loads_->shutdown(*this);
  GcCell* c = cells_;
  while (c) {
    GcCell* next = c->gcNext;
    delete c;
    c = next;
  }
}

// ---- heap ----

void Vm::adopt(GcCell* c) {
  c->gcNext = cells_;
  cells_ = c;
  ++liveCells_;
  ++allocatedSinceCollect_;
}

void Vm::maybeCollect() {
  if (allocatedSinceCollect_ >= collectThreshold_) collect();
}

void Vm::markRoots(Tracer& t) {
  t.mark(global);
  for (Object* o : {objectProto, functionProto, arrayProto, stringProto, numberProto, booleanProto,
                    errorProto, movieClipProto, hostRoot, static_cast<Object*>(objectCtor),
                    static_cast<Object*>(functionCtor)})
    t.mark(o);
  for (String* s : {names_->proto,      names_->prototype, names_->constructor, names_->ctor2,
                    names_->length,     names_->toString,  names_->valueOf,     names_->thisName,
                    names_->arguments,  names_->super,     names_->global,      names_->root,
                    names_->parent,     names_->callee,    names_->caller,      names_->empty,
                    names_->undefined,  names_->message,   names_->name,        names_->resolve,
                    names_->stringClass})
    t.mark(s);
  for (const Value& v : stack) v.trace(t);
  for (const Value& v : pinned_) v.trace(t);
  for (ExecFrame* f : frames) f->trace(t);
  // Clips still on the display tree; the others are ordinary objects from now on.
  clips_.erase(std::remove_if(clips_.begin(), clips_.end(),
                              [&](ClipObject* c) {
                                if (!c->alive()) return true;
                                t.mark(c);
                                return false;
                              }),
               clips_.end());
  for (auto& [symbol, ctor] : classes_) t.mark(ctor);
  if (loads_) loads_->trace(t);
  for (const Timer& tm : timers_) {
    tm.fn.trace(t);
    t.mark(tm.self);
    t.mark(tm.method);
    for (const Value& v : tm.args) v.trace(t);
  }
  host_.traceRoots(t);
}

void Vm::collect() {
  Tracer t;
  markRoots(t);
  t.drain();
  // The intern table is weak: unmarked names leave it before their cells go.
  for (auto it = interned_.begin(); it != interned_.end();)
    it = it->second->gcMarked ? std::next(it) : interned_.erase(it);
  GcCell** link = &cells_;
  size_t live = 0;
  while (GcCell* c = *link) {
    if (c->gcMarked) {
      c->gcMarked = false;
      link = &c->gcNext;
      ++live;
    } else {
      *link = c->gcNext;
      delete c;
    }
  }
  liveCells_ = live;
  allocatedSinceCollect_ = 0;
  collectThreshold_ = std::max<size_t>(20000, live);
}

// ---- strings ----

String* Vm::intern(std::string_view text) {
  auto it = interned_.find(text);
  if (it != interned_.end()) return it->second;
  auto* s = new String;
  s->text = std::string(text);
  s->interned = true;
  adopt(s);
  interned_.emplace(std::string_view(s->text), s);
  std::string low = lowerCase(text);
  s->lower = low == s->text ? s : intern(low);
  return s;
}

String* Vm::str(std::string text) {
  auto* s = new String;
  s->text = std::move(text);
  adopt(s);
  return s;
}

String* Vm::concat(const std::string& a, const std::string& b) {
  if (a.size() + b.size() > kMaxStringLength) throw ScriptAbort{"string too long"};
  std::string s;
  s.reserve(a.size() + b.size());
  s += a;
  s += b;
  return str(std::move(s));
}

String* Vm::concat(String* a, std::string_view b) {
  if (a->text.size() + b.size() > kMaxStringLength) throw ScriptAbort{"string too long"};
  auto* r = new String;
  StringText::append(r->text, r, a->text, a->interned, b);
  adopt(r);
  return r;
}

String* Vm::concat(String* a, const Value& b) {
  if (b.isString()) return concat(a, std::string_view(b.s->text));
  return concat(a, std::string_view(toString(b)));
}

String* Vm::key(String* s) {
  if (!s->interned) s = intern(s->text);
  return caseSensitive() ? s : s->lower;
}

// ---- objects ----

Object* Vm::newObject() { return newObject(objectProto); }

Object* Vm::newObject(Object* proto) {
  Object* o = make<Object>();
  o->plain = true;
  if (proto) put(o, names_->proto, Value(proto), Hidden);
  // Objects the machine makes as `new Object` would say which constructor made them.
  if (proto == objectProto && objectCtor) put(o, names_->constructor, Value(objectCtor), Hidden);
  return o;
}

ArrayObject* Vm::newArray() {
  ArrayObject* a = make<ArrayObject>();
  put(a, names_->proto, Value(arrayProto), Hidden);
  if (Property* c = arrayProto ? arrayProto->props.find(names_->constructor) : nullptr)
    put(a, names_->constructor, c->value, Hidden);
  put(a, names_->length, Value(0.0), Hidden);  // read through the array; listed as its own
  return a;
}

Function* Vm::newNative(NativeFn fn, Object* proto) {
  Function* f = make<Function>();
  f->native = fn;
  linkFunction(f);
  if (proto) {
    put(f, names_->prototype, Value(proto), Hidden);
    put(proto, names_->constructor, Value(static_cast<Object*>(f)), Hidden);
  }
  return f;
}

void Vm::linkFunction(Function* f) {
  // SWF 5 code cannot see a function's __proto__ (Function.prototype is a thing of SWF 6), yet
  // lookups still follow it.
  put(f, names_->proto, Value(functionProto), Hidden | Version6);
  if (functionCtor) put(f, names_->constructor, Value(static_cast<Object*>(functionCtor)), Hidden);
}

Function* Vm::define(Object* o, std::string_view name, NativeFn fn, uint16_t flags) {
  Function* f = newNative(fn);
  put(o, name, Value(static_cast<Object*>(f)), flags);
  return f;
}

void Vm::setAllFlags(Object* o, uint16_t flags) {
  for (Property& p : o->props.list()) p.flags |= flags;
}

Function* Vm::defineClass(std::string_view name, NativeFn ctor, Object* proto,
                          AllocateFn allocate) {
  Function* f = newNative(ctor, proto);
  f->allocate = allocate;
  put(global, name, Value(static_cast<Object*>(f)), DontEnum);
  return f;
}

ClipObject* Vm::clipFor(DisplayNode* node) {
  if (!node) return nullptr;
  if (node->scriptObject) return node->scriptObject;
  ClipObject* c = make<ClipObject>(node);
  c->vm = this;
  c->setPath(targetPathOf(node));
  // The prototype _global.MovieClip has now, whatever a script put there.
  Value proto = get(get(global, intern("MovieClip")), names_->prototype);
  if (const char* cls = node->scriptClass())
    if (Object* ctor = get(global, intern(cls)).object())
      if (Object* p = get(ctor, names_->prototype).object()) proto = Value(p);
  put(c, names_->proto, proto, Hidden);
  node->scriptObject = c;
  clips_.push_back(c);
  if (!node->parentNode()) put(c, "$version", Value(intern(kPlayerVersion)));
  return c;
}

std::string Vm::targetPathOf(DisplayNode* node) {
  std::vector<std::string> parts;
  DisplayNode* n = node;
  int guard = 0;
  while (n && n->parentNode() && ++guard < 1000) {
    parts.push_back(n->nodeName());
    n = n->parentNode();
  }
  std::string out = "_level" + std::to_string(n ? n->levelNumber() : 0);
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) out += "." + *it;
  return out;
}

void Vm::put(Object* o, String* name, const Value& v, uint16_t flags) {
  String* k = key(name);
  Property* p = o->props.find(k);
  if (!p) p = &o->props.add(k, name->interned ? name : intern(name->text));
  p->value = v;
  p->flags = flags;
  p->getter = p->setter = nullptr;
}

Property* Vm::findOwn(Object* o, String* name) {
  Property* p = o->props.find(key(name));
  return p && visibleIn(p->flags, version_) ? p : nullptr;
}

namespace {
// Whether lookups follow a __proto__ with `flags`. The original tests the version masks here
// its own way: SWF 5 code stops at any mask of a later version (so it finds no
// Function.prototype methods on functions), SWF 6 code only at SWF 7's, later code never.
bool linkFollowed(uint16_t flags, int version) {
  if (version <= 5) return !(flags & (Version6 | Version7 | Version8 | Version9));
  if (version == 6) return !(flags & Version7);
  return true;
}
}  // namespace

Object* Vm::protoOf(Object* o) {
  Property* p = o->props.find(names_->proto);
  if (!p && version_ >= 7 && o->deletedProto)
    return o->deletedProto->asClip() ? nullptr : o->deletedProto;
  if (!p || p->getter || !linkFollowed(p->flags, version_)) return nullptr;
  // A movie clip is never a prototype: lookups stop there.
  Object* proto = p->value.object();
  return proto && !proto->asClip() ? proto : nullptr;
}

namespace {
// A member is looked for this many prototypes up; a longer chain ends the running script (and
// outside scripts simply counts as not found).
constexpr int kMaxProtoDepth = 256;

// A watch's callback, or a getter or setter, that is running is not entered again for its own
// property before SWF 7; from SWF 7 it is, up to this many calls deep.
constexpr int kMaxNesting = 65;
// How many calls of each running watch (object and key) are under way.
std::map<std::pair<const Object*, const String*>, int> watchNesting;

bool watchCallable(const Object* o, const Watch& w, int version) {
  if (!w.busy) return true;
  auto it = watchNesting.find({o, w.key});
  return version >= 7 && it != watchNesting.end() && it->second < kMaxNesting;
}

// The next object a write's search for a setter looks at: the link a SWF 7 delete left
// behind serves reads only.
Object* setterSearchNext(Vm& vm, Object* o) {
  return o->props.find(vm.names().proto) ? vm.protoOf(o) : nullptr;
}

bool chainTooLong(const Vm& vm, int depth) {
  if (depth <= kMaxProtoDepth) return false;
  if (!vm.frames.empty()) throw ScriptAbort{"prototype chain too long"};
  return true;
}

// The addProperty getters and setters running now, by object and key. While one runs, the
// property it serves reads and writes as the plain value it holds, so a getter may read
// `this.name` itself without calling itself again (from SWF 7 it does, up to kMaxNesting calls).
std::vector<std::pair<const Object*, const String*>> runningAccessors;

bool accessorRunning(const Vm& vm, const Object* o, const String* k) {
  long depth = std::count(runningAccessors.begin(), runningAccessors.end(), std::pair{o, k});
  return depth >= (vm.version() >= 7 ? kMaxNesting : 1);
}

Value callAccessor(Vm& vm, Object* fn, const Object* holder, const String* k, Object* self,
                   std::span<const Value> args) {
  runningAccessors.emplace_back(holder, k);
  struct Done {
    ~Done() { runningAccessors.pop_back(); }
  } done;
  return vm.call(Value(fn), self, args);
}
}  // namespace

bool Vm::lookup(Object* o, String* name, Object* self, Value& out) {
  String* k = key(name);
  // A live clip's own variables come first, then its children's instance names, then its
  // native properties (`_x`), then its prototypes; a dead one answers as its successor.
  ClipObject* clip = o->plain ? nullptr : o->asClip();
  bool liveClip = clip && clip->alive();
  if (!o->plain && !liveClip && o->getNative(*this, k, out)) return true;
  int depth = 0;
  for (Object* obj = o; obj && !chainTooLong(*this, depth); obj = protoOf(obj), ++depth) {
    if (Property* p = obj->props.find(k); p && visibleIn(p->flags, version_)) {
      bool run = p->getter && !accessorRunning(*this, obj, k);
      out = run ? callAccessor(*this, p->getter, obj, k, self, {}) : p->value;
      return true;
    }
    if (obj == o && clip) {
      if (DisplayNode* n = clip->node()) {
        if (DisplayNode* child = n->childNode(name->text, caseSensitive())) {
          out = Value(static_cast<Object*>(clipFor(child)));
          return true;
        }
        if (Object* other = n->childObject(*this, name->text, caseSensitive())) {
          out = Value(other);
          return true;
        }
      }
      if (liveClip && o->getNative(*this, k, out)) return true;
    }
  }
  out = Value();
  return false;
}

Value Vm::getWithThis(Object* o, String* name, Object* self) {
  Value out;
  lookup(o, name, self, out);
  return out;
}

Value Vm::get(Object* o, String* name) {
  if (!o) return Value();
  return getWithThis(o, name, o);
}

Value Vm::get(const Value& v, String* name) {
  switch (v.type) {
    case Value::Obj:
      return get(v.o, name);
    case Value::Str: {
      // From SWF 6 a string's members are those of the object the current _global.String
      // makes of it.
      if (version_ >= 6) {
        Value cls = get(global, names_->stringClass);
        if (!cls.object() || !cls.o->isFunction()) return Value();
        if (!isBuiltinStringClass(cls.o)) return get(construct(cls, {&v, 1}), name);
      }
      if (key(name) == key(names_->length)) return Value(double(utf8Length(v.s->text)));
      return get(toObject(v), name);
    }
    case Value::Number:
    case Value::Boolean:
      return get(toObject(v), name);
    default:
      return Value();
  }
}

void Vm::callWatch(Object* o, Property* p, String* name, Value& v, bool& handled) {
  handled = false;
  if (!o->watches) return;
  String* k = key(name);
  for (Watch& w : *o->watches) {
    if (w.key != k || !watchCallable(o, w, version_)) continue;
    Value old = p ? p->value : Value();
    Value args[4] = {Value(name), old, v, w.userData};
    Object* cb = w.callback;
    // The callback may change the list, so the entry is found again afterwards.
    w.busy = true;
    ++watchNesting[{o, k}];
    auto idle = [&] {
      auto it = watchNesting.find({o, k});
      bool done = it == watchNesting.end() || --it->second <= 0;
      if (done && it != watchNesting.end()) watchNesting.erase(it);
      if (done && o->watches)
        for (Watch& x : *o->watches)
          if (x.key == k) x.busy = false;
    };
    try {
      v = call(Value(cb), o, args);
    } catch (...) {
      idle();
      throw;
    }
    idle();
    handled = true;
    return;
  }
}

void Vm::announceNewAccessor(Object* o, String* name) {
  Value v;
  bool handled = false;
  callWatch(o, nullptr, name, v, handled);
  if (!handled) return;
  if (Property* p = o->props.find(key(name))) p->value = v;
}

void Vm::set(Object* o, String* name, const Value& v) {
  if (!o) return;
  String* k = key(name);
  if (!o->plain && o->setNative(*this, k, v)) return;
  Property* p = o->props.find(k);
  if (p && !visibleIn(p->flags, version_)) p = nullptr;
  if (!p) {
    // The search for a setter counts the step off the chain's end as well: a write of a name
    // nothing on a chain of 257 objects holds ends the script, as the original's does.
    int depth = 0;
    for (Object* obj = setterSearchNext(*this, o); !chainTooLong(*this, ++depth) && obj;
         obj = setterSearchNext(*this, obj)) {
      Property* q = obj->props.find(k);
      if (!q || !visibleIn(q->flags, version_)) continue;
      if (q->setter && !(q->flags & ReadOnly)) {
        call(Value(q->setter), o, std::span<const Value>(&v, 1));
        return;
      }
      if (q->getter) return;  // a read-only property further up
      // A plain property on the way does not hide a getter or setter further up.
    }
  } else {
    if (p->flags & ReadOnly) return;  // a constant's setter is not called either
    if (p->setter && !accessorRunning(*this, o, k)) {
      // A watch on it hears the write first; the setter gets what the watch returned, and
      // the property keeps that value beside the setter afterwards (a getter reading the
      // property itself sees it; the next watch call gets it as the old value).
      Value value = v;
      bool handled = false;
      if (o->watches) callWatch(o, p, name, value, handled);
      if (handled) p = o->props.find(k);
      if (!p || !p->setter) return;
      callAccessor(*this, p->setter, o, k, o, std::span<const Value>(&value, 1));
      if ((p = o->props.find(k))) p->value = value;
      return;
    }
  }
  Value value = v;
  // Below SWF 7 the watcher heard the write that started a setter, so the setter's own write
  // of the plain value beside it is not heard again.
  bool setterWrite = version_ < 7 && p && p->setter && accessorRunning(*this, o, k);
  if (o->watches && !setterWrite) {
    // The property is made before its watcher runs, so a watcher that deletes it has the
    // write dropped, whether or not it existed before.
    bool watched = false;
    for (const Watch& w : *o->watches) watched |= w.key == k && watchCallable(o, w, version_);
    if (watched && !o->props.find(k)) {
      o->props.add(k, name->interned ? name : intern(name->text));
      if (k == names_->resolve) resolveSeen = true;
    }
    bool handled;
    callWatch(o, p, name, value, handled);
    if (handled && !o->props.find(k)) return;
  }
  // The watcher may have changed the table, and a property this version cannot see is still
  // the one written.
  if (o->watches || !p) p = o->props.find(k);
  if (!p) {
    p = &o->props.add(k, name->interned ? name : intern(name->text));
    if (k == names_->resolve) resolveSeen = true;
  } else if (!visibleIn(p->flags, version_)) {
    // Writing a property this version cannot see makes it seen; its other flags stay. SWF 6
    // code is the exception for SWF 7's mask: the value changes, the property stays unseen.
    // A getter or setter there is not run but replaced by the value.
    if (version_ != 6 || !(p->flags & Version7)) p->flags &= uint16_t(~VersionMask);
    p->getter = p->setter = nullptr;
  }
  if (p->flags & ReadOnly) return;
  p->value = value;
}

bool Vm::resolveMissing(Object* o, String* name, Value& out) {
  // The first __resolve up the chain decides, whatever its flags: a function is asked,
  // anything else leaves the name undefined. A getter is not run; the value the property held
  // before addProperty counts. From SWF 7 on, one that holds no object is passed by.
  int depth = 0;
  for (Object* obj = o; obj && depth < kMaxProtoDepth; obj = protoOf(obj), ++depth) {
    Property* p = obj->props.find(names_->resolve);
    if (!p || (version_ >= 7 && !p->value.isObject())) continue;
    if (!p->value.object() || !p->value.o->isFunction()) return false;
    Value fn = p->value, arg(name);
    out = call(fn, o, std::span<const Value>(&arg, 1));
    return true;
  }
  return false;
}

bool Vm::hasOwn(Object* o, String* name) {
  if (!o) return false;
  Value out;
  String* k = key(name);
  if (o->getNative(*this, k, out)) return true;
  Property* p = o->props.find(k);
  return p && visibleIn(p->flags, version_);
}

bool Vm::has(Object* o, String* name) {
  int depth = 0;
  for (Object* obj = o; obj && depth < 256; obj = protoOf(obj), ++depth)
    if (hasOwn(obj, name)) return true;
  if (o && o->asClip())
    if (DisplayNode* n = o->asClip()->node())
      return n->childNode(name->text, caseSensitive()) != nullptr;
  return false;
}

bool Vm::remove(Object* o, String* name) {
  if (!o) return false;
  String* k = key(name);
  if (o->deleteNative(*this, k)) return true;
  Property* p = o->props.find(k);
  if (!p || !visibleIn(p->flags, version_) || (p->flags & DontDelete)) return false;
  // Deleting __proto__ cuts the object from its prototypes for SWF 6 code only: SWF 7 code
  // loses the property but its lookups keep following what it held.
  if (k == names_->proto) o->deletedProto = version_ >= 7 ? p->value.object() : nullptr;
  return o->props.remove(k);
}

std::vector<String*> Vm::enumerate(Object* o) {
  std::vector<String*> out;
  std::unordered_set<String*> seen;
  int depth = 0;
  for (Object* obj = o; obj && depth < 256; obj = walkNext(*this, obj), ++depth) {
    std::vector<String*> natives;
    obj->enumerateNative(*this, natives);
    for (String* n : natives)
      if (seen.insert(key(n)).second) out.push_back(n);
    auto& list = obj->props.list();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      if (!seen.insert(it->key).second) continue;
      if (it->flags & DontEnum) continue;  // version masks do not keep a name out
      out.push_back(it->name);
    }
  }
  return out;
}

bool Vm::instanceOf(Object* o, Object* ctor) {
  if (!o || !ctor) return false;
  Object* proto = get(ctor, names_->prototype).object();
  if (!proto) return false;
  int budget = 256;
  return inherits(walkNext(*this, o), proto, budget);
}

// Whether `proto` is `from`, one of its prototypes, or the prototype of an interface one of them
// implements (interfaces may implement others). `budget` bounds the walk.
bool Vm::inherits(Object* from, Object* proto, int& budget) {
  for (Object* p = from; p && budget > 0; p = walkNext(*this, p), --budget) {
    if (p == proto) return true;
    if (!p->interfaces) continue;
    // A copy: a getter run by `get` may replace the list.
    std::vector<Object*> list = *p->interfaces;
    for (Object* iface : list) {
      if (--budget <= 0) return false;
      Object* ip = get(iface, names_->prototype).object();
      if (ip && inherits(ip, proto, budget)) return true;
    }
  }
  return false;
}

void Vm::setInterfaces(Object* ctor, std::span<const Value> ifaces) {
  Object* proto = ctor ? get(ctor, names_->prototype).object() : nullptr;
  if (!proto) return;
  auto list = std::make_unique<std::vector<Object*>>();
  for (const Value& v : ifaces)
    if (Object* o = v.object()) list->push_back(o);
  proto->interfaces = std::move(list);
}

// ---- conversions ----

bool Vm::convertible(Object* o, bool toStringFirst) {
  String* first = toStringFirst ? names_->toString : names_->valueOf;
  String* second = toStringFirst ? names_->valueOf : names_->toString;
  for (String* name : {first, second}) {
    Value fn = get(o, name);
    if (fn.object() && fn.o->isFunction()) return true;
  }
  return false;
}

double Vm::toNumber(const Value& v) {
  switch (v.type) {
    case Value::Undefined:
    case Value::Null:
      return version_ >= 7 ? NAN : 0;
    case Value::Boolean:
      return v.b ? 1 : 0;
    case Value::Number:
      return v.n;
    case Value::Str:
      return stringToNumber(v.s->text, version_);
    case Value::Obj: {
      if (v.o->asClip()) return NAN;
      Value p = toPrimitive(v);
      // With no valueOf or toString to ask, an object is a number as undefined is.
      if (p.isObject()) return p.o == v.o && !convertible(v.o) ? toNumber(Value()) : NAN;
      return toNumber(p);
    }
  }
  return NAN;
}

std::string Vm::toString(const Value& v) {
  switch (v.type) {
    case Value::Undefined:
      return version_ >= 7 ? "undefined" : "";
    case Value::Null:
      return "null";
    case Value::Boolean:
      return v.b ? "true" : "false";
    case Value::Number:
      return numberToString(v.n);
    case Value::Str:
      return v.s->text;
    case Value::Obj: {
      if (ClipObject* c = v.o->asClip()) {
        DisplayNode* n = c->node();
        return n ? targetPathOf(n) : std::string();
      }
      // A String object gives its text without asking its (maybe replaced) toString.
      if (v.o->hasPrimitive && v.o->primitive.isString()) return v.o->primitive.s->text;
      const char* fallback = v.o->isFunction() ? "[type Function]" : "[type Object]";
      Value fn = get(v.o, names_->toString);
      if (fn.object() && fn.o->isFunction()) {
        // What toString gives counts only when it is text.
        Value r = call(fn, v.o, {});
        return r.isString() ? std::string(r.s->text) : fallback;
      }
      Value p = toPrimitive(v, true);
      if (p.isObject()) return fallback;
      return toString(p);
    }
  }
  return "";
}

String* Vm::toStr(const Value& v) {
  if (v.isString()) return v.s;
  if (v.isUndefined() && version_ < 7) return names_->empty;
  return str(toString(v));
}

bool Vm::toBoolean(const Value& v) {
  switch (v.type) {
    case Value::Undefined:
    case Value::Null:
      return false;
    case Value::Boolean:
      return v.b;
    case Value::Number:
      return v.n != 0 && !std::isnan(v.n);
    case Value::Str: {
      if (version_ >= 7) return !v.s->text.empty();
      double d = stringToNumber(v.s->text, version_);
      return d != 0 && !std::isnan(d);
    }
    case Value::Obj:
      return true;
  }
  return false;
}

Value Vm::toPrimitive(const Value& v, bool preferString) {
  if (!v.isObject()) return v;
  Object* o = v.o;
  // One method is asked, as the original did (the other only when the first is missing): what
  // it returns is the value, object or not.
  Value fn = get(o, preferString ? names_->toString : names_->valueOf);
  if (!fn.object() || !fn.o->isFunction()) {
    fn = get(o, preferString ? names_->valueOf : names_->toString);
    if (!fn.object() || !fn.o->isFunction()) return v;
  }
  return call(fn, o, {});
}

Object* Vm::toObject(const Value& v) {
  Object* proto = nullptr;
  switch (v.type) {
    case Value::Obj:
      return v.o;
    case Value::Str:
      proto = stringProto;
      break;
    case Value::Number:
      proto = numberProto;
      break;
    case Value::Boolean:
      proto = booleanProto;
      break;
    default:
      return nullptr;
  }
  Object* o = newObject(proto);
  o->primitive = v;
  o->hasPrimitive = true;
  // It names its class as an object `new` made would.
  Value ctor = get(proto, names_->constructor);
  if (ctor.object() && ctor.o->isFunction()) {
    put(o, names_->ctor2, ctor, DontEnum | Version6);
    if (version_ < 7) put(o, names_->constructor, ctor, DontEnum);
  }
  return o;
}

int32_t Vm::toInt32(const Value& v) {
  double d = toNumber(v);
  if (!std::isfinite(d)) return 0;
  d = std::trunc(std::fmod(d, 4294967296.0));
  if (d < 0) d += 4294967296.0;
  return int32_t(uint32_t(d));
}

std::string Vm::typeOf(const Value& v) {
  switch (v.type) {
    case Value::Undefined:
      return "undefined";
    case Value::Null:
      return "null";
    case Value::Boolean:
      return "boolean";
    case Value::Number:
      return "number";
    case Value::Str:
      return "string";
    case Value::Obj:
      return v.o->typeName();
  }
  return "undefined";
}

namespace {

// Two references name the same object. A dead clip reference stands for the clip now at its
// path, so one kept across a loadMovie still equals the clip that took the place.
bool sameObject(Object* a, Object* b) {
  if (a == b) return true;
  ClipObject* x = a->asClip();
  ClipObject* y = x ? b->asClip() : nullptr;
  if (!y || (x->alive() && y->alive())) return false;
  // Two gone with nothing at their paths are equal too.
  return x->node() == y->node();
}

}  // namespace

bool Vm::strictEquals(const Value& a, const Value& b) {
  if (a.type != b.type) return false;
  switch (a.type) {
    case Value::Undefined:
    case Value::Null:
      return true;
    case Value::Boolean:
      return a.b == b.b;
    case Value::Number:
      return sameNumber(a.n, b.n);
    case Value::Str:
      return a.s == b.s || a.s->text == b.s->text;
    case Value::Obj:
      return sameObject(a.o, b.o);
  }
  return false;
}

namespace {

// Equality of two values neither of which is an object.
bool primitiveEquals(Vm& vm, const Value& a, const Value& b) {
  if (a.type == b.type) return vm.strictEquals(a, b);
  if (a.isNullish() || b.isNullish()) return a.isNullish() && b.isNullish();
  if (a.isNumber() && b.isString()) return a.n == vm.toNumber(b);
  if (a.isString() && b.isNumber()) return vm.toNumber(a) == b.n;
  if (a.isBool()) return primitiveEquals(vm, Value(a.b ? 1.0 : 0.0), b);
  if (b.isBool()) return primitiveEquals(vm, a, Value(b.b ? 1.0 : 0.0));
  return false;
}

// An object's value for comparing: what its valueOf gives, or undefined when it has
// nothing to convert it by.
Value comparable(Vm& vm, const Value& v, bool valueOfOnly = false) {
  if (!v.isObject() || v.o->asClip()) return v;
  if (!vm.convertible(v.o)) return Value();
  // SWF 5's == asks valueOf alone: an object that has only a toString stays an object.
  if (valueOfOnly && vm.version() < 6) {
    Value fn = vm.get(v.o, vm.names().valueOf);
    if (!fn.object() || !fn.o->isFunction()) return v;
  }
  return vm.toPrimitive(v);
}

}  // namespace

// Two objects compare as references; SWF 5 asks both for valueOf first (the right one first).
// An object against anything else is asked for valueOf; if it stays an object it is unequal
// (in SWF 5 after being asked once more).
bool Vm::looseEquals(const Value& a, const Value& b) {
  if (!a.isObject() && !b.isObject()) return primitiveEquals(*this, a, b);
  // A movie clip counts as converted, and equals only itself.
  auto settled = [](const Value& v) { return !v.isObject() || v.o->asClip(); };
  if (version_ >= 6 && !settled(a) && !settled(b)) return a.o == b.o;
  Value pb = comparable(*this, b, true);
  Value pa = comparable(*this, a, true);
  if (!settled(pa) && !settled(pb)) return a.o == b.o;
  // SWF 5 asks again; later versions take the object as unequal at once.
  bool again = version_ < 6;
  if (!settled(pa) && (!again || !settled(pa = comparable(*this, a, true)))) return false;
  if (!settled(pb) && (!again || !settled(pb = comparable(*this, b, true)))) return false;
  if (pa.isObject() || pb.isObject())
    return pa.isObject() && pb.isObject() && sameObject(pa.o, pb.o);
  return primitiveEquals(*this, pa, pb);
}

// An object that stays one after valueOf makes the comparison false, without converting the
// other side if it is the left one.
Value Vm::less(const Value& a, const Value& b) {
  auto stuck = [](const Value& v) { return v.isObject() && !v.o->asClip(); };
  Value pa = comparable(*this, a);
  if (stuck(pa)) return Value(false);
  Value pb = comparable(*this, b);
  if (stuck(pb)) return Value(false);
  if (pa.isString() && pb.isString()) {
    // The original sorts the empty string after every other.
    const std::string &x = pa.s->text, &y = pb.s->text;
    if (x.empty() || y.empty()) return Value(!x.empty());
    return Value(x < y);
  }
  double x = toNumber(pa), y = toNumber(pb);
  if (std::isnan(x) || std::isnan(y)) return Value();
  return Value(x < y);
}

// ---- timers ----

int Vm::addTimer(const Value& fn, Object* self, String* method, std::vector<Value> args, double ms,
                 bool repeat) {
  if (!std::isfinite(ms) || ms < 0) ms = 0;
  int id = nextTimerId_++;
  timers_.push_back(Timer{id, fn, self, method, std::move(args), ms, nowMs_ + ms, repeat});
  return id;
}

void Vm::clearTimer(int id) {
  for (auto& t : timers_)
    if (t.id == id) t.id = -1;  // removed after the running pass
}

LoadQueue& Vm::loads() {
  if (!loads_) loads_ = std::make_unique<LoadQueue>();
  return *loads_;
}

void Vm::runLoads() {
  if (loads_) {
    loads_->runDue(*this);
    maybeCollect();
  }
}

void Vm::runTimers(double nowMs) {
  nowMs_ = nowMs;
  auto run = [&](size_t i) {
    if (timers_[i].id < 0) return;  // cleared by an earlier callback of this pass
    Timer t = timers_[i];
    if (t.repeat) {
      // An interval shorter than a frame runs once a frame, not many times over.
      timers_[i].due = std::max(t.due + std::max(t.interval, 1.0), nowMs);
    } else {
      timers_[i].id = -1;
    }
    try {
      blockStart = std::chrono::steady_clock::now();
      if (t.method)
        callMethod(t.self, t.method, t.args);
      else
        call(t.fn, nullptr, t.args);
    } catch (const ScriptThrow&) {
    } catch (const ScriptAbort&) {
    }
    stack.clear();
  };
  // The due timers run earliest first (a timer that clears one due later in the same pass
  // stops it); timers their callbacks add are looked at after them.
  std::vector<size_t> due;
  for (size_t seen = 0, end = timers_.size(); seen < end; seen = end, end = timers_.size()) {
    due.clear();
    for (size_t i = seen; i < end; ++i)
      if (timers_[i].id >= 0 && timers_[i].due <= nowMs) due.push_back(i);
    std::stable_sort(due.begin(), due.end(),
                     [&](size_t a, size_t b) { return timers_[a].due < timers_[b].due; });
    for (size_t i : due) run(i);
  }
  timers_.erase(
      std::remove_if(timers_.begin(), timers_.end(), [](const Timer& t) { return t.id < 0; }),
      timers_.end());
  maybeCollect();
}

}  // namespace swf::avm1
