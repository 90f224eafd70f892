// Sound benchmarks: decoding speed of each codec as a multiple of real time, the cost of the
// whole mixing path (mix, resample, volume) for 8 sounds at once, and the drift between pictures
// and a stream sound over a 10-minute movie played with an irregular clock. Medians of 5 runs,
// thread CPU time.
#include <cstdio>
#include <random>

#include "frame_timing.h"
#include "swf/author/av_encode.h"
#include "swf/author/sound_tags.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/tag_codes.h"
#include "swf/sound/sound_clip.h"
#include "swf/sound/sound_engine.h"

using namespace swf::author;
namespace snd = swf::sound;

namespace {

std::vector<int16_t> music(double rate, double seconds, int channels) {
  std::vector<int16_t> s;
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> noise(-300, 300);
  for (size_t i = 0; i < size_t(rate * seconds); ++i)
    for (int c = 0; c < channels; ++c)
      s.push_back(int16_t(6000 * std::sin(2 * M_PI * 220 * i / rate) +
                          4000 * std::sin(2 * M_PI * (330 + c * 110) * i / rate) + noise(rng)));
  return s;
}

void decodeSpeed(const char* what, const std::vector<uint8_t>& body, double seconds) {
  std::vector<double> factors;
  for (int rep = 0; rep < 5; ++rep) {
    double t0 = rvbench::threadMs();
    snd::SoundClip clip(body, nullptr);
    clip.ensure(snd::kMaxClipFrames);
    double ms = rvbench::threadMs() - t0;
    factors.push_back(seconds * 1000 / std::max(ms, 1e-3));
  }
  std::printf("decode %-28s %8.0f x real time\n", what, rvbench::median(factors));
}

void mixCost(const char* what, double rate) {
  const double seconds = 20;
  auto pcm = pcm16Bytes(music(rate, seconds, 2));
  int rateIndex = rate == 44100 ? 3 : rate == 22050 ? 2 : 1;
  auto body = defineSoundBody(1, soundFormatByte(3, rateIndex, true, true), 0, pcm);
  SwfWriter w(6, 100, 100, 12);
  w.tag(swf::tag::DefineSound, body);
  w.showFrame();
  auto movie = swf::loadMovieFromMemory(w.finish());
  std::vector<double> percent;
  std::vector<float> out(441 * 2);
  size_t voices = 0;
  double energy = 0;
  for (int rep = 0; rep < 5; ++rep) {
    snd::SoundEngine e;
    e.addMovie(movie);
    e.clip(1)->ensure(snd::kMaxClipFrames);  // decoding is measured above
    for (int v = 0; v < 8; ++v) {
      e.start(1, {}, nullptr, v * 0.1);
      e.setTransform(nullptr, snd::SoundTransform::withPan(80, 20));
    }
    double t0 = rvbench::threadMs();
    for (int tick = 0; tick < 100 * 10; ++tick) e.mix(out.data(), 441);  // 10 s in 10 ms ticks
    double ms = rvbench::threadMs() - t0;
    percent.push_back(ms / 10000 * 100);
    voices = e.voiceCount();
    energy = 0;
    for (float v : out) energy += double(v) * v;
  }
  std::printf("mix 8 stereo sounds at %-15s %8.2f %% of one core (%zu still playing, %s)\n", what,
              rvbench::median(percent), voices, energy > 0 ? "sounding" : "silent");
}

void drift() {
  // 10 minutes at 12 fps of 11.025 kHz stream blocks (918 or 919 samples each).
  const int frames = 12 * 600;
  SwfWriter w(6, 100, 100, 12);
  w.tag(swf::tag::SoundStreamHead, soundStreamHeadBody(soundFormatByte(3, 1, true, false), 919));
  std::vector<int16_t> block;
  for (int f = 0; f < frames; ++f) {
    block.assign(size_t((f + 1) * 918.75) - size_t(f * 918.75), int16_t(f));
    w.tag(swf::tag::SoundStreamBlock, pcm16Bytes(block));
    w.showFrame();
  }
  swf::Player p;
  p.load(swf::loadMovieFromMemory(w.finish()), "drift.swf");
  p.setLoop(false);
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> jitter(5, 40);
  double given = 0;
  int worst = 0;
  while (given < 600000 - 500) {
    double ms = rng() % 200 == 0 ? 400 : jitter(rng);  // now and then a slow frame
    p.advance(ms);
    given += ms;
    double soundFrame = double(p.audioFramesMade()) / 44100 * 12;
    worst = std::max(worst, int(std::lround(std::abs(p.currentFrame() - soundFrame))));
  }
  double soundFrame = double(p.audioFramesMade()) / 44100 * 12;
  std::printf(
      "10-minute stream: frame %d, sound at frame %.2f, worst gap %d frames, %llu skipped\n",
      p.currentFrame(), soundFrame, worst, (unsigned long long)p.framesSkipped());
}

}  // namespace

int main() {
  const double s = 30;
  auto pcm44 = music(44100, s, 2);
  decodeSpeed("PCM 44.1 kHz stereo",
              defineSoundBody(1, soundFormatByte(3, 3, true, true), 0, pcm16Bytes(pcm44)), s);
  decodeSpeed("ADPCM 4-bit 44.1 kHz stereo",
              defineSoundBody(1, soundFormatByte(1, 3, true, true), 0, encodeAdpcm(pcm44, 2, 4)),
              s);
  auto mono22 = music(22050, s, 1);
  decodeSpeed("ADPCM 2-bit 22 kHz mono",
              defineSoundBody(1, soundFormatByte(1, 2, true, false), 0, encodeAdpcm(mono22, 1, 2)),
              s);
  auto mp3 = avEncode(AV_CODEC_ID_MP3, 44100, 2, pcm44, 128000);
  mp3.insert(mp3.begin(), {0, 0});
  decodeSpeed("MP3 128 kb/s 44.1 kHz stereo",
              defineSoundBody(1, soundFormatByte(2, 3, true, true), 0, mp3), s);
  auto nelly = avEncode(AV_CODEC_ID_NELLYMOSER, 22050, 1, mono22);
  decodeSpeed("Nellymoser 22 kHz", defineSoundBody(1, soundFormatByte(6, 2, true, false), 0, nelly),
              s);
  mixCost("44.1 kHz", 44100);
  mixCost("22.05 kHz", 22050);
  mixCost("11.025 kHz", 11025);
  drift();
  return 0;
}
