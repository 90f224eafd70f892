// checklistwidth: the widest entry of the playlist plus its margin, and the scroll extent.
//
// Measuring every path in the list's font costs several microseconds a text, far too much for
// lists of a hundred thousand entries. So each entry first gets an upper bound from the advances
// of its characters (each measured once, to a 64th of a pixel), and entries are measured whole in
// the order of their bounds only until no bound can beat the widest measured. Kerning, which the
// bound leaves out, narrows text; only a font whose kerning widened some pair could make the
// result fall short, by no more than that widening.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <numeric>
#include <unordered_map>

#include "app/main_form.h"

namespace rv {

namespace {

using Measure = int (*)(const std::string&);

int margin(size_t index) { return index <= 100 ? 35 : 50; }

// Advances of single characters in 64ths of a pixel, for one measuring function. The list's
// font is fixed for the life of the program, so they are kept.
class CharAdvances {
 public:
  explicit CharAdvances(Measure measure) : measure_(measure) { ascii_.fill(-1); }
  Measure measure() const { return measure_; }

  // A bound of the width of `text` in whole pixels: the sum of its characters' advances, each
  // known to half a 64th, and the whole measure rounded to the nearest pixel.
  long long bound(const std::string& text) {
    long long sum = 0, chars = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
      if (*p < 0x80) {
        int& a = ascii_[*p];
        if (a < 0) a = measure64(reinterpret_cast<const char*>(p), 1);
        sum += a;
        ++chars;
        ++p;
        continue;
      }
      size_t n = sequenceLength(p, end);
      uint32_t key = 0;
      for (size_t i = 0; i < n; ++i) key = key << 8 | p[i];
      auto [it, fresh] = other_.try_emplace(key, 0);
      if (fresh) it->second = measure64(reinterpret_cast<const char*>(p), n);
      sum += it->second;
      ++chars;
      p += n;
    }
    return (sum + chars + 32) / 64;
  }

 private:
  // A whole UTF-8 sequence, or a single byte where the bytes do not form one.
  static size_t sequenceLength(const unsigned char* p, const unsigned char* end) {
    size_t n = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC0 ? 2 : 1;
    if (n > static_cast<size_t>(end - p)) return 1;
    for (size_t i = 1; i < n; ++i)
      if ((p[i] & 0xC0) != 0x80) return 1;
    return n;
  }
  int measure64(const char* c, size_t n) {
    std::string repeated;
    for (int i = 0; i < 64; ++i) repeated.append(c, n);
    return measure_(repeated);
  }

  Measure measure_;
  std::array<int, 128> ascii_;
  std::unordered_map<uint32_t, int> other_;
};

CharAdvances& advancesFor(Measure measure) {
  static std::unique_ptr<CharAdvances> cached;
  if (!cached || cached->measure() != measure) cached = std::make_unique<CharAdvances>(measure);
  return *cached;
}

int fallbackWidth(const std::string& text) {
  return static_cast<int>(std::min<size_t>(text.size(), 1 << 20)) * 6;
}

}  // namespace

void MainForm::checklistwidth() {
  const auto& items = flashlist.items;
  const Measure measure = services.textWidth ? services.textWidth : &fallbackWidth;
  listwidth = 0;
  if (!items.empty()) {
    CharAdvances& advances = advancesFor(measure);
    std::vector<int> bound(items.size());
    for (size_t i = 0; i < items.size(); ++i)
      bound[i] = static_cast<int>(
          std::min<long long>(advances.bound(items[i]) + margin(i), INT32_MAX / 2));
    std::vector<uint32_t> order(items.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return bound[a] > bound[b]; });
    for (uint32_t i : order) {
      if (bound[i] <= listwidth) break;
      listwidth = std::max(listwidth, measure(items[i]) + margin(i));
    }
  }
  // Walking the entries in order, the extent would be set whenever the widest so far does not
  // fit; the last such setting is the one that stays, and the extent is never reduced.
  if (flashlist.width < listwidth) flashlist.horizontalExtent = listwidth + 2;
}

}  // namespace rv
