#include "swf/avm1/string_text.h"

#include "swf/avm1/value.h"

namespace swf::avm1 {

namespace {

// Shorter texts are simply copied: lending saves little and costs the lender a copy when read.
constexpr size_t kLendFrom = 64;

// The string that holds the buffer `s` lent its text into; every string passed on the way is
// pointed straight at it, so later walks are short.
String* holderOf(String* s) {
  String* h = s;
  while (h->text.lent()) h = h->text.heir();
  while (s != h) {
    String* next = s->text.heir();
    s->text.setHeir(h);
    s = next;
  }
  return h;
}

}  // namespace

void StringText::append(StringText& to, String* heir, StringText& from, bool fromInterned,
                        std::string_view tail) {
  const char* base = from.s_.data();
  bool tailInside = tail.data() >= base && tail.data() <= base + from.s_.size();
  if (!fromInterned && !from.heir_ && from.s_.size() >= kLendFrom && !tailInside) {
    to.s_ = std::move(from.s_);
    from.s_ = std::string();
    from.heir_ = heir;
    from.lentSize_ = to.s_.size();
    to.s_ += tail;  // grows the capacity geometrically
    return;
  }
  const std::string& head = from.str();
  std::string r;
  r.reserve(head.size() + tail.size());
  r += head;
  r += tail;
  to.s_ = std::move(r);
}

void StringText::reclaim() const {
  String* h = holderOf(heir_);
  s_.assign(h->text.s_, 0, lentSize_);
  heir_ = nullptr;
}

void StringText::trace(Tracer& t) {
  if (!heir_) return;
  heir_ = holderOf(heir_);
  t.mark(heir_);
}

}  // namespace swf::avm1
