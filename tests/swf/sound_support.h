#pragma once
// Sound for the engine's tests: signals, movies that play them, and what a player makes of them.

#include <cmath>
#include <cstdint>
#include <vector>

#include "core_test_movies.h"
#include "swf/author/sound_tags.h"
#include "swf/movie/tag_codes.h"
#include "swf/sound/sound_clip.h"
#include "swf/sound/sound_engine.h"

namespace rvtest {

// A sine of `hz` at `rate`, `frames` frames, the same in every channel scaled by channel + 1.
inline std::vector<int16_t> tone(double hz, double rate, size_t frames, int channels = 1,
                                 double amplitude = 12000) {
  std::vector<int16_t> s;
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      s.push_back(int16_t(std::lround(amplitude / (c + 1) * std::sin(2 * M_PI * hz * i / rate))));
  return s;
}

// A movie of `frames` frames at `fps` whose first frame defines sound 1 and starts it.
inline std::vector<uint8_t> eventSoundMovie(std::span<const uint8_t> defineBody,
                                            const swf::sound::SoundInfo& info = {}, int frames = 1,
                                            double fps = 12) {
  SwfWriter w(6, 100, 100, fps);
  w.tag(swf::tag::DefineSound, defineBody);
  w.tag(swf::tag::StartSound, startSoundBody(1, info));
  for (int f = 0; f < frames; ++f) w.showFrame();
  return w.finish();
}

// Plays `bytes` for `ms` (in steps of `step` ms) and returns the left channel made, as 16-bit.
struct Capture {
  swf::Player player;
  std::vector<float> stereo;
  explicit Capture(const std::vector<uint8_t>& bytes) {
    player.onAudio = [this](const float* s, size_t n) {
      stereo.insert(stereo.end(), s, s + 2 * n);
    };
    show(player, bytes);
  }
  void run(double ms, double step = 10) {
    for (double t = 0; t + 1e-9 < ms; t += step) player.advance(std::min(step, ms - t));
  }
  int16_t left(size_t i) const { return int16_t(std::lround(stereo[2 * i] * 32768)); }
  int16_t right(size_t i) const { return int16_t(std::lround(stereo[2 * i + 1] * 32768)); }
  size_t frames() const { return stereo.size() / 2; }
};

// The decoded samples of a DefineSound body, whole.
inline std::vector<int16_t> decodeAll(const std::vector<uint8_t>& body, double* rate = nullptr) {
  swf::sound::SoundClip clip(body, nullptr);
  size_t n = clip.ensure(swf::sound::kMaxClipFrames);
  if (rate) *rate = clip.rate();
  return std::vector<int16_t>(clip.frame(0), clip.frame(0) + n * size_t(clip.channels()));
}

// Signal-to-noise ratio in dB of `got` against a sine of `hz` fitted in phase and amplitude,
// over the middle of the signal (codec delays and edges left out).
inline double sineSnr(const std::vector<int16_t>& got, int channels, double hz, double rate) {
  size_t n = got.size() / size_t(channels);
  size_t from = n / 4, to = n * 3 / 4;
  double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
  for (size_t i = from; i < to; ++i) {
    double s = std::sin(2 * M_PI * hz * i / rate), c = std::cos(2 * M_PI * hz * i / rate);
    double y = got[i * size_t(channels)];
    ss += s * s;
    cc += c * c;
    sc += s * c;
    ys += y * s;
    yc += y * c;
  }
  double det = ss * cc - sc * sc;
  double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
  double sig = 0, noise = 0;
  for (size_t i = from; i < to; ++i) {
    double fit = a * std::sin(2 * M_PI * hz * i / rate) + b * std::cos(2 * M_PI * hz * i / rate);
    double y = got[i * size_t(channels)];
    sig += fit * fit;
    noise += (y - fit) * (y - fit);
  }
  return 10 * std::log10(sig / std::max(noise, 1e-9));
}

}  // namespace rvtest
