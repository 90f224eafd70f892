#pragma once
// The format byte of DefineSound and the stream heads: codec, rate, sample size, channels.

#include <cstdint>

namespace swf::sound {

enum class Codec : uint8_t {
  PcmNative = 0,  // written on little-endian machines in practice: read as little-endian
  Adpcm = 1,
  Mp3 = 2,
  PcmLittle = 3,
  Nelly16k = 4,
  Nelly8k = 5,
  Nelly = 6,
  Speex = 11,
};

struct SoundFormat {
  Codec codec = Codec::PcmLittle;
  double rate = 44100;  // samples per second per channel
  bool sixteenBit = true;
  bool stereo = false;
  bool known = true;  // false for codec numbers the format does not define

  int channels() const { return stereo ? 2 : 1; }
};

// Reads the four fields packed in one byte (codec in the high nibble). Nellymoser's fixed-rate
// variants and Speex override the rate field, which their writers leave at anything.
SoundFormat soundFormatFromByte(uint8_t flags);

const char* codecName(Codec c);

}  // namespace swf::sound
