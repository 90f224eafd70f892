#pragma once
// A decoded video picture: premultiplied ARGB32 pixels in native byte order (Cairo's layout),
// one row after another without padding.

#include <cstdint>
#include <vector>

namespace swf {

// Pictures larger than this are not decoded (about 4K): a stream that claims 16,383 × 16,383
// pixels decodes to nothing rather than claiming gigabytes.
inline constexpr int64_t kMaxVideoPixels = int64_t(4096) * 2160;

struct VideoPicture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  bool empty() const { return width <= 0 || height <= 0; }
  void clear() {
    width = height = 0;
    pixels.clear();
  }
};

}  // namespace swf
