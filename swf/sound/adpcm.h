#pragma once
// The SWF flavour of ADPCM: a two-bit code size (2 to 5 bits) at the start of the data, then
// packets of 4096 samples per channel, each opening with a 16-bit sample and a 6-bit step index
// per channel. The bit stream is not byte aligned between packets.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace swf::sound {

// Decodes one ADPCM bit stream a piece at a time.
class AdpcmReader {
 public:
  AdpcmReader(std::span<const uint8_t> data, int channels);

  // Appends up to `maxFrames` frames (one sample per channel, interleaved); returns how many.
  // A packet cut short ends with its last complete frame.
  size_t read(std::vector<int16_t>& out, size_t maxFrames);
  bool atEnd() const { return done_; }

 private:
  uint32_t bits(int n);
  size_t bitsLeft() const { return data_.size() * 8 - bitPos_; }

  std::span<const uint8_t> data_;
  size_t bitPos_ = 0;
  int channels_;
  int codeBits_ = 4;
  int leftInPacket_ = 0;  // codes per channel still due in the current packet
  int sample_[2] = {0, 0};
  int index_[2] = {0, 0};
  bool done_ = false;
};

// One step of the decoder, shared with our encoder so both track the same predictor.
struct AdpcmChannel {
  int sample = 0;
  int index = 0;
  void apply(unsigned code, int codeBits);
};

inline constexpr int kAdpcmSamplesPerPacket = 4096;

}  // namespace swf::sound
