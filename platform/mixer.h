#pragma once
// The system output volume, as two 16-bit channel levels packed left-low, right-high.

#include <cstdint>
#include <memory>

namespace rv {

class Mixer {
 public:
  virtual ~Mixer() = default;
  virtual uint32_t volume() = 0;
  virtual void setVolume(uint32_t leftLowRightHigh) = 0;
};

// ALSA's simple mixer on "default" ("Master"); falls back to the player's own output gain when
// the machine has no mixer.
std::unique_ptr<Mixer> makeSystemMixer();

// The player's own output gain (platform/output_gain.h) behind the same interface; starts at full
// volume.
std::unique_ptr<Mixer> makeSoftwareMixer();

}  // namespace rv
