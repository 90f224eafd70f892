// Playing sounds through the player: SOUNDINFO, the start and stop rules, pausing, resampling,
// and stream sounds that pace their timeline.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sound_support.h"
#include "swf/author/av_encode.h"
#include "swf/sound/resampler.h"

namespace {

using namespace rvtest;
namespace snd = swf::sound;

std::vector<int16_t> ramp(size_t n) {
  std::vector<int16_t> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = int16_t((i * 37 % 20000) - 10000);
  return s;
}

std::vector<uint8_t> pcm44Body(const std::vector<int16_t>& s) {
  return defineSoundBody(1, soundFormatByte(3, 3, true, false), uint32_t(s.size()), pcm16Bytes(s));
}

TEST(SoundPlay, InAndOutPointsAndLoopsSampleForSample) {
  const auto s = ramp(4000);
  struct Case {
    std::optional<uint32_t> in, out;
    int loops;
    std::vector<std::pair<size_t, size_t>> pieces;  // [from, to) of s, played in turn
  } cases[] = {
      {{}, {}, 1, {{0, 4000}}},
      {1000, 3000, 1, {{1000, 3000}}},
      {100, 600, 3, {{100, 600}, {100, 600}, {100, 600}}},
      {{}, 500, 2, {{0, 500}, {0, 500}}},
  };
  for (const Case& c : cases) {
    snd::SoundInfo info;
    info.inPoint = c.in;
    info.outPoint = c.out;
    info.loops = c.loops;
    Capture cap(eventSoundMovie(pcm44Body(s), info));
    cap.run(250);
    std::vector<int16_t> want;
    for (auto [from, to] : c.pieces)
      want.insert(want.end(), s.begin() + long(from), s.begin() + long(to));
    ASSERT_GE(cap.frames(), want.size() + 100);
    for (size_t i = 0; i < want.size() + 100; ++i) {
      ASSERT_EQ(cap.left(i), i < want.size() ? want[i] : 0) << "frame " << i;
      ASSERT_EQ(cap.right(i), cap.left(i));
    }
  }
}

TEST(SoundPlay, EnvelopeShapesEachChannel) {
  const auto s = ramp(4000);
  snd::SoundInfo info;
  info.envelope = {{0, 32768, 32768}, {4000, 0, 32768}};
  Capture cap(eventSoundMovie(pcm44Body(s), info));
  cap.run(100);
  for (size_t i : {0u, 1000u, 2000u, 3999u}) {
    EXPECT_NEAR(cap.left(i), s[i] * (1 - i / 4000.0), 1.5) << i;
    EXPECT_EQ(cap.right(i), s[i]) << i;
  }
}

TEST(SoundPlay, NoMultipleStopFlagAndStopSounds) {
  auto movie = [](bool noMultiple, bool stopTag, bool stopAction) {
    SwfWriter w(6, 100, 100, 10);
    w.tag(swf::tag::DefineSound, pcm44Body(ramp(44100)));
    w.tag(swf::tag::StartSound, startSoundBody(1, {}));
    w.showFrame();
    snd::SoundInfo again;
    again.noMultiple = noMultiple;
    w.tag(swf::tag::StartSound, startSoundBody(1, again));
    w.showFrame();
    snd::SoundInfo stop;
    stop.stop = true;
    if (stopTag) w.tag(swf::tag::StartSound, startSoundBody(1, stop));
    if (stopAction) w.doAction(std::vector<uint8_t>{0x09, 0x00});
    w.showFrame();
    w.tag(swf::tag::DoAction, std::vector<uint8_t>{0x07, 0x00});  // stop
    w.showFrame();
    return w.finish();
  };
  struct Case {
    bool noMultiple, stopTag, stopAction;
    size_t atFrame1, atFrame2;
  } cases[] = {{false, false, false, 2, 2},
               {true, false, false, 1, 1},
               {false, true, false, 2, 0},
               {false, false, true, 2, 0}};
  for (const Case& c : cases) {
    Capture cap(movie(c.noMultiple, c.stopTag, c.stopAction));
    cap.run(100);
    EXPECT_EQ(cap.player.sound().voiceCount(), c.atFrame1);
    cap.run(100);
    EXPECT_EQ(cap.player.sound().voiceCount(), c.atFrame2);
  }
}

TEST(SoundPlay, PauseSilencesAtOnceAndPlayGoesOnWhereItWas) {
  const auto s = ramp(44100);
  Capture cap(eventSoundMovie(pcm44Body(s)));
  cap.run(100);
  size_t before = cap.frames();
  cap.player.stop();
  cap.run(200);
  for (size_t i = before; i < cap.frames(); ++i) ASSERT_EQ(cap.left(i), 0);
  size_t paused = cap.frames();
  cap.player.play();
  cap.run(50);
  for (size_t i = 0; i < 100; ++i) ASSERT_EQ(cap.left(paused + i), s[before + i]);
}

TEST(SoundPlay, ClipSettingsApplyToItsSoundsAndStayBounded) {
  using T = snd::SoundTransform;
  const auto s = ramp(44100);
  struct Case {
    T own, global;
    double left, right;  // the gain each channel should get
  } cases[] = {
      {T::withPan(100, -100), {}, 1, 0},
      {T::withPan(100, 50), {}, 0.5, 1},
      {T::withPan(50, 0), T::withPan(50, 0), 0.25, 0.25},
      {T::withPan(1e308, std::nan("")), {}, 1, 1},
      {T::withPan(std::nan(""), 0), {}, 0, 0},
  };
  for (const Case& c : cases) {
    Capture cap(eventSoundMovie(pcm44Body(s)));
    cap.player.sound().setTransform(cap.player.levelRoot(0), c.own);
    cap.player.sound().setTransform(nullptr, c.global);
    cap.run(50);
    for (size_t i : {10u, 500u, 2000u}) {
      EXPECT_NEAR(cap.left(i), s[i] * c.left, 1.01) << i;
      EXPECT_NEAR(cap.right(i), s[i] * c.right, 1.01) << i;
    }
  }
}

TEST(SoundPlay, PositionDurationAndCompletionForScripts) {
  Capture cap(eventSoundMovie(pcm44Body(ramp(22050))));
  auto& e = cap.player.sound();
  EXPECT_DOUBLE_EQ(e.durationSeconds(1), 0.5);
  cap.player.sound().stopSound(1);
  auto v = e.start(1, {}, nullptr, 0.1);
  cap.run(200);
  EXPECT_NEAR(e.positionSeconds(v), 0.3, 0.01);
  EXPECT_TRUE(e.takeFinished().empty());
  cap.run(300);
  EXPECT_EQ(e.takeFinished(), std::vector<snd::SoundEngine::VoiceId>{v});
  EXPECT_FALSE(e.isPlaying(v));
  // A loaded MP3 file plays the same way.
  auto mp3 = avEncode(AV_CODEC_ID_MP3, 22050, 1, tone(440, 22050, 22050), 64000);
  if (mp3.empty()) return;
  auto clip = snd::SoundClip::fromMp3File(std::make_shared<std::vector<uint8_t>>(mp3));
  auto loaded = e.start(clip, {}, nullptr);
  cap.run(100);
  EXPECT_TRUE(e.isPlaying(loaded));
  EXPECT_NEAR(clip->durationSeconds(), 1.0, 0.1);
}

TEST(SoundPlay, AMovieInALevelPlaysItsOwnSoundOfTheSameId) {
  namespace fs = std::filesystem;
  fs::path dir = rvtest::scratchDir("rv_sound_levels_");
  auto level = eventSoundMovie(pcm44Body(std::vector<int16_t>(4410, 3000)));
  std::ofstream(dir / "level.swf", std::ios::binary)
      .write(reinterpret_cast<const char*>(level.data()), std::streamsize(level.size()));
  SwfWriter w(6, 100, 100, 10);
  w.tag(swf::tag::DefineSound, pcm44Body(std::vector<int16_t>(44100, -7000)));
  w.doAction(ActionBuilder().getURL("level.swf", "_level1").build());
  w.showFrame();
  w.tag(swf::tag::DoAction, ActionBuilder().stop().build());
  w.showFrame();
  auto root = w.finish();
  std::ofstream(dir / "root.swf", std::ios::binary)
      .write(reinterpret_cast<const char*>(root.data()), std::streamsize(root.size()));
  std::vector<float> made;
  swf::Player p;
  p.onAudio = [&](const float* st, size_t n) { made.insert(made.end(), st, st + 2 * n); };
  p.load((dir / "root.swf").string());
  p.advance(250);  // the level arrives with the second frame and plays from the third, 8820 in
  ASSERT_GT(made.size(), 2 * 8820 + 400u);
  EXPECT_EQ(std::lround(made[2 * 8820 + 200] * 32768), 3000);  // the level's sound 1
}

// Reads a vector as the resampler's source.
struct VectorSource : snd::FrameSource {
  std::vector<float> stereo;
  size_t at = 0;
  size_t pull(float* out, size_t frames) override {
    size_t n = std::min(frames, stereo.size() / 2 - at);
    std::copy_n(stereo.begin() + long(at * 2), n * 2, out);
    at += n;
    return n;
  }
};

TEST(SoundPlay, ResamplerPassesTheBandWithoutImages) {
  struct Case {
    double in, hz, minSnr;
  } cases[] = {{11025, 1000, 60}, {11025, 4000, 40},  {5512.5, 2000, 55},
               {22050, 9000, 50}, {48000, 15000, 50}, {44100, 5000, 90}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in << " Hz source, " << c.hz << " Hz tone");
    VectorSource src;
    size_t n = size_t(c.in);
    for (size_t i = 0; i < n; ++i) {
      float v = float(0.5 * std::sin(2 * M_PI * c.hz * i / c.in));
      src.stereo.push_back(v);
      src.stereo.push_back(v);
    }
    snd::Resampler r(c.in, 44100);
    std::vector<float> out(44100 / 2 * 2);
    r.process(src, out.data(), out.size() / 2);
    std::vector<int16_t> left;
    for (size_t i = 0; i < out.size() / 2; ++i)
      left.push_back(int16_t(std::lround(out[2 * i] * 32767)));
    // Images of an upsampled tone count as noise here.
    EXPECT_GT(sineSnr(left, 1, c.hz, 44100), c.minSnr);
  }
}

// A stream movie: `blockFrames(f)` samples of 11025 Hz (or `rate`) PCM per frame, value pattern
// telling the frames apart.
std::vector<uint8_t> streamMovie(int frames, double fps, int rateIndex,
                                 const std::function<size_t(int)>& blockFrames,
                                 std::vector<int16_t>* all = nullptr) {
  SwfWriter w(6, 100, 100, fps);
  w.tag(swf::tag::SoundStreamHead,
        soundStreamHeadBody(soundFormatByte(3, rateIndex, true, false), uint16_t(blockFrames(0))));
  for (int f = 0; f < frames; ++f) {
    std::vector<int16_t> b(blockFrames(f));
    for (size_t i = 0; i < b.size(); ++i) b[i] = int16_t(f * 7 + int(i % 50));
    if (all) all->insert(all->end(), b.begin(), b.end());
    w.tag(swf::tag::SoundStreamBlock, pcm16Bytes(b));
    w.showFrame();
  }
  return w.finish();
}

TEST(SoundPlay, StreamPacesItsTimelineUnderASlowRenderer) {
  struct Case {
    const char* what;
    std::function<size_t(int)> block;
    double samplesPerFrame;
  } cases[] = {
      {"exact blocks", [](int f) { return size_t((f + 1) * 918.75) - size_t(f * 918.75); }, 918.75},
      {"blocks longer than a frame", [](int) { return size_t(1000); }, 1000},
      {"blocks shorter than a frame", [](int) { return size_t(850); }, 850},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Capture cap(streamMovie(720, 12, 1, c.block));
    cap.player.setLoop(false);
    for (int step = 0; step < 200; ++step) {  // 50 s drawn 4 times a second
      cap.player.advance(250);
      double soundFrame = double(cap.player.audioFramesMade()) * 11025 / 44100 / c.samplesPerFrame;
      ASSERT_NEAR(cap.player.currentFrame(), soundFrame, 1.01) << "after " << step * 0.25 << " s";
    }
    EXPECT_GT(cap.player.framesSkipped(), 300u);
  }
}

TEST(SoundPlay, Mp3StreamBlocksPlayAsOneSound) {
  // One MP3 frame of 1152 samples a movie frame; the bit reservoir crosses the blocks.
  std::vector<std::vector<uint8_t>> packets;
  avEncode(AV_CODEC_ID_MP3, 44100, 1, tone(440, 44100, 44100 * 2), 64000, &packets);
  if (packets.empty()) GTEST_SKIP() << "no MP3 encoder";
  SwfWriter w(6, 100, 100, 44100.0 / 1152);
  w.tag(swf::tag::SoundStreamHead, soundStreamHeadBody(soundFormatByte(2, 3, true, false), 1152));
  for (const auto& p : packets) {
    std::vector<uint8_t> block = {0x80, 0x04, 0, 0};  // 1152 samples, no seek
    block.insert(block.end(), p.begin(), p.end());
    w.tag(swf::tag::SoundStreamBlock, block);
    w.showFrame();
  }
  Capture cap(w.finish());
  cap.run(1500, 40);
  std::vector<int16_t> left;
  for (size_t i = 0; i < cap.frames(); ++i) left.push_back(cap.left(i));
  EXPECT_GT(sineSnr(left, 1, 440, 44100), 20);
  EXPECT_NEAR(cap.player.currentFrame(), 1.5 * 44100 / 1152, 2);
}

TEST(SoundPlay, SeekRestartsTheStreamAtTheFramesPlace) {
  std::vector<int16_t> all;
  Capture cap(streamMovie(
      400, 12, 3, [](int) { return size_t(3675); }, &all));
  cap.run(500);
  cap.player.gotoFrame(300);
  size_t from = cap.frames();
  cap.player.play();
  cap.run(100);
  for (size_t i = 0; i < 3675; ++i) ASSERT_EQ(cap.left(from + i), all[300 * 3675 + i]) << i;
}

TEST(SoundPlay, SpriteStreamStopsWithItsSprite) {
  TagList sprite;
  sprite.tag(swf::tag::SoundStreamHead,
             soundStreamHeadBody(soundFormatByte(3, 3, true, false), 4410));
  for (int f = 0; f < 20; ++f) {
    sprite.tag(swf::tag::SoundStreamBlock, pcm16Bytes(std::vector<int16_t>(4410, 5000)));
    sprite.showFrame();
  }
  sprite.end();
  SwfWriter w(6, 100, 100, 10);
  w.defineSprite(2, sprite);
  w.placeObject2(placeNew(1, 2));
  w.showFrame();
  w.showFrame();
  w.removeObject2(1);
  w.showFrame();
  w.tag(swf::tag::DoAction, std::vector<uint8_t>{0x07, 0x00});
  w.showFrame();
  Capture cap(w.finish());
  cap.run(150);
  EXPECT_EQ(cap.left(100), 5000);
  cap.run(300);
  EXPECT_EQ(cap.left(cap.frames() - 1), 0);
}

TEST(SoundPlay, BlocksBeforeTheHeadAndFormatChangesStaySane) {
  SwfWriter w(6, 100, 100, 10);
  w.tag(swf::tag::SoundStreamBlock, std::vector<uint8_t>(4000, 0x7f));
  w.showFrame();
  w.tag(swf::tag::SoundStreamHead, soundStreamHeadBody(soundFormatByte(3, 3, true, true), 4410));
  w.tag(swf::tag::SoundStreamBlock, std::vector<uint8_t>(4000, 0x12));
  w.showFrame();
  for (int codec : {1, 2, 6, 11, 5}) {
    w.tag(swf::tag::SoundStreamHead2,
          soundStreamHeadBody(soundFormatByte(codec, 2, true, false), 2205));
    w.tag(swf::tag::SoundStreamBlock, std::vector<uint8_t>(3000, 0xc3));
    w.tag(swf::tag::StartSound, startSoundBody(99, {}));  // no such sound
    w.showFrame();
  }
  Capture cap(w.finish());
  cap.run(2000);
  // Garbage decodes to noise, but never beyond what a full-scale signal can ring to.
  for (float v : cap.stereo) ASSERT_LE(std::abs(v), 2.0f);
}

}  // namespace
