#pragma once
// Runs one block of action bytes (a DoAction body, a button action) against a host.
// This is the first stage of the script engine: the SWF 3 actions, plus Push and Trace of
// SWF 4 so that simple traces print. Unknown actions are skipped by their length.

#include <cstdint>
#include <span>

#include "swf/avm1/action_host.h"

namespace swf::avm1 {

void runActions(std::span<const uint8_t> code, ActionHost& host, int swfVersion);

}  // namespace swf::avm1
