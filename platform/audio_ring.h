#pragma once
// A single-producer, single-consumer ring of stereo float frames: the UI thread writes what a
// movie made, the audio callback reads it. No locks: each side owns one index.

#include <atomic>
#include <cstddef>
#include <vector>

namespace rv {

class AudioRing {
 public:
  explicit AudioRing(size_t frames) : buf_((frames + 1) * 2) {}

  size_t capacity() const { return buf_.size() / 2 - 1; }
  // Frames waiting to be read (either side may ask).
  size_t queued() const {
    size_t w = write_.load(std::memory_order_acquire), r = read_.load(std::memory_order_acquire);
    size_t n = buf_.size() / 2;
    return (w + n - r) % n;
  }

  // Producer: writes as much of `frames` as fits; returns the frames written.
  size_t write(const float* stereo, size_t frames);
  // Consumer: reads up to `frames`; returns the frames read.
  size_t read(float* stereo, size_t frames);

 private:
  std::vector<float> buf_;
  std::atomic<size_t> write_{0}, read_{0};  // in frames
};

}  // namespace rv
