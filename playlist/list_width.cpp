// checklistwidth: the widest entry of the playlist plus its margin, and the scroll extent.
//
// Measuring every path in the list's font costs several microseconds a text, far too much for
// lists of a hundred thousand entries. So each entry is first estimated from the advances of its
// characters (measured once per character, to an eighth of a pixel), and only the entries whose
// estimate comes near the widest are measured whole. Kerning, the one thing the estimate leaves
// out, narrows a text and only rarely widens it by a pixel, which the tolerance covers.
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

constexpr int kTolerancePx = 4;

int margin(size_t index) { return index <= 100 ? 35 : 50; }

// Advances of single characters in eighths of a pixel, for one measuring function. The list's
// font is fixed for the life of the program, so they are kept.
class CharAdvances {
 public:
  explicit CharAdvances(Measure measure) : measure_(measure) { ascii_.fill(-1); }
  Measure measure() const { return measure_; }

  // The estimated width of `text` in eighths of a pixel.
  long long estimate(const std::string& text) {
    long long sum = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
      if (*p < 0x80) {
        int& a = ascii_[*p];
        if (a < 0) a = measureEighths(reinterpret_cast<const char*>(p), 1);
        sum += a;
        ++p;
        continue;
      }
      size_t n = sequenceLength(p, end);
      uint32_t key = 0;
      for (size_t i = 0; i < n; ++i) key = key << 8 | p[i];
      auto [it, fresh] = other_.try_emplace(key, 0);
      if (fresh) it->second = measureEighths(reinterpret_cast<const char*>(p), n);
      sum += it->second;
      p += n;
    }
    return sum;
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
  int measureEighths(const char* c, size_t n) {
    std::string eight;
    for (int i = 0; i < 8; ++i) eight.append(c, n);
    return measure_(eight);
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
    std::vector<int> estimate(items.size());
    for (size_t i = 0; i < items.size(); ++i)
      estimate[i] = static_cast<int>(
          std::min<long long>((advances.estimate(items[i]) + 7) / 8 + margin(i), INT32_MAX / 2));
    std::vector<uint32_t> order(items.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return estimate[a] > estimate[b]; });
    for (uint32_t i : order) {
      if (estimate[i] + kTolerancePx < listwidth) break;
      listwidth = std::max(listwidth, measure(items[i]) + margin(i));
    }
  }
  // Walking the entries in order, the extent would be set whenever the widest so far does not
  // fit; the last such setting is the one that stays, and the extent is never reduced.
  if (flashlist.width < listwidth) flashlist.horizontalExtent = listwidth + 2;
}

}  // namespace rv
