#pragma once
// SOUNDINFO: how StartSound, StartSound2 and button sounds play an event sound.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "swf/io/bit_reader.h"

namespace swf::sound {

struct EnvelopePoint {
  uint32_t pos44 = 0;                    // in samples at 44.1 kHz from the start of the sound
  uint16_t left = 32768, right = 32768;  // 32768 is full level
};

struct SoundInfo {
  bool stop = false;                          // stop the sound's playing instances instead
  bool noMultiple = false;                    // do not start it while it is already playing
  std::optional<uint32_t> inPoint, outPoint;  // samples at 44.1 kHz
  int loops = 1;                              // plays in all
  std::vector<EnvelopePoint> envelope;
};

// Throws ReadError when the record runs past its body.
SoundInfo readSoundInfo(BitReader& r);

struct StartSoundTag {
  uint16_t soundId = 0;   // StartSound
  std::string className;  // StartSound2: the exported name of the sound
  SoundInfo info;
};

// Reads StartSound (15) or StartSound2 (89); nothing when the body is malformed.
std::optional<StartSoundTag> readStartSound(int code, std::span<const uint8_t> body);

}  // namespace swf::sound
