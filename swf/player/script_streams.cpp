#include "swf/player/script_streams.h"

#include <algorithm>
#include <limits>

#include "swf/avm1/gc.h"
#include "swf/avm1/object.h"

namespace swf {

const ScriptStreams::Entry* ScriptStreams::find(const avm1::ScriptStream* s) const {
  auto it =
      std::find_if(streams_.begin(), streams_.end(), [s](const Entry& e) { return e.stream == s; });
  return it == streams_.end() ? nullptr : &*it;
}

void ScriptStreams::start(avm1::ScriptStream* s) {
  if (!find(s)) streams_.push_back({s, false});
}

void ScriptStreams::stop(avm1::ScriptStream* s) {
  std::erase_if(streams_, [s](const Entry& e) { return e.stream == s; });
}

void ScriptStreams::advanceTo(double nowMs) {
  for (const Entry& e : streams_) e.stream->advanceTo(nowMs);
}

void ScriptStreams::run(avm1::Vm& vm, double nowMs, bool framedOnly) {
  // Handlers may stop streams (and the collector then free them) or start new ones.
  std::vector<Entry> list = streams_;
  for (const Entry& e : list) {
    if (framedOnly && !e.framed) continue;
    if (find(e.stream)) e.stream->runFrame(vm, nowMs);
  }
}

void ScriptStreams::runFrame(avm1::Vm& vm, double nowMs) {
  for (Entry& e : streams_) e.framed = true;
  nextPollMs_ = nowMs + kPollMs;
  run(vm, nowMs, false);
}

double ScriptStreams::nextPollMs() const {
  bool any = std::any_of(streams_.begin(), streams_.end(), [](const Entry& e) { return e.framed; });
  return any ? nextPollMs_ : std::numeric_limits<double>::infinity();
}

void ScriptStreams::poll(avm1::Vm& vm) {
  double at = nextPollMs_;
  nextPollMs_ = at + kPollMs;
  run(vm, at, true);
}

void ScriptStreams::traceRoots(avm1::Tracer& t) const {
  for (const Entry& e : streams_) t.mark(e.stream->streamObject());
}

}  // namespace swf
