#include "platform/output_gain.h"

#include <atomic>

namespace rv {
namespace {
std::atomic<float> leftGain{1.0f};
std::atomic<float> rightGain{1.0f};
}  // namespace

ChannelGain outputGain() {
  return {leftGain.load(std::memory_order_relaxed), rightGain.load(std::memory_order_relaxed)};
}

void setOutputGain(ChannelGain gain) {
  leftGain.store(gain.left, std::memory_order_relaxed);
  rightGain.store(gain.right, std::memory_order_relaxed);
}

}  // namespace rv
