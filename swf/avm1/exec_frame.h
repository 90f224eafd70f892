#pragma once
// One running block or call: its code, registers, scope chain and operand stack base.

#include <memory>
#include <span>
#include <vector>

#include "swf/avm1/clip_object.h"
#include "swf/avm1/function.h"

namespace swf::avm1 {

class Vm;

struct ExecFrame {
  std::span<const uint8_t> code;
  std::shared_ptr<const void> keep;
  std::shared_ptr<ConstantPool> pool;
  std::vector<Value> regs;
  // scope[0] is the timeline (replaced by `target` after SetTarget); with-objects and
  // activations follow, innermost last. The global object is looked at after all of them.
  std::vector<Object*> scope;
  Object* self = nullptr;
  Object* activation = nullptr;
  Function* callee = nullptr;
  Object* arguments = nullptr;
  Object* superHolder = nullptr;  // where the running method was found
  ClipObject* target = nullptr;   // SetTarget's; null means scope[0]
  int version = 6;
  bool constructing = false;  // called by `new`
  size_t stackBase = 0;
  // Where its pops stop. A script function called by an action shares its caller's operands,
  // as the original's single stack does: it may pop what the caller pushed, and what it leaves
  // stays for the caller. Anything else starts at its own base and leaves nothing behind.
  size_t sharedFloor = size_t(-1);
  size_t stackFloor() const { return sharedFloor < stackBase ? sharedFloor : stackBase; }
  bool sharesCallerStack() const { return sharedFloor <= stackBase; }
  Value result;

  // A target that was removed no longer counts: variables go back to the timeline.
  Object* timeline() const {
    if (target && target->node()) return target;
    return scope.empty() ? nullptr : scope[0];
  }
  void trace(Tracer& t) const;
};

// Runs the frame's code from the start; returns what Return left (undefined otherwise).
Value execute(Vm& vm, ExecFrame& frame);

}  // namespace swf::avm1
