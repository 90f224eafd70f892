#pragma once
// Work the machine owes scripts on later frames: files to deliver to LoadVars, XML and clips,
// and the objects that must outlive every reference a script holds (SharedObjects).
// Everything here is a root of the collector.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "swf/avm1/value.h"

namespace swf::avm1 {

class Vm;
class Tracer;

class LoadQueue {
 public:
  struct Job {
    Value subject;        // the object that asked (a LoadVars, an XML, a MovieClipLoader, a clip)
    Value target;         // the clip or level a movie goes into, when there is one
    std::string path;     // the local file; empty when the address was refused
    std::string address;  // a movie's `_url` (VmHost::movieAddress)
    uint64_t due = 0;     // the frame it runs on
    int stage = 0;        // for work spread over several frames
    // Runs the job; returns true when it is finished, false to run again next frame.
    std::function<bool(Vm&, Job&)> run;
  };

  // Queues `job` for the next frame.
  void add(Job job);
  // Queues `job` for the next frame ahead of the others, so what follows loads that arrived
  // together runs newest first, as their first frames did.
  void addFirst(Job job);
  // Runs the jobs that are due; called once per frame by the player.
  void runDue(Vm& vm);
  size_t pending() const { return jobs_.size(); }

  // Objects kept for the machine's life by key, with what to do with them when it ends.
  std::map<std::string, Value> kept;
  std::vector<std::function<void(Vm&)>> atShutdown;
  void shutdown(Vm& vm);

  void trace(Tracer& t) const;

 private:
  std::vector<Job> jobs_, running_;
  uint64_t frame_ = 0;
};

// The most a file given to a script may hold (LoadVars, XML, loadVariables).
inline constexpr uint64_t kMaxLoadedText = 64u << 20;
// At most this many loads wait at once; later ones are dropped.
inline constexpr size_t kMaxPendingLoads = 1024;

// Calls `o`'s method `name` from outside any block (a load arriving), with `args`. Errors the
// script throws end the call only.
void fireEvent(Vm& vm, Object* o, std::string_view name, std::vector<Value> args = {});

}  // namespace swf::avm1
