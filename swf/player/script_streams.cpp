#include "swf/player/script_streams.h"

#include <algorithm>

#include "swf/avm1/gc.h"
#include "swf/avm1/object.h"

namespace swf {

bool ScriptStreams::running(const avm1::ScriptStream* s) const {
  return std::find(streams_.begin(), streams_.end(), s) != streams_.end();
}

void ScriptStreams::start(avm1::ScriptStream* s) {
  if (!running(s)) streams_.push_back(s);
}

void ScriptStreams::stop(avm1::ScriptStream* s) { std::erase(streams_, s); }

void ScriptStreams::advanceTo(double nowMs) {
  for (avm1::ScriptStream* s : streams_) s->advanceTo(nowMs);
}

void ScriptStreams::runFrame(avm1::Vm& vm, double nowMs) {
  // Handlers may stop streams (and the collector then free them) or start new ones.
  std::vector<avm1::ScriptStream*> list = streams_;
  for (avm1::ScriptStream* s : list)
    if (running(s)) s->runFrame(vm, nowMs);
}

void ScriptStreams::traceRoots(avm1::Tracer& t) const {
  for (avm1::ScriptStream* s : streams_) t.mark(s->streamObject());
}

}  // namespace swf
