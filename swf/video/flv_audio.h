#pragma once
// The sound of an FLV file, decoded to 16-bit samples for the mixer: MP3, ADPCM, PCM and
// Nellymoser through the sound decoders of SWF streams (an FLV audio tag is a stream block with
// its format byte in front), AAC through libavcodec.

#include <cstdint>
#include <vector>

#include "swf/io/flv_file.h"

namespace swf {

struct FlvAudio {
  std::vector<int16_t> samples;  // interleaved
  int channels = 1;
  double rate = 44100;
  double startMs = 0;  // the time of the first audio tag
  bool empty() const { return samples.empty(); }
};

// Tags whose format differs from the first audio tag's are skipped (a change of format in the
// middle of a file is not something writers do). Bounded like every sound: about 12 minutes.
FlvAudio decodeFlvAudio(const FlvFile& flv);

}  // namespace swf
