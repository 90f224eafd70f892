#include "platform/audio_ring.h"

#include <algorithm>

namespace rv {

size_t AudioRing::write(const float* stereo, size_t frames) {
  const size_t n = buf_.size() / 2;
  size_t w = write_.load(std::memory_order_relaxed);
  size_t r = read_.load(std::memory_order_acquire);
  size_t room = (r + n - w - 1) % n;
  frames = std::min(frames, room);
  for (size_t i = 0; i < frames; ++i) {
    size_t at = (w + i) % n;
    buf_[2 * at] = stereo[2 * i];
    buf_[2 * at + 1] = stereo[2 * i + 1];
  }
  write_.store((w + frames) % n, std::memory_order_release);
  return frames;
}

size_t AudioRing::read(float* stereo, size_t frames) {
  const size_t n = buf_.size() / 2;
  size_t r = read_.load(std::memory_order_relaxed);
  size_t w = write_.load(std::memory_order_acquire);
  frames = std::min(frames, (w + n - r) % n);
  for (size_t i = 0; i < frames; ++i) {
    size_t at = (r + i) % n;
    stereo[2 * i] = buf_[2 * at];
    stereo[2 * i + 1] = buf_[2 * at + 1];
  }
  read_.store((r + frames) % n, std::memory_order_release);
  return frames;
}

}  // namespace rv
