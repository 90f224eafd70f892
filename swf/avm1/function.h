#pragma once
// Functions: native code or script code with the scope it was defined in.

#include <memory>
#include <span>
#include <vector>

#include "swf/avm1/object.h"

namespace swf::avm1 {

struct Args {
  const Value* v = nullptr;
  size_t n = 0;
  Value at(size_t i) const { return i < n ? v[i] : Value(); }
  size_t size() const { return n; }
};

using NativeFn = Value (*)(Vm& vm, Object* self, Args args);
// Makes the instance `new` hands to a native constructor (an array, a date, ...).
using AllocateFn = Object* (*)(Vm& vm);

using ConstantPool = std::vector<String*>;

// DefineFunction2 flags.
enum FunctionFlags : uint16_t {
  PreloadThis = 0x01,
  SuppressThis = 0x02,
  PreloadArguments = 0x04,
  SuppressArguments = 0x08,
  PreloadSuper = 0x10,
  SuppressSuper = 0x20,
  PreloadRoot = 0x40,
  PreloadParent = 0x80,
  PreloadGlobal = 0x100,
};

struct ScriptBody {
  std::shared_ptr<const void> keep;  // owns the bytes
  std::span<const uint8_t> code;
  std::vector<String*> params;
  std::vector<uint8_t> paramRegisters;  // DefineFunction2: 0 = a named local
  int registerCount = 4;
  uint16_t flags = 0;
  bool function2 = false;
  int version = 6;
};

class Function : public Object {
 public:
  NativeFn native = nullptr;
  AllocateFn allocate = nullptr;
  std::shared_ptr<ScriptBody> body;
  std::shared_ptr<ConstantPool> pool;
  std::vector<Object*> scope;  // scope[0] is the timeline it was defined on
  String* name = nullptr;

  const char* typeName() const override { return "function"; }
  bool isFunction() const override { return true; }
  void traceChildren(Tracer& t) override;
};

}  // namespace swf::avm1
