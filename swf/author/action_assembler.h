#pragma once
// A small ActionScript assembler for tests and tools: one action per line, by its name.
//
//   constants 'x', 'y'          # ConstantPool
//   push 'x', 1, 2.5, true, null, undefined, r:1, c:0, f:0.5
//   setVariable                 # any action without a body, by name (case ignored)
//   loop:                       # a label
//   if loop / jump loop
//   store 1                     # StoreRegister
//   function name(a, b) ... end
//   function2 name(1=a, 0=b) regs=3 flags=0x2 ... end
//   with ... end
//   try catch e ... catch ... finally ... end     (or "try catch r:1")
//   gotoFrame 3 / gotoLabel 'l' / gotoFrame2 play 0 / getURL 'u' 't' / getURL2 0
//   setTarget 'p' / waitForFrame 3 1 / waitForFrame2 1 / raw 0x96 0x01 0x00
//
// Throws std::invalid_argument naming the line on anything it does not understand.

#include <cstdint>
#include <string>
#include <vector>

namespace swf::author {

// The action bytes, without the closing end action.
std::vector<uint8_t> assembleActions(const std::string& source);

}  // namespace swf::author
