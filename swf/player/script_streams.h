#pragma once
// The streams scripts keep running (script_stream.h): moved on at every step of the player's
// clock, heard from at every frame and, between frames, every kPollMs after the frame (once a
// stream has been through a frame); kept alive until they stop.

#include <vector>

#include "swf/avm1/script_stream.h"

namespace swf {
namespace avm1 {
class Tracer;
}

class ScriptStreams {
 public:
  static constexpr double kPollMs = 100;

  void start(avm1::ScriptStream* s);
  void stop(avm1::ScriptStream* s);
  void advanceTo(double nowMs);
  // At a frame: every stream moves on to `nowMs` and calls the script's handlers.
  void runFrame(avm1::Vm& vm, double nowMs);
  // When the streams speak next between frames (infinity when none would), and doing so.
  double nextPollMs() const;
  void poll(avm1::Vm& vm);
  void traceRoots(avm1::Tracer& t) const;

 private:
  struct Entry {
    avm1::ScriptStream* stream;
    bool framed;  // been through a frame since it started
  };
  const Entry* find(const avm1::ScriptStream* s) const;
  void run(avm1::Vm& vm, double nowMs, bool framedOnly);

  std::vector<Entry> streams_;  // in the order they started
  double nextPollMs_ = 0;
};

}  // namespace swf
