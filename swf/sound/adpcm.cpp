#include "swf/sound/adpcm.h"

#include <algorithm>

namespace swf::sound {
namespace {

constexpr int kStepSizes[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

constexpr int kIndex2[2] = {-1, 2};
constexpr int kIndex3[4] = {-1, -1, 2, 4};
constexpr int kIndex4[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kIndex5[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
constexpr const int* kIndexTables[4] = {kIndex2, kIndex3, kIndex4, kIndex5};

}  // namespace

void AdpcmChannel::apply(unsigned code, int codeBits) {
  const unsigned signBit = 1u << (codeBits - 1);
  int step = kStepSizes[index];
  int diff = step >> (codeBits - 1);
  for (unsigned mask = signBit >> 1; mask; mask >>= 1) {
    if (code & mask) diff += step;
    step >>= 1;
  }
  sample = std::clamp(code & signBit ? sample - diff : sample + diff, -32768, 32767);
  index = std::clamp(index + kIndexTables[codeBits - 2][code & (signBit - 1)], 0, 88);
}

AdpcmReader::AdpcmReader(std::span<const uint8_t> data, int channels)
    : data_(data), channels_(std::clamp(channels, 1, 2)) {
  if (bitsLeft() < 2) {
    done_ = true;
    return;
  }
  codeBits_ = int(bits(2)) + 2;
}

uint32_t AdpcmReader::bits(int n) {
  // At most 16 bits from a bit offset of at most 7: four bytes hold them. Callers check that
  // the bits exist; bytes past the end read as 0.
  const size_t at = bitPos_ >> 3;
  uint32_t word = 0;
  for (size_t i = 0; i < 4; ++i) word = (word << 8) | (at + i < data_.size() ? data_[at + i] : 0);
  word <<= bitPos_ & 7;
  bitPos_ += size_t(n);
  return word >> (32 - n);
}

size_t AdpcmReader::read(std::vector<int16_t>& out, size_t maxFrames) {
  size_t frames = 0;
  const size_t codeFrameBits = size_t(codeBits_) * size_t(channels_);
  const size_t headerBits = 22 * size_t(channels_);
  while (!done_ && frames < maxFrames) {
    if (leftInPacket_ == 0) {
      if (bitsLeft() < headerBits) {
        done_ = true;
        break;
      }
      for (int c = 0; c < channels_; ++c) {
        sample_[c] = int16_t(bits(16));
        index_[c] = int(bits(6));
        index_[c] = std::min(index_[c], 88);
        out.push_back(int16_t(sample_[c]));
      }
      leftInPacket_ = kAdpcmSamplesPerPacket - 1;
      ++frames;
      continue;
    }
    if (bitsLeft() < codeFrameBits) {
      done_ = true;
      break;
    }
    for (int c = 0; c < channels_; ++c) {
      AdpcmChannel ch{sample_[c], index_[c]};
      ch.apply(bits(codeBits_), codeBits_);
      sample_[c] = ch.sample;
      index_[c] = ch.index;
      out.push_back(int16_t(ch.sample));
    }
    --leftInPacket_;
    ++frames;
  }
  return frames;
}

}  // namespace swf::sound
