#pragma once
// Script values in AMF0, the encoding of shared object files: numbers, booleans, strings,
// objects and arrays (shared and cyclic ones as references), null and undefined. Functions and
// movie clips are not kept. Nesting is bounded both ways, so no input can exhaust the stack.

#include <string>

#include "swf/avm1/object.h"

namespace swf::avm1 {

inline constexpr int kMaxAmfDepth = 256;

// The enumerable properties of `from` as a shared object's entries: name (u16 length + bytes),
// value and a zero byte each, oldest first; values that are not kept are left out.
std::string writeAmfEntries(Vm& vm, Object* from);
// Reads the entries of a shared object's body into `into`; false when the bytes are not valid
// (what was read stays in `into`; callers discard it).
bool readAmfEntries(Vm& vm, const std::string& body, size_t at, Object* into);

}  // namespace swf::avm1
