#include "swf/avm1/load_queue.h"

#include "swf/avm1/vm.h"

namespace swf::avm1 {

void LoadQueue::add(Job job) {
  if (jobs_.size() >= kMaxPendingLoads) return;
  job.due = frame_ + 1;
  jobs_.push_back(std::move(job));
}

void LoadQueue::addFirst(Job job) {
  if (jobs_.size() >= kMaxPendingLoads) return;
  job.due = frame_ + 1;
  jobs_.insert(jobs_.begin(), std::move(job));
}

void LoadQueue::runDue(Vm& vm) {
  ++frame_;
  // Jobs added while these run (an onLoad that loads again) wait for the next frame.
  // The running ones stay roots while their handlers run.
  running_ = std::move(jobs_);
  jobs_.clear();
  std::vector<Job> later;
  for (size_t i = 0; i < running_.size(); ++i) {
    Job& j = running_[i];
    if (j.due > frame_ || !j.run(vm, j)) later.push_back(j);
  }
  for (Job& j : jobs_) later.push_back(std::move(j));
  jobs_ = std::move(later);
  running_.clear();
}

void LoadQueue::shutdown(Vm& vm) {
  auto fns = std::move(atShutdown);
  atShutdown.clear();
  for (auto& f : fns) f(vm);
}

void LoadQueue::trace(Tracer& t) const {
  for (const auto* list : {&jobs_, &running_})
    for (const Job& j : *list) {
      j.subject.trace(t);
      j.target.trace(t);
    }
  for (const auto& [key, v] : kept) v.trace(t);
}

void fireEvent(Vm& vm, Object* o, std::string_view name, std::vector<Value> args) {
  if (!o || !vm.frames.empty()) return;
  Vm::Pin pin(vm, Value(o));
  Value fn = vm.get(o, vm.intern(name));
  if (!fn.object() || !fn.o->isFunction()) return;
  vm.blockStart = std::chrono::steady_clock::now();
  try {
    vm.call(fn, o, args);
  } catch (const ScriptThrow&) {
  } catch (const ScriptAbort&) {
  }
  vm.stack.clear();
}

}  // namespace swf::avm1
