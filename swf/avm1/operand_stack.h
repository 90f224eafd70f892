#pragma once
// The operand stack shared by every running block and call: one fixed reservation, so a push is
// a store and a pointer bump, and values on it never move while a native looks at them.

#include <cstddef>
#include <cstdlib>
#include <new>

#include "swf/avm1/value.h"

namespace swf::avm1 {

class OperandStack {
 public:
  // The most values all running frames together may hold: a script that would grow the stack
  // without bound ends instead.
  static constexpr size_t kCapacity = size_t(1) << 20;

  OperandStack() {
    // All-zero bytes are undefined values; the pages are only touched as the stack grows.
    base_ = static_cast<Value*>(std::calloc(kCapacity, sizeof(Value)));
    if (!base_) throw std::bad_alloc();
    top_ = base_;
  }
  ~OperandStack() { std::free(base_); }
  OperandStack(const OperandStack&) = delete;
  OperandStack& operator=(const OperandStack&) = delete;

  size_t size() const { return size_t(top_ - base_); }
  bool empty() const { return top_ == base_; }
  bool full() const { return top_ == base_ + kCapacity; }
  // Callers check full() first.
  void push_back(const Value& v) { *top_++ = v; }
  void pop_back() { --top_; }
  Value& back() { return top_[-1]; }
  Value* top() const { return top_; }
  Value* at(size_t i) const { return base_ + i; }
  Value& operator[](size_t i) { return base_[i]; }
  const Value* begin() const { return base_; }
  const Value* end() const { return top_; }
  void clear() { top_ = base_; }
  void resize(size_t n) {
    if (n > kCapacity) n = kCapacity;
    while (size() < n) *top_++ = Value();
    top_ = base_ + n;
  }

 private:
  Value* base_;
  Value* top_;
};

}  // namespace swf::avm1
