#pragma once
// The player's own output gain, used when the machine has no system mixer: the volume commands
// set it and the audio output multiplies its samples by it. Safe to read from the audio thread.

namespace rv {

struct ChannelGain {
  float left = 1.0f;
  float right = 1.0f;
};

ChannelGain outputGain();
void setOutputGain(ChannelGain gain);

}  // namespace rv
