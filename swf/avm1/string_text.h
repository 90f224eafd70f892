#pragma once
// The text of a script string. Strings never change as the scripts see them, but a long string
// that is appended to hands its buffer on to the longer string made from it, so `s += "x"` in a
// loop grows one buffer (amortised linear) instead of copying the whole text each round. The
// earlier string remembers its length and, the first time it is read, copies its text back from
// the buffer's current holder (the buffer only ever grows at the end, so the prefix is intact).
// So a reference to a string's text must not be held across script code that may append to it.

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace swf::avm1 {

struct String;
class Tracer;

class StringText {
 public:
  StringText() = default;
  StringText(const StringText&) = delete;
  StringText& operator=(const StringText&) = delete;
  StringText& operator=(std::string s) {
    s_ = std::move(s);
    heir_ = nullptr;
    return *this;
  }

  const std::string& str() const {
    if (heir_) reclaim();
    return s_;
  }
  operator const std::string&() const { return str(); }
  operator std::string_view() const { return str(); }

  size_t size() const { return heir_ ? lentSize_ : s_.size(); }
  size_t length() const { return size(); }
  bool empty() const { return size() == 0; }
  const char* c_str() const { return str().c_str(); }
  const char* data() const { return str().data(); }
  char operator[](size_t i) const { return str()[i]; }
  char front() const { return str().front(); }
  char back() const { return str().back(); }
  std::string::const_iterator begin() const { return str().begin(); }
  std::string::const_iterator end() const { return str().end(); }
  std::string substr(size_t pos = 0, size_t n = std::string::npos) const {
    return str().substr(pos, n);
  }
  template <class... A>
  size_t find(A&&... a) const {
    return str().find(std::forward<A>(a)...);
  }
  template <class... A>
  size_t rfind(A&&... a) const {
    return str().rfind(std::forward<A>(a)...);
  }
  template <class... A>
  size_t find_first_of(A&&... a) const {
    return str().find_first_of(std::forward<A>(a)...);
  }
  template <class... A>
  size_t find_last_of(A&&... a) const {
    return str().find_last_of(std::forward<A>(a)...);
  }
  template <class... A>
  size_t find_first_not_of(A&&... a) const {
    return str().find_first_not_of(std::forward<A>(a)...);
  }
  template <class... A>
  int compare(A&&... a) const {
    return str().compare(std::forward<A>(a)...);
  }

  friend bool operator==(const StringText& a, const StringText& b) { return a.str() == b.str(); }
  friend bool operator==(const StringText& a, std::string_view b) { return a.view() == b; }
  friend std::strong_ordering operator<=>(const StringText& a, const StringText& b) {
    return a.view() <=> b.view();
  }
  friend std::strong_ordering operator<=>(const StringText& a, std::string_view b) {
    return a.view() <=> b;
  }
  friend std::string operator+(const StringText& a, std::string_view b) {
    std::string r(a.str());
    r += b;
    return r;
  }
  friend std::string operator+(std::string_view a, const StringText& b) {
    std::string r(a);
    r += b.str();
    return r;
  }

  // The result of appending `tail` to `from`, built in `to` (the text of the fresh string `heir`):
  // takes over from's buffer when from may lend it (its own, not interned, long enough that a
  // copy would matter), and copies otherwise.
  static void append(StringText& to, String* heir, StringText& from, bool fromInterned,
                     std::string_view tail);
  // The collector's part: a string whose text is lent keeps the buffer's holder alive (and
  // skips the holders in between, so those can die).
  void trace(Tracer& t);
  bool lent() const { return heir_ != nullptr; }
  String* heir() const { return heir_; }
  void setHeir(String* h) { heir_ = h; }

 private:
  std::string_view view() const { return str(); }
  void reclaim() const;

  mutable std::string s_;
  mutable String* heir_ = nullptr;  // who holds the buffer this text is a prefix of
  size_t lentSize_ = 0;
};

}  // namespace swf::avm1
