// Calls, constructors, blocks, and the time and depth limits around them.

#include <cmath>
#include <utility>

#include "swf/avm1/array_object.h"
#include "swf/avm1/exec_frame.h"
#include "swf/avm1/nan_identity.h"
#include "swf/avm1/super_object.h"
#include "swf/avm1/vm.h"

namespace swf::avm1 {

void ExecFrame::trace(Tracer& t) const {
  if (pool)
    for (String* s : *pool) t.mark(s);
  for (const Value& v : regs) v.trace(t);
  for (Object* o : scope) t.mark(o);
  t.mark(self);
  t.mark(activation);
  t.mark(callee);
  t.mark(arguments);
  t.mark(superHolder);
  t.mark(target);
  result.trace(t);
}

void Vm::checkTime() {
  if (std::chrono::steady_clock::now() - blockStart <= timeLimit) return;
  if (onScriptTimeout) onScriptTimeout();
  throw ScriptAbort{"script time limit"};
}

ClipObject* Vm::currentClip() {
  for (auto it = frames.rbegin(); it != frames.rend(); ++it)
    if (Object* t = (*it)->timeline())
      if (ClipObject* c = t->asClip()) return c;
  return nullptr;
}

void Vm::runBlock(std::span<const uint8_t> code, std::shared_ptr<const void> keep, ClipObject* clip,
                  int swfVersion) {
  if (!clip || halted || frames.size() >= size_t(kMaxCallDepth)) return;
  ExecFrame f;
  f.code = code;
  f.keep = std::move(keep);
  f.pool = std::make_shared<ConstantPool>();
  f.regs.resize(4);
  f.scope.push_back(clip);
  f.self = clip;
  f.version = swfVersion;
  f.stackBase = stack.size();
  bool outermost = frames.empty();
  if (outermost) blockStart = std::chrono::steady_clock::now();
  try {
    execute(*this, f);
  } catch (const ScriptThrow&) {
    // An uncaught throw ends the block quietly.
  } catch (const ScriptAbort&) {
  }
  stack.resize(f.stackBase);
  if (outermost) {
    strayThrow = false;
    maybeCollect();
  }
}

void Vm::callHandler(Object* o, std::string_view name) {
  if (!o || !frames.empty()) return;
  Value fn = get(o, intern(name));
  if (!fn.object() || !fn.o->isFunction()) return;
  blockStart = std::chrono::steady_clock::now();
  try {
    call(fn, o, {});
  } catch (const ScriptThrow&) {
  } catch (const ScriptAbort&) {
  }
  stack.clear();
  maybeCollect();
}

Value Vm::call(const Value& fn, Object* self, std::span<const Value> args) {
  Object* o = fn.object();
  if (!o) return Value();
  if (auto* s = dynamic_cast<SuperObject*>(o)) {
    Value ctor = get(s->holder, names_->ctor2);
    // super() runs a native class's constructor on `this` as `new` would run it.
    if (auto* f = dynamic_cast<Function*>(ctor.object()))
      return callFunction(f, s->self, args, protoOf(s->holder), f->native != nullptr);
    return Value();
  }
  if (!o->isFunction()) return Value();
  // A method asked for through `super` (a conversion, a getter) runs on super's `this`.
  if (auto* s = dynamic_cast<SuperObject*>(self)) self = s->self;
  return callFunction(static_cast<Function*>(o), self, args, superOf(self), false);
}

Value Vm::callMethod(Object* self, String* name, std::span<const Value> args) {
  if (!self) return Value();
  Value fn = get(self, name);
  return call(fn, self, args);
}

bool SuperObject::getNative(Vm& vm, String* key, Value& out) {
  Object* above = holder ? vm.protoOf(holder) : nullptr;
  if (!above) {
    out = Value();
    return true;
  }
  vm.lookup(above, key, self, out);
  return true;
}

Object* Vm::superOf(Object* self) { return self ? protoOf(self) : nullptr; }

Value Vm::construct(const Value& fnv, std::span<const Value> args) {
  auto* f = dynamic_cast<Function*>(fnv.object());
  if (!f) return Value();
  Object* proto = get(f, names_->prototype).object();
  Object* o = f->allocate ? f->allocate(*this) : make<Object>();
  if (!f->allocate) o->plain = true;
  Pin pin(*this, Value(o));
  // A function without a prototype (a native) makes objects without one.
  if (proto) put(o, names_->proto, Value(proto), Hidden);
  put(o, names_->ctor2, Value(static_cast<Object*>(f)), DontEnum | Version6);
  if (version_ < 7) put(o, names_->constructor, Value(static_cast<Object*>(f)), DontEnum);
  Value r = callFunction(f, o, args, proto, true);
  // A native constructor may hand back an object of its own (a wrapper, a clip).
  if (f->native && r.isObject()) return r;
  return Value(o);
}

namespace {

constexpr const char* kTooDeep = "too deep a recursion";

struct DepthGuard {
  explicit DepthGuard(int& d) : d_(d) { ++d_; }
  ~DepthGuard() { --d_; }
  int& d_;
};

}  // namespace

Value Vm::callFunction(Function* f, Object* self, std::span<const Value> args, Object* holder,
                       bool constructing) {
  size_t sharedFloor = std::exchange(sharedStackFloor, kNoSharedStack);
  if (halted) return Value();  // nothing runs any more; callers outside scripts need no catch
  if (frames.size() + size_t(nativeDepth) >= size_t(kMaxCallDepth)) {
    halted = true;
    throw ScriptAbort{kTooDeep};
  }
  if (f->native) {
    DepthGuard g(nativeDepth);
    bool saved = isConstructing;
    isConstructing = constructing;
    try {
      Value r = f->native(*this, self, Args{args.data(), args.size()});
      isConstructing = saved;
      if (r.isNumber()) r.n = distinctNaN(r.n);  // a NaN a native made is a new one
      return r;
    } catch (const ScriptAbort& abort) {
      isConstructing = saved;
      // A recursion through natives (a toString calling String(this)) ends at the first
      // native: it gives undefined to the script that called it, which goes on.
      if (abort.why == kTooDeep && nativeDepth == 1) return Value();
      throw;
    } catch (...) {
      isConstructing = saved;
      throw;
    }
  }
  if (!f->body) return Value();
  const ScriptBody& b = *f->body;
  ExecFrame fr;
  fr.code = b.code;
  fr.keep = b.keep;
  fr.pool = f->pool;
  // DefineFunction2 has the registers it asks for, even fewer than four; asking for none gives
  // the usual four (compilers say none and still use register 0 for loops).
  int count = b.function2 && b.registerCount > 0 ? std::min(b.registerCount, 256) : 4;
  fr.regs.resize(size_t(count));
  fr.scope = f->scope;
  fr.self = self;
  fr.callee = f;
  fr.version = b.version;
  fr.constructing = constructing;
  fr.superHolder = holder;
  fr.stackBase = stack.size();
  fr.sharedFloor = sharedFloor;
  Object* act = make<Object>();
  act->plain = true;
  fr.activation = act;
  fr.scope.push_back(act);
  // The arguments array: made now so that closures and `arguments` see the same one.
  bool wantArguments =
      !b.function2 || (b.flags & (PreloadArguments | SuppressArguments)) != SuppressArguments;
  if (wantArguments) {
    ArrayObject* a = newArray();
    a->items.assign(args.begin(), args.end());
    put(a, names_->callee, Value(static_cast<Object*>(f)), Hidden);
    Object* caller = frames.empty() ? nullptr : frames.back()->callee;
    put(a, names_->caller, caller ? Value(caller) : Value::null(), Hidden);
    fr.arguments = a;
  }
  if (b.function2) {
    size_t r = 1;
    auto preload = [&](uint16_t flag, auto make) {
      if ((b.flags & flag) && r < fr.regs.size()) fr.regs[r++] = make();
    };
    // Suppressing `this` (or super) empties its register even when it is asked for; the
    // arguments array is preloaded all the same.
    preload(PreloadThis, [&] { return self && !(b.flags & SuppressThis) ? Value(self) : Value(); });
    preload(PreloadArguments, [&] { return fr.arguments ? Value(fr.arguments) : Value(); });
    preload(PreloadSuper, [&] {
      if (!fr.superHolder || (b.flags & SuppressSuper)) return Value();
      return Value(
          static_cast<Object*>(make<SuperObject>(fr.superHolder, self ? self : fr.superHolder)));
    });
    preload(PreloadRoot, [&] {
      ClipObject* c = fr.scope[0] ? fr.scope[0]->asClip() : nullptr;
      DisplayNode* n = c ? c->node() : nullptr;
      return n ? Value(static_cast<Object*>(clipFor(n->rootNode()))) : Value();
    });
    preload(PreloadParent, [&] {
      ClipObject* c = fr.scope[0] ? fr.scope[0]->asClip() : nullptr;
      DisplayNode* n = c ? c->node() : nullptr;
      return n && n->parentNode() ? Value(static_cast<Object*>(clipFor(n->parentNode()))) : Value();
    });
    preload(PreloadGlobal, [&] { return Value(global); });
    // Parameters kept in the activation may be called `arguments` and hide the array.
    if (fr.arguments && !(b.flags & (PreloadArguments | SuppressArguments)))
      put(act, names_->arguments, Value(fr.arguments));
    for (size_t i = 0; i < b.params.size(); ++i) {
      Value v = i < args.size() ? args[i] : Value();
      uint8_t reg = i < b.paramRegisters.size() ? b.paramRegisters[i] : 0;
      if (reg && reg < fr.regs.size())
        fr.regs[reg] = v;
      else
        put(act, b.params[i], v);
    }
  } else {
    if (fr.arguments) put(act, names_->arguments, Value(fr.arguments));
    for (size_t i = 0; i < b.params.size(); ++i)
      put(act, b.params[i], i < args.size() ? args[i] : Value());
  }
  Value r = execute(*this, fr);
  if (!fr.sharesCallerStack()) stack.resize(fr.stackBase);
  return r;
}

}  // namespace swf::avm1
