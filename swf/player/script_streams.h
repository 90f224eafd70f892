#pragma once
// The streams scripts keep running (script_stream.h): moved on at every step of the player's
// clock, heard from once a frame, and kept alive until they stop.

#include <vector>

#include "swf/avm1/script_stream.h"

namespace swf {
namespace avm1 {
class Tracer;
}

class ScriptStreams {
 public:
  void start(avm1::ScriptStream* s);
  void stop(avm1::ScriptStream* s);
  bool empty() const { return streams_.empty(); }
  void advanceTo(double nowMs);
  void runFrame(avm1::Vm& vm, double nowMs);
  void traceRoots(avm1::Tracer& t) const;

 private:
  bool running(const avm1::ScriptStream* s) const;
  std::vector<avm1::ScriptStream*> streams_;  // in the order they started
};

}  // namespace swf
