#include "swf/sound/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace swf::sound {

void appendPcm16(std::span<const float> in, std::vector<int16_t>& out) {
  out.reserve(out.size() + in.size());
  for (float v : in) {
    float s = std::isfinite(v) ? std::clamp(v * 32768.0f, -32768.0f, 32767.0f) : 0.0f;
    out.push_back(int16_t(std::lrint(s)));
  }
}

std::vector<uint8_t> wavBytes(std::span<const int16_t> samples, int rate, int channels) {
  std::vector<uint8_t> b;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  };
  auto text = [&](const char* s) { b.insert(b.end(), s, s + 4); };
  uint32_t dataBytes = uint32_t(samples.size() * 2);
  text("RIFF");
  u32(36 + dataBytes);
  text("WAVE");
  text("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(uint16_t(channels));
  u32(uint32_t(rate));
  u32(uint32_t(rate * channels * 2));
  u16(uint16_t(channels * 2));
  u16(16);
  text("data");
  u32(dataBytes);
  for (int16_t s : samples) u16(uint16_t(s));
  return b;
}

void writeWavFile(const std::string& path, std::span<const int16_t> samples, int rate,
                  int channels) {
  std::vector<uint8_t> bytes = wavBytes(samples, rate, channels);
  std::string tmp = path + ".part";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f) ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace swf::sound
