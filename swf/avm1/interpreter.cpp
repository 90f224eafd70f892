// The action loop: decodes each action of a frame's code and does what it says. Nothing in the
// bytes is trusted; a length, jump or register that does not fit ends the block (a constant
// index past the pool reads undefined).

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>

#include "swf/avm1/action_codes.h"
#include "swf/avm1/add_values.h"
#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/exec_frame.h"
#include "swf/avm1/nan_identity.h"
#include "swf/avm1/string_ops.h"
#include "swf/avm1/super_object.h"
#include "swf/avm1/variable_fast_path.h"
#include "swf/avm1/vm.h"
#include "swf/io/bit_reader.h"

namespace swf::avm1 {
namespace {

constexpr int kMaxWithDepth = 64;

struct FramePush {
  FramePush(Vm& vm, ExecFrame& f) : vm_(vm), saved_(vm.version()) {
    vm.frames.push_back(&f);
    vm.setVersion(f.version);
  }
  ~FramePush() {
    vm_.frames.pop_back();
    vm_.setVersion(saved_);
  }
  Vm& vm_;
  int saved_;
};

[[noreturn]] void bad(const char* why) { throw ScriptAbort{why}; }

class Interpreter {
 public:
  Interpreter(Vm& vm, ExecFrame& f)
      : vm(vm), f(f), code(f.code), n(vm.names()), floor_(vm.stack.at(f.stackFloor())) {}

  enum Exit { Fell, Returned, Left };
  Exit run(size_t start, size_t end, size_t& out) { return runFrom(start, start, end, out); }
  Exit runFrom(size_t pc, size_t start, size_t end, size_t& out);

 private:
  Value pop() {
    if (vm.stack.top() <= floor_) return Value();
    Value v = vm.stack.back();
    vm.stack.pop_back();
    return v;
  }
  size_t available() const { return size_t(vm.stack.top() - floor_); }
  Value& top() {
    if (vm.stack.top() <= floor_) push(Value());
    return vm.stack.back();
  }
  String* nameOf(const Value& v) { return v.isString() ? v.s : vm.toStr(v); }
  void push(const Value& v) {
    if (vm.stack.full()) bad("stack overflow");
    vm.stack.push_back(v);
  }
  void pushBool(bool b) {
    if (f.version < 5)
      push(Value(b ? 1.0 : 0.0));
    else
      push(Value(b));
  }
  std::vector<Value> popArgs() {
    double count = vm.toNumber(pop());
    size_t avail = available();
    size_t k = count > 0 && std::isfinite(count) ? std::min<size_t>(size_t(count), avail) : 0;
    std::vector<Value> args(k);
    for (size_t i = 0; i < k; ++i) args[i] = pop();
    return args;
  }
  DisplayNode* targetNode() {
    if (targetLost_) return nullptr;
    Object* t = f.timeline();
    ClipObject* c = t ? t->asClip() : nullptr;
    return c ? c->node() : nullptr;
  }
  ClipObject* timelineClip() {
    Object* t = f.scope.empty() ? nullptr : f.scope[0];
    return t ? t->asClip() : nullptr;
  }
  DisplayNode* nodeOf(const Value& v) {
    if (ClipObject* c = v.object() ? v.o->asClip() : nullptr) return c->node();
    std::string path = vm.toString(v);
    if (path.empty()) return targetNode();
    return vm.resolveTarget(f.target ? f.target : timelineClip(), path);
  }
  // An index past the pool (or with no pool) pushes undefined and the push goes on.
  Value constant(size_t i) {
    if (!f.pool || i >= f.pool->size()) return Value();
    return Value((*f.pool)[i]);
  }
  // A register past the function's count reads as undefined and keeps nothing stored in it.
  Value& reg(size_t i) {
    if (i >= f.regs.size()) return spareRegister = Value();
    return f.regs[i];
  }
  Value spareRegister;

  void doPush(const uint8_t* p, const uint8_t* e);
  // Gives `o` the prototype _global[className] has now, when a script replaced the built-in
  // one (a number put there is taken as it is).
  void takeCurrentPrototype(Object* o, const char* className, Object* builtIn, uint16_t flags) {
    // The class is read whatever its version mask (SWF 5 code cannot see Function).
    Property* cls = vm.global->props.find(vm.key(vm.intern(className)));
    Value proto = cls ? vm.get(cls->value, n.prototype) : Value();
    if (!proto.isObject() || proto.o != builtIn) vm.put(o, n.proto, proto, flags);
  }
  // Moves `next` by a jump's offset; true when that leaves the range being run.
  bool jump(int offset, size_t start, size_t end, size_t& next) {
    long target = long(next) + offset;
    if (target < 0 || size_t(target) > code.size()) bad("jump target");
    if (offset < 0) {
      // Every endless script goes backwards (or calls, see execute), so the clock is read
      // there and straight-line actions pay nothing for it.
      if ((++vm.steps & 0xff) == 0) vm.checkTime();
      if (vm.frames.size() == 1 && !f.callee && vm.nativeDepth == 0)
        vm.maybeCollect();  // a safe point: nothing is held outside the frame
    }
    next = size_t(target);
    return next < start || next >= end;
  }
  void binaryNumber(int op);
  void gotoFrame2(BitReader& r);
  size_t skipActions(size_t pc, size_t end, int count);
  Value callValue(const Value& fn, Object* self, std::vector<Value>& args, Object* holder);
  void callMethod();
  void newMethod();
  void defineFunction(BitReader& r, size_t bodyStart, size_t& next, bool v2);
  Exit doWith(size_t start, size_t end, size_t outerEnd, size_t& out);
  Exit doTry(BitReader& r, size_t next, size_t& out);
  void enumerate(const Value& v);
  void setTarget(const Value& v);

  Vm& vm;
  ExecFrame& f;
  std::span<const uint8_t> code;
  const Vm::Names& n;
  Value* floor_;  // this frame's bottom of the operand stack
  bool targetLost_ = false;
  int withDepth_ = 0;
  bool jumpedOut_ = false;  // the last range run was left by a jump, not by running off its end
  fast::Timeline timeline_;
};

void Interpreter::doPush(const uint8_t* p, const uint8_t* e) {
  auto need = [&](size_t n) {
    if (size_t(e - p) < n) bad("push length");
  };
  while (p < e) {
    int type = *p++;
    switch (type) {
      case 0: {
        const uint8_t* z = static_cast<const uint8_t*>(std::memchr(p, 0, size_t(e - p)));
        if (!z) bad("push length");
        std::string_view bytes(reinterpret_cast<const char*>(p), size_t(z - p));
        push(Value(hasHighBytes(bytes)
                       ? vm.intern(f.version < 6 ? latin1ToUtf8(bytes) : sanitizeUtf8(bytes))
                       : vm.intern(bytes)));
        p = z + 1;
        break;
      }
      case 1: {
        need(4);
        uint32_t bits =
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        p += 4;
        float fl;
        std::memcpy(&fl, &bits, sizeof fl);
        push(Value(distinctNaN(double(fl))));
        break;
      }
      case 2:
        push(Value::null());
        break;
      case 3:
        push(Value());
        break;
      case 4:
        need(1);
        push(reg(*p++));
        break;
      case 5:
        need(1);
        push(Value(*p++ != 0));
        break;
      case 6: {
        // Doubles are stored as two little-endian words, high word first.
        need(8);
        uint64_t hi =
            uint64_t(p[0]) | uint64_t(p[1]) << 8 | uint64_t(p[2]) << 16 | uint64_t(p[3]) << 24;
        uint64_t lo =
            uint64_t(p[4]) | uint64_t(p[5]) << 8 | uint64_t(p[6]) << 16 | uint64_t(p[7]) << 24;
        p += 8;
        uint64_t bits = (hi << 32) | lo;
        double d;
        std::memcpy(&d, &bits, sizeof d);
        push(Value(distinctNaN(d)));
        break;
      }
      case 7: {
        need(4);
        uint32_t bits =
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        p += 4;
        push(Value(double(int32_t(bits))));
        break;
      }
      case 8:
        need(1);
        push(constant(*p++));
        break;
      case 9:
        need(2);
        push(constant(size_t(p[0] | p[1] << 8)));
        p += 2;
        break;
      default:
        // A type this machine does not know pushes undefined and ends the record.
        push(Value());
        return;
    }
  }
}

void Interpreter::binaryNumber(int code) {
  Value bv = pop(), av = pop();
  double b = vm.toNumber(bv), a = vm.toNumber(av);
  switch (code) {
    case op::Add:
      push(Value(distinctNaN(a + b)));
      break;
    case op::Subtract:
      push(Value(distinctNaN(a - b)));
      break;
    case op::Multiply:
      push(Value(distinctNaN(a * b)));
      break;
    case op::Divide:
      if (b == 0 && f.version < 5)
        push(Value(vm.intern("#ERROR#")));
      else if (b == 0)  // the sign of a zero divisor is not looked at
        push(Value(std::isnan(a) || a == 0 ? freshNaN() : a > 0 ? INFINITY : -INFINITY));
      else
        push(Value(distinctNaN(a / b)));
      break;
    case op::Modulo:
      push(Value(distinctNaN(std::fmod(a, b))));
      break;
  }
}

size_t Interpreter::skipActions(size_t pc, size_t end, int count) {
  for (int i = 0; i < count && pc < end; ++i) {
    uint8_t c = code[pc];
    if (c >= 0x80) {
      if (pc + 3 > end) return end;
      pc += 3 + size_t(code[pc + 1] | (code[pc + 2] << 8));
    } else {
      pc += 1;
    }
  }
  return std::min(pc, end);
}

void Interpreter::gotoFrame2(BitReader& r) {
  int flags = r.u8();
  int bias = (flags & 2) ? r.u16() : 0;
  bool play = flags & 1;
  Value frame = pop();
  DisplayNode* t = targetNode();
  if (frame.isString()) {
    std::string s = frame.s->text;
    // "target:frame" or "target:label"
    size_t colon = s.rfind(':');
    if (colon != std::string::npos) {
      t = vm.resolveTarget(f.target ? f.target : timelineClip(), s.substr(0, colon));
      s = s.substr(colon + 1);
    }
    if (!t) return;
    double num = stringToNumber(s, 7);
    if (std::isfinite(num) && !s.empty()) {
      if (num >= 1) t->gotoFrame(int(num) - 1 + bias, play);
    } else {
      t->gotoLabel(s, play);
    }
    return;
  }
  if (!t) return;
  double num = vm.toNumber(frame);
  if (!std::isfinite(num)) return;
  int target = int(std::clamp(num, -1e9, 1e9)) - 1 + bias;
  if (target >= 0) t->gotoFrame(target, play);
}

Value Interpreter::callValue(const Value& fn, Object* self, std::vector<Value>& args,
                             Object* holder) {
  Object* o = fn.object();
  if (!o) return Value();
  if (!o->isFunction()) return vm.call(fn, self, args);  // super() and non-functions
  auto* callee = static_cast<Function*>(o);
  if (!callee->native) vm.sharedStackFloor = f.stackFloor();
  return vm.callFunction(callee, self, args, holder, false);
}

void Interpreter::callMethod() {
  Value name = pop();
  Value target = pop();
  std::vector<Value> args = popArgs();
  Vm::Pin p1(vm, target);
  // No name (undefined, or one that is empty as text, whatever it was) calls the target itself.
  String* method = name.isUndefined() ? nullptr : vm.toStr(name);
  if (!method || method->text.empty()) {
    // It runs without a `this`; its super is what is above the function itself.
    Object* o = target.object();
    if (o && o->isFunction() && !dynamic_cast<SuperObject*>(o))
      push(vm.callFunction(static_cast<Function*>(o), nullptr, args, o, false));
    else
      push(vm.call(target, nullptr, args));
    return;
  }
  Vm::Pin p2(vm, Value(method));
  Object* self = nullptr;
  Object* start = nullptr;
  auto* viaSuper = dynamic_cast<SuperObject*>(target.object());
  if (auto* s = viaSuper) {
    self = s->self;
    start = vm.protoOf(s->holder);
  } else {
    self = vm.toObject(target);
    start = self;
  }
  if (!self || !start) {
    push(Value());
    return;
  }
  Vm::Pin p3(vm, Value(self));
  // Find the object in the chain that holds the method. Its own super, as the original has it:
  // called on an object, above `self`'s prototype (from SWF 7, above the prototype the method
  // was found on, unless `self` holds it); called through `super`, above where the search began
  // (from SWF 7, one further up when the method was found higher than that).
  Object* holder = nullptr;
  Value fn;
  int depth = 0;
  for (Object* o = start; o && depth < 256; o = vm.protoOf(o), ++depth) {
    if (vm.hasOwn(o, method) || (o == start && o->asClip())) {
      if (vm.lookup(o, method, self, fn)) {
        holder = o;
        break;
      }
    }
  }
  if (!holder) vm.resolveMissing(self, method, fn);  // __resolve stands in for missing methods
  bool v7 = vm.version() >= 7;
  Object* superHolder = viaSuper ? (v7 && holder && holder != start ? vm.protoOf(start) : start)
                        : v7 && holder && holder != self ? holder
                                                         : vm.superOf(self);
  push(callValue(fn, self, args, superHolder));
}

void Interpreter::newMethod() {
  Value name = pop();
  Value target = pop();
  std::vector<Value> args = popArgs();
  Vm::Pin p1(vm, target);
  Value ctor;
  // The name is converted first: anything that reads as "" (an object whose toString says so
  // too) constructs the target itself.
  String* method = name.isUndefined() ? nullptr : vm.toStr(name);
  if (!method || method->text.empty())
    ctor = target;
  else
    ctor = vm.get(target, method);
  push(vm.construct(ctor, args));
}

void Interpreter::defineFunction(BitReader& r, size_t bodyStart, size_t& next, bool v2) {
  auto body = std::make_shared<ScriptBody>();
  std::string name = r.cstring();
  unsigned count = r.u16();
  if (v2) {
    body->function2 = true;
    body->registerCount = r.u8();
    body->flags = r.u16();
  }
  for (unsigned i = 0; i < count; ++i) {
    if (v2) body->paramRegisters.push_back(r.u8());
    body->params.push_back(vm.intern(r.cstring()));
  }
  size_t size = r.u16();
  if (bodyStart + r.pos() != next || next + size > code.size()) bad("function length");
  body->keep = f.keep;
  body->code = code.subspan(next, size);
  body->version = f.version;
  next += size;
  Function* fn = vm.make<Function>();
  fn->body = std::move(body);
  fn->pool = f.pool;
  fn->scope = f.scope;
  // SWF 5 functions close over nothing but their timeline: not the activations of the
  // functions around them, nor `with` objects.
  // A function defined under SetTarget still belongs to the timeline, not the target.
  if (f.version < 6 && fn->scope.size() > 1) fn->scope.resize(1);
  fn->name = name.empty() ? nullptr : vm.intern(name);
  vm.linkFunction(fn);
  Object* proto = vm.newObject();
  // What a script makes takes the prototypes _global.Function and _global.Object have now.
  takeCurrentPrototype(fn, "Function", vm.functionProto, Hidden | Version6);
  takeCurrentPrototype(proto, "Object", vm.objectProto, Hidden);
  vm.put(proto, n.constructor, Value(static_cast<Object*>(fn)), Hidden);
  vm.put(fn, n.prototype, Value(proto), Hidden);
  if (name.empty()) {
    push(Value(static_cast<Object*>(fn)));
  } else if (f.activation) {
    vm.put(f.activation, fn->name, Value(static_cast<Object*>(fn)));
  } else {
    vm.setVariable(f, fn->name, Value(static_cast<Object*>(fn)));
  }
}

Interpreter::Exit Interpreter::doWith(size_t start, size_t end, size_t outerEnd, size_t& out) {
  Value v = pop();
  Object* o = vm.toObject(v);
  if (!o) {
    out = end;
    return Left;  // nothing to look in: the body is skipped
  }
  if (++withDepth_ > kMaxWithDepth) bad("with nesting");
  f.scope.push_back(o);
  size_t depth = f.scope.size();
  Exit e;
  try {
    e = run(start, end, out);
    // A jump to the very end of the body keeps the object in scope for the action there: when
    // that action jumps back into the body, the body goes on inside the same `with`.
    while (e == Fell && jumpedOut_ && end < outerEnd && code[end] != op::End) {
      size_t len = code[end] >= 0x80 && end + 3 <= code.size()
                       ? 3 + size_t(code[end + 1] | code[end + 2] << 8)
                       : 1;
      size_t after;
      Exit a = runFrom(end, end, std::min(end + len, outerEnd), after);
      if (a == Returned || after < start || after >= end) {
        f.scope.resize(depth - 1);
        --withDepth_;
        out = after;
        return a == Returned ? Returned : Left;
      }
      e = runFrom(after, start, end, out);
    }
  } catch (...) {
    f.scope.resize(depth - 1);
    --withDepth_;
    throw;
  }
  f.scope.resize(depth - 1);
  --withDepth_;
  if (e == Fell) {
    out = end;
    return Left;
  }
  return e;
}

Interpreter::Exit Interpreter::doTry(BitReader& r, size_t next, size_t& out) {
  int flags = r.u8();
  size_t trySize = r.u16(), catchSize = r.u16(), finallySize = r.u16();
  bool catchInRegister = flags & 4;
  String* catchName = nullptr;
  int catchReg = 0;
  if (catchInRegister)
    catchReg = r.u8();
  else
    catchName = vm.intern(r.cstring());
  bool hasCatch = flags & 1, hasFinally = flags & 2;
  size_t tryStart = next, catchStart = tryStart + trySize,
         end = catchStart + catchSize + finallySize;
  if (end > code.size()) bad("try length");
  // Without the catch flag the finally block is looked for right after the try block, whatever
  // the catch size says, as the original does.
  size_t finallyStart = catchStart + (hasCatch ? catchSize : 0);
  size_t finallyEnd = finallyStart + finallySize;
  size_t height = vm.stack.size();
  Exit e = Fell;
  size_t where = catchStart;
  bool pending = false;
  Value thrown;
  try {
    e = run(tryStart, catchStart, where);
    if (vm.strayThrow && e != Returned) {
      // A call in the block returned from a finally block while an exception was on its way
      // out: the exception surfaces here, at the end of the block, without its value.
      vm.strayThrow = false;
      pending = true;
    }
  } catch (const ScriptThrow& t) {
    pending = true;
    thrown = t.value;
  }
  // The catch block runs for an exception, and also when the try block simply ends: the
  // original goes on into the code that follows it (compilers put a jump over it there).
  bool intoCatch = hasCatch && (pending || e == Fell);
  if (pending && hasCatch) {
    pending = false;
    vm.stack.resize(std::max(height, f.stackBase));
    if (catchInRegister)
      reg(size_t(catchReg)) = thrown;
    else if (f.activation)
      vm.put(f.activation, catchName, thrown);
    else
      vm.setVariable(f, catchName, thrown);
  }
  if (intoCatch) {
    try {
      where = catchStart + catchSize;
      e = run(catchStart, catchStart + catchSize, where);
    } catch (const ScriptThrow& t) {
      if (!hasFinally) throw;
      pending = true;
      thrown = t.value;
    }
  }
  // A jump out of the try or catch block leaves it there: the finally block does not run.
  bool jumpedOut = !pending && e == Left && where != catchStart && where != catchStart + catchSize;
  if (hasFinally && !jumpedOut) {
    Value saved = f.result;
    size_t w2 = finallyEnd;
    Exit fe = run(finallyStart, finallyEnd, w2);
    if (fe == Returned) {
      // A return in finally wins; an exception on its way out is not forgotten, though.
      // (One a catch block threw again is dropped.)
      if (pending && !hasCatch && f.callee) vm.strayThrow = true;
      return Returned;
    }
    if (fe == Left) {
      out = w2;
      return Left;
    }
    f.result = saved;
  }
  if (pending) throw ScriptThrow{thrown};
  if (e == Returned) return Returned;
  if (jumpedOut) {
    out = where;
    return Left;
  }
  out = end;
  return Left;
}

void Interpreter::enumerate(const Value& v) {
  push(Value::null());
  Object* o = v.object();
  if (!o) return;
  std::vector<String*> names = vm.enumerate(o);
  for (auto it = names.rbegin(); it != names.rend(); ++it) push(Value(*it));
}

void Interpreter::setTarget(const Value& v) {
  if (v.isString() && v.s->text.empty()) {
    f.target = nullptr;
    targetLost_ = false;
    return;
  }
  // A clip counts by its path, so of two clips of one name the first is the target.
  DisplayNode* node = vm.resolveTarget(timelineClip(), vm.toString(v));
  targetLost_ = node == nullptr;
  f.target = node ? vm.clipFor(node) : nullptr;
}

Interpreter::Exit Interpreter::runFrom(size_t pc, size_t start, size_t end, size_t& out) {
  while (pc < end) {
    int c = code[pc];
    if (c == op::End) {
      out = end;
      return Returned;
    }
    size_t bodyStart = pc + 1, len = 0;
    if (c >= 0x80) {
      if (pc + 3 > code.size()) bad("action header");
      len = size_t(code[pc + 1] | (code[pc + 2] << 8));
      bodyStart = pc + 3;
    }
    size_t next = bodyStart + len;
    if (next > code.size()) bad("action length");
    BitReader r(code.subspan(bodyStart, len));
    switch (c) {
      // ---- timeline ----
      case op::NextFrame:
        if (auto* t = targetNode()) t->gotoFrame(t->currentFrame() + 1, false);
        break;
      case op::PreviousFrame:
        if (auto* t = targetNode()) t->gotoFrame(std::max(t->currentFrame() - 1, 0), false);
        break;
      case op::Play:
        if (auto* t = targetNode()) t->play();
        break;
      case op::Stop:
        if (auto* t = targetNode()) t->stop();
        break;
      case op::ToggleQuality:
        vm.host().toggleQuality();
        break;
      case op::StopSounds:
        vm.host().stopSounds();
        break;
      case op::GotoFrame:
        if (auto* t = targetNode()) t->gotoFrame(r.u16(), false);
        break;
      case op::GotoLabel:
        if (auto* t = targetNode()) t->gotoLabel(r.cstring(), false);
        break;
      case op::GetURL: {
        std::string url = r.cstring();
        std::string target = r.cstring();
        vm.host().getURL(url, target, 0);
        break;
      }
      case op::WaitForFrame: {
        int frame = r.u16();
        int skip = r.u8();
        DisplayNode* t = targetNode();
        // A frame past the end waits for the last one.
        if (!t || std::min(frame, t->totalFrames() - 1) >= t->framesLoaded())
          next = skipActions(next, end, skip);
        break;
      }
      case op::WaitForFrame2: {
        int skip = r.u8();
        Value fr = pop();
        DisplayNode* t = targetNode();
        double num = vm.toNumber(fr);
        if (!t || !(std::min(num - 1, t->totalFrames() - 1.0) < t->framesLoaded()))
          next = skipActions(next, end, skip);
        break;
      }
      case op::SetTarget: {
        std::string path = r.cstring();
        setTarget(Value(vm.intern(path)));
        break;
      }
      case op::SetTarget2:
        setTarget(pop());
        break;
      case op::GotoFrame2:
        gotoFrame2(r);
        break;
      case op::GetURL2: {
        int method = r.u8();
        Value target = pop(), url = pop();
        vm.host().getURL(vm.toString(url), vm.toString(target), method);
        break;
      }
      case op::Call: {
        Value fr = pop();
        DisplayNode* t = targetNode();
        if (!t) break;
        int frame = -1;
        std::string s = vm.toString(fr);
        size_t colon = s.rfind(':');
        if (colon != std::string::npos) {
          t = vm.resolveTarget(timelineClip(), s.substr(0, colon));
          s = s.substr(colon + 1);
          if (!t) break;
        }
        double num = stringToNumber(s, 7);
        frame = std::isfinite(num) ? int(std::clamp(num, -1.0, 1e9)) - 1 : t->findLabel(s);
        if (frame < 0 || frame >= t->totalFrames()) break;
        ClipObject* clip = vm.clipFor(t);
        for (auto block : t->frameCode(frame)) vm.runBlock(block, t->codeOwner(), clip, f.version);
        break;
      }
      case op::CloneSprite: {
        Value depth = pop(), name = pop(), source = pop();
        // The action numbers depths from the timeline's first; a depth that is no number
        // places nothing.
        double d = vm.toNumber(depth);
        int scriptDepth = std::isfinite(d) && std::fabs(d) < 2e9 ? int(d) - 16384 : INT_MIN;
        if (DisplayNode* s = nodeOf(source)) s->duplicateNode(vm.toString(name), scriptDepth);
        break;
      }
      case op::RemoveSprite:
        if (DisplayNode* s = nodeOf(pop())) s->removeNode();
        break;
      case op::StartDrag: {
        Value target = pop();
        bool lock = vm.toBoolean(pop());
        double r[4];
        bool bounded = vm.toBoolean(pop());
        if (bounded)  // pushed left, top, right, bottom: popped bottom first
          for (int i = 3; i >= 0; --i) r[i] = vm.toNumber(pop());
        if (DisplayNode* n = nodeOf(target)) n->startDrag(lock, bounded ? r : nullptr);
        break;
      }
      case op::EndDrag:
        if (DisplayNode* n = targetNode()) n->stopDrag();
        break;
      case op::GetProperty: {
        Value index = pop(), target = pop();
        DisplayNode* t = nodeOf(target);
        double i = vm.toNumber(index);
        if (t && i >= 0 && i < double(PropCount))
          push(t->getProperty(vm, int(i)));
        else
          push(Value());
        break;
      }
      case op::SetProperty: {
        Value v = pop(), index = pop(), target = pop();
        DisplayNode* t = nodeOf(target);
        double i = vm.toNumber(index);
        if (t && i >= 0 && i < double(PropCount)) t->setProperty(vm, int(i), v);
        break;
      }

      // ---- stack and arithmetic ----
      case op::Push:
        doPush(code.data() + bodyStart, code.data() + next);
        // The common "push name; getVariable" pair is done in one step.
        if (next < end && code[next] == op::GetVariable) {
          Value& t = top();
          String* name = nameOf(t);
          Value v;
          t = fast::getVariable(vm, f, timeline_, name, v) ? v : vm.getVariable(f, name);
          ++next;
        }
        break;
      case op::Pop:
        pop();
        break;
      case op::PushDuplicate: {
        Value v = top();
        push(v);
        break;
      }
      case op::StackSwap: {
        Value b = pop(), a = pop();
        push(b);
        push(a);
        break;
      }
      case op::Add:
      case op::Subtract:
      case op::Multiply:
      case op::Divide:
      case op::Modulo:
        binaryNumber(c);
        break;
      case op::Add2: {
        Value b = pop();
        if (Value& t = top(); t.isNumber() && b.isNumber()) {
          t.n = distinctNaN(t.n + b.n);
          break;
        }
        Value a = pop();
        push(addValues(vm, a, b));
        break;
      }
      case op::Increment: {
        Value& t = top();
        t = Value(distinctNaN((t.isNumber() ? t.n : vm.toNumber(t)) + 1));
        break;
      }
      case op::Decrement: {
        Value& t = top();
        t = Value(distinctNaN((t.isNumber() ? t.n : vm.toNumber(t)) - 1));
        break;
      }
      case op::Equals: {
        double b = vm.toNumber(pop()), a = vm.toNumber(pop());
        pushBool(a == b);
        break;
      }
      case op::Less: {
        Value vb = pop();
        double a = vm.toNumber(pop());  // the left side converts first
        double b = vm.toNumber(vb);
        pushBool(a < b);
        break;
      }
      case op::And: {
        bool b = vm.toBoolean(pop()), a = vm.toBoolean(pop());
        pushBool(a && b);
        break;
      }
      case op::Or: {
        bool b = vm.toBoolean(pop()), a = vm.toBoolean(pop());
        pushBool(a || b);
        break;
      }
      case op::Not: {
        Value v = pop();
        bool b = !(v.isBool() ? v.b : vm.toBoolean(v));
        // "not; if" (every loop's test) branches at once.
        if (next + 5 <= end && code[next] == op::If && code[next + 1] == 2 && code[next + 2] == 0) {
          int offset = int16_t(code[next + 3] | code[next + 4] << 8);
          next += 5;
          if (b && jump(offset, start, end, next)) {
            out = next;
            jumpedOut_ = true;
            return next == end ? Fell : Left;
          }
          break;
        }
        pushBool(b);
        break;
      }
      case op::Equals2: {
        Value b = pop(), a = pop();
        push(Value(vm.looseEquals(a, b)));
        break;
      }
      case op::StrictEquals: {
        Value b = pop(), a = pop();
        push(Value(vm.strictEquals(a, b)));
        break;
      }
      case op::Less2: {
        Value b = pop(), a = pop();
        if (a.isNumber() && b.isNumber() && !std::isnan(a.n) && !std::isnan(b.n))
          push(Value(a.n < b.n));
        else
          push(vm.less(a, b));
        break;
      }
      case op::Greater: {
        Value b = pop(), a = pop();
        push(vm.less(b, a));
        break;
      }
      case op::ToInteger: {
        // The original wraps to a 32-bit integer, as the bit operations do.
        push(Value(double(vm.toInt32(pop()))));
        break;
      }
      case op::ToNumber:
        top() = Value(vm.toNumber(top()));
        break;
      case op::ToString:
        top() = Value(vm.toStr(top()));
        break;
      case op::BitAnd:
      case op::BitOr:
      case op::BitXor:
      case op::BitLShift:
      case op::BitRShift:
      case op::BitURShift: {
        int32_t b = vm.toInt32(pop()), a = vm.toInt32(pop());
        double res = 0;
        switch (c) {
          case op::BitAnd:
            res = a & b;
            break;
          case op::BitOr:
            res = a | b;
            break;
          case op::BitXor:
            res = a ^ b;
            break;
          case op::BitLShift:
            res = int32_t(uint32_t(a) << (b & 31));
            break;
          case op::BitRShift:
            res = a >> (b & 31);
            break;
          default:
            // Read back as a signed integer: "-1 >>> 0" is -1 in the original.
            res = int32_t(uint32_t(a) >> (b & 31));
            break;
        }
        push(Value(res));
        break;
      }
      case op::RandomNumber: {
        double max = vm.toNumber(pop());
        static std::mt19937 rng(std::random_device{}());
        int m = std::isfinite(max) && max >= 1 ? int(std::min(max, 2147483647.0)) : 1;
        push(Value(double(std::uniform_int_distribution<int>(0, m - 1)(rng))));
        break;
      }
      case op::GetTime:
        push(Value(std::floor(vm.host().timerMs())));
        break;

      // ---- strings ----
      case op::StringEquals: {
        std::string b = vm.toString(pop()), a = vm.toString(pop());
        pushBool(a == b);
        break;
      }
      case op::StringLess: {
        std::string b = vm.toString(pop()), a = vm.toString(pop());
        pushBool(a < b);
        break;
      }
      case op::StringGreater: {
        std::string b = vm.toString(pop()), a = vm.toString(pop());
        pushBool(a > b);
        break;
      }
      case op::StringAdd: {
        Value vb = pop(), va = pop();
        String* a = vm.toStr(va);
        push(Value(a));
        top() = Value(vm.concat(a, vb));
        break;
      }
      case op::StringLength:
      case op::MBStringLength: {
        std::string s = vm.toString(pop());
        push(Value(double(utf8Length(s))));
        break;
      }
      case op::StringExtract:
      case op::MBStringExtract: {
        double count = vm.toNumber(pop()), index = vm.toNumber(pop());
        std::string s = vm.toString(pop());
        push(Value(vm.str(extractString(s, index, count))));
        break;
      }
      case op::CharToAscii:
      case op::MBCharToAscii: {
        std::string s = vm.toString(pop());
        push(Value(s.empty() ? 0.0 : double(utf8CodeAt(s, 0))));
        break;
      }
      case op::AsciiToChar:
      case op::MBAsciiToChar: {
        double code2 = vm.toNumber(pop());
        uint32_t cp = std::isfinite(code2) ? uint32_t(int64_t(code2) & 0xffff) : 0;
        if (c == op::AsciiToChar && f.version < 6) cp &= 0xff;
        if (c == op::MBAsciiToChar && f.version < 6 && std::isfinite(code2) && code2 >= 256) {
          // SWF 5 text is bytes: a code past one byte is its two low bytes, up to a zero one.
          auto hi = uint32_t(int64_t(code2) >> 8) & 0xff, lo = uint32_t(int64_t(code2)) & 0xff;
          std::string two = hi ? utf8Encode(hi) + (lo ? utf8Encode(lo) : std::string()) : "";
          push(Value(vm.str(two)));
          break;
        }
        push(Value(vm.str(cp ? utf8Encode(cp) : std::string())));
        break;
      }
      case op::Trace: {
        Value v = pop();
        vm.host().trace(v.isUndefined() ? std::string("undefined") : vm.toString(v));
        break;
      }

      // ---- variables ----
      case op::GetVariable: {
        Value& t = top();
        String* name = nameOf(t);
        Value v;
        t = fast::getVariable(vm, f, timeline_, name, v) ? v : vm.getVariable(f, name);
        break;
      }
      case op::SetVariable: {
        Value v = pop(), name = pop();
        String* s = nameOf(name);
        if (!fast::setVariable(vm, f, timeline_, s, v)) vm.setVariable(f, s, v);
        break;
      }
      case op::DefineLocal: {
        Value v = pop(), name = pop();
        String* s = vm.toStr(name);
        if (f.activation)
          vm.put(f.activation, s, v);
        else
          vm.setVariable(f, s, v);
        break;
      }
      case op::DefineLocal2: {
        String* s = vm.toStr(pop());
        Object* where = f.activation ? f.activation : f.timeline();
        if (where && !vm.hasOwn(where, s)) vm.put(where, s, Value());
        break;
      }
      case op::Delete: {
        Value name = pop(), obj = pop();
        push(Value(vm.remove(obj.object(), vm.toStr(name))));
        break;
      }
      case op::Delete2: {
        String* s = vm.toStr(pop());
        bool done = false;
        for (size_t i = f.scope.size(); i-- > 0 && !done;) {
          Object* o = i == 0 ? f.timeline() : f.scope[i];
          if (vm.hasOwn(o, s)) {
            done = true;
            push(Value(vm.remove(o, s)));
          }
        }
        if (!done) push(Value(vm.remove(vm.global, s)));
        break;
      }
      case op::StoreRegister:
        reg(r.u8()) = top();
        break;
      case op::ConstantPool: {
        auto pool = std::make_shared<ConstantPool>();
        unsigned count = r.u16();
        pool->reserve(count);
        for (unsigned i = 0; i < count; ++i) {
          std::string s = r.cstring();
          if (hasHighBytes(s)) s = f.version < 6 ? latin1ToUtf8(s) : sanitizeUtf8(s);
          pool->push_back(vm.intern(s));
        }
        f.pool = std::move(pool);
        break;
      }

      // ---- objects ----
      case op::GetMember: {
        Value name = pop(), obj = pop();
        if (ArrayObject* a = obj.object() ? obj.o->asArray() : nullptr;
            a && name.isNumber() && name.n >= 0 && name.n < double(a->items.size()) &&
            name.n == std::floor(name.n)) {
          push(a->items[size_t(name.n)]);
          break;
        }
        Vm::Pin pin(vm, obj);
        String* key = vm.toStr(name);
        if (Object* o = obj.object(); o && vm.resolveSeen) {
          Value out;
          if (!vm.lookup(o, key, o, out)) vm.resolveMissing(o, key, out);
          push(out);
          break;
        }
        push(vm.get(obj, key));
        break;
      }
      case op::SetMember: {
        Value v = pop(), name = pop(), obj = pop();
        Object* o = obj.object();
        if (!o) {
          if (name.isObject()) vm.toStr(name);  // the name is still converted (its toString runs)
          break;
        }
        if (ArrayObject* a = o->asArray(); a && name.isNumber() && name.n >= 0 &&
                                           name.n < double(a->items.size()) &&
                                           name.n == std::floor(name.n) && !a->watches) {
          a->items[size_t(name.n)] = v;
          break;
        }
        Vm::Pin pin(vm, obj), pin2(vm, v);
        vm.set(o, vm.toStr(name), v);
        break;
      }
      case op::CallFunction: {
        Value name = pop();
        std::vector<Value> args = popArgs();
        Value fn;
        // A function called with no object runs on the scope object it was found on (a local
        // function on the activation, inside `with` on that object), else on the timeline or
        // the clip SetTarget chose.
        Object* self = f.timeline() ? f.timeline() : timelineClip();
        if (name.isObject()) {
          fn = name;
        } else {
          String* s = vm.toStr(name);
          fn = vm.getVariable(f, s, &self);
        }
        Vm::Pin pin(vm, fn);
        if (auto* sup = dynamic_cast<SuperObject*>(fn.object())) {
          push(vm.call(fn, sup->self, args));
          break;
        }
        push(callValue(fn, self, args, nullptr));
        break;
      }
      case op::CallMethod:
        callMethod();
        break;
      case op::NewObject: {
        Value name = pop();
        std::vector<Value> args = popArgs();
        String* ctorName = vm.toStr(name);
        Value ctor = vm.getVariable(f, ctorName);
        // `new` still finds a global class the running version does not see (TextField from
        // SWF 5 code).
        if (!ctor.isObject())
          if (Property* p = vm.global->props.find(vm.key(ctorName)); p && !p->getter)
            ctor = p->value;
        push(vm.construct(ctor, args));
        break;
      }
      case op::NewMethod:
        newMethod();
        break;
      case op::InitArray: {
        // Elements the stack does not hold are undefined: the array is as long as it says,
        // unless that is past the longest an array can be (then it takes what there is).
        double count = vm.toNumber(pop());
        size_t avail = available();
        size_t n = count > 0 && std::isfinite(count) ? size_t(std::min(count, 1e18)) : 0;
        if (n > kMaxArrayLength) n = std::min(n, avail);
        ArrayObject* a = vm.newArray();
        a->items.resize(n);
        for (Value& v : a->items) v = pop();
        takeCurrentArrayPrototype(vm, a);
        push(Value(static_cast<Object*>(a)));
        break;
      }
      case op::InitObject: {
        double count = vm.toNumber(pop());
        // A count past what the stack holds takes all of it (a lone value makes a last pair).
        size_t avail = (available() + 1) / 2;
        size_t k = count > 0 && std::isfinite(count) ? std::min<size_t>(size_t(count), avail) : 0;
        Object* o = vm.newObject();
        Vm::Pin pin(vm, Value(o));
        takeCurrentPrototype(o, "Object", vm.objectProto, Hidden);
        for (size_t i = 0; i < k; ++i) {
          Value v = pop(), name = pop();
          vm.set(o, vm.toStr(name), v);
        }
        push(Value(o));
        break;
      }
      case op::TypeOf:
        push(Value(vm.intern(vm.typeOf(pop()))));
        break;
      case op::TargetPath: {
        Value v = pop();
        if (ClipObject* cl = v.object() ? v.o->asClip() : nullptr)
          push(Value(vm.str(cl->node() ? vm.targetPathOf(cl->node()) : cl->targetPath())));
        else
          push(Value());
        break;
      }
      case op::Enumerate: {
        Value name = pop();
        enumerate(vm.getVariable(f, vm.toStr(name)));
        break;
      }
      case op::Enumerate2:
        enumerate(pop());
        break;
      case op::InstanceOf: {
        Value ctor = pop(), obj = pop();
        push(Value(vm.instanceOf(obj.object(), ctor.object())));
        break;
      }
      case op::Extends: {
        Value super = pop(), sub = pop();
        Object* sp = super.object();
        Object* sb = sub.object();
        if (!sp || !sb) break;
        Object* proto = vm.make<Object>();
        vm.put(proto, n.proto, vm.get(sp, n.prototype), Hidden);
        vm.put(proto, n.ctor2, super, DontEnum | Version6);
        vm.set(sb, n.prototype, Value(proto));
        break;
      }
      case op::CastOp: {
        Value obj = pop(), ctor = pop();
        push(vm.instanceOf(obj.object(), ctor.object()) ? obj : Value::null());
        break;
      }
      case op::ImplementsOp: {
        Value ctor = pop();
        std::vector<Value> ifaces = popArgs();
        vm.setInterfaces(ctor.object(), ifaces);
        break;
      }
      case op::Throw:
        throw ScriptThrow{pop()};
      case op::Return:
        f.result = pop();
        out = end;
        return Returned;

      // ---- control ----
      case op::Jump:
      case op::If: {
        if (len < 2) bad("jump length");
        int offset = int16_t(code[bodyStart] | code[bodyStart + 1] << 8);
        bool taken = c == op::Jump;
        if (!taken) {
          Value v = pop();
          taken = v.isBool() ? v.b : vm.toBoolean(v);
        }
        if (taken && jump(offset, start, end, next)) {
          out = next;
          jumpedOut_ = true;
          return next == end ? Fell : Left;
        }
        break;
      }
      case op::With:
      case op::Try: {
        size_t where;
        Exit e;
        if (c == op::With) {
          size_t size = r.u16();
          if (next + size > code.size()) bad("with length");
          e = doWith(next, next + size, end, where);
        } else {
          e = doTry(r, next, where);
        }
        if (e == Returned) {
          out = end;
          return Returned;
        }
        next = where;
        if (next < start || next >= end) {
          out = next;
          return next == end ? Fell : Left;
        }
        break;
      }
      case op::DefineFunction:
      case op::DefineFunction2:
        defineFunction(r, bodyStart, next, c == op::DefineFunction2);
        break;
      default:
        break;  // unknown actions are skipped by their length
    }
    pc = next;
  }
  out = pc;
  jumpedOut_ = false;
  return Fell;
}

}  // namespace

Value execute(Vm& vm, ExecFrame& f) {
  FramePush guard(vm, f);
  if ((++vm.steps & 0xff) == 0) vm.checkTime();  // recursion that fans out never jumps back
  Interpreter in(vm, f);
  size_t out = 0;
  try {
    in.run(0, f.code.size(), out);
  } catch (const ReadError&) {
    throw ScriptAbort{"action cut short"};
  }
  return f.result;
}

}  // namespace swf::avm1
