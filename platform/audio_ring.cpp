#include "platform/audio_ring.h"

#include <algorithm>

namespace rv {

// Each side copies at most two runs: up to the end of the buffer, then from its start.
size_t AudioRing::write(const float* stereo, size_t frames) {
  const size_t n = buf_.size() / 2;
  size_t w = write_.load(std::memory_order_relaxed);
  size_t r = read_.load(std::memory_order_acquire);
  frames = std::min(frames, (r + n - w - 1) % n);
  size_t first = std::min(frames, n - w);
  std::copy_n(stereo, first * 2, buf_.begin() + long(w * 2));
  std::copy_n(stereo + first * 2, (frames - first) * 2, buf_.begin());
  write_.store((w + frames) % n, std::memory_order_release);
  return frames;
}

size_t AudioRing::read(float* stereo, size_t frames) {
  const size_t n = buf_.size() / 2;
  size_t r = read_.load(std::memory_order_relaxed);
  size_t w = write_.load(std::memory_order_acquire);
  frames = std::min(frames, (w + n - r) % n);
  size_t first = std::min(frames, n - r);
  std::copy_n(buf_.begin() + long(r * 2), first * 2, stereo);
  std::copy_n(buf_.begin(), (frames - first) * 2, stereo + first * 2);
  read_.store((r + frames) % n, std::memory_order_release);
  return frames;
}

}  // namespace rv
