#include "swf/sound/sound_format.h"

namespace swf::sound {

SoundFormat soundFormatFromByte(uint8_t flags) {
  static constexpr double kRates[4] = {5512.5, 11025, 22050, 44100};
  SoundFormat f;
  f.codec = Codec(flags >> 4);
  f.rate = kRates[(flags >> 2) & 3];
  f.sixteenBit = (flags & 2) != 0;
  f.stereo = (flags & 1) != 0;
  switch (f.codec) {
    case Codec::PcmNative:
    case Codec::Adpcm:
    case Codec::Mp3:
    case Codec::PcmLittle:
    case Codec::Nelly:
      break;
    case Codec::Nelly16k:
      f.rate = 16000;
      f.stereo = false;
      break;
    case Codec::Nelly8k:
      f.rate = 8000;
      f.stereo = false;
      break;
    case Codec::Speex:
      f.rate = 16000;
      f.stereo = false;
      break;
    default:
      f.known = false;
      break;
  }
  // Nellymoser and Speex are mono whatever the flag says.
  if (f.codec == Codec::Nelly) f.stereo = false;
  return f;
}

const char* codecName(Codec c) {
  switch (c) {
    case Codec::PcmNative:
      return "PCM (native)";
    case Codec::Adpcm:
      return "ADPCM";
    case Codec::Mp3:
      return "MP3";
    case Codec::PcmLittle:
      return "PCM";
    case Codec::Nelly16k:
      return "Nellymoser 16 kHz";
    case Codec::Nelly8k:
      return "Nellymoser 8 kHz";
    case Codec::Nelly:
      return "Nellymoser";
    case Codec::Speex:
      return "Speex";
  }
  return "unknown";
}

}  // namespace swf::sound
