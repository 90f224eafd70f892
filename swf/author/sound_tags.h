#pragma once
// Bodies of the sound tags, and our ADPCM encoder, for the movies tests and tools write.

#include <cstdint>
#include <span>
#include <vector>

#include "swf/sound/sound_info.h"

namespace swf::author {

// The format byte: codec 0..15, rate index 0 (5.5 kHz) .. 3 (44 kHz).
uint8_t soundFormatByte(int codec, int rateIndex, bool sixteenBit, bool stereo);

std::vector<uint8_t> defineSoundBody(uint16_t id, uint8_t format, uint32_t sampleCount,
                                     std::span<const uint8_t> data);
std::vector<uint8_t> startSoundBody(uint16_t id, const sound::SoundInfo& info);
std::vector<uint8_t> soundStreamHeadBody(uint8_t format, uint16_t samplesPerFrame,
                                         int16_t latencySeek = 0);

std::vector<uint8_t> pcm16Bytes(std::span<const int16_t> samples);

// Encodes interleaved samples as SWF ADPCM with 2..5 bit codes. `decoded`, when given,
// receives what a decoder makes of the result (the encoder tracks the same predictor).
std::vector<uint8_t> encodeAdpcm(std::span<const int16_t> samples, int channels, int codeBits,
                                 std::vector<int16_t>* decoded = nullptr);

}  // namespace swf::author
