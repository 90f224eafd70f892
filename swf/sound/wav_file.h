#pragma once
// 16-bit PCM WAV files of the sound a movie makes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace swf::sound {

// Float samples (full scale ±1) as 16-bit, rounded and clipped.
void appendPcm16(std::span<const float> in, std::vector<int16_t>& out);

std::vector<uint8_t> wavBytes(std::span<const int16_t> interleaved, int rate, int channels);

// Writes beside `path` and renames, so a failure leaves no half-written file; throws
// std::runtime_error naming the file.
void writeWavFile(const std::string& path, std::span<const int16_t> interleaved, int rate,
                  int channels);

}  // namespace swf::sound
