#pragma once
// The collector's cell: every object and string the scripts can reach is one. Cells live on the
// heap's list until a collection finds them unreachable.

#include <cstddef>
#include <vector>

namespace swf::avm1 {

class Tracer;

struct GcCell {
  GcCell() = default;
  GcCell(const GcCell&) = delete;
  GcCell& operator=(const GcCell&) = delete;
  virtual ~GcCell() = default;
  // Marks every cell this one refers to.
  virtual void traceChildren(Tracer&) {}

  GcCell* gcNext = nullptr;
  bool gcMarked = false;
};

// The mark phase's work list: marking pushes, draining traces, so deep structures never recurse.
class Tracer {
 public:
  void mark(GcCell* c) {
    if (c && !c->gcMarked) {
      c->gcMarked = true;
      grey_.push_back(c);
    }
  }
  void drain() {
    while (!grey_.empty()) {
      GcCell* c = grey_.back();
      grey_.pop_back();
      c->traceChildren(*this);
    }
  }

 private:
  std::vector<GcCell*> grey_;
};

}  // namespace swf::avm1
