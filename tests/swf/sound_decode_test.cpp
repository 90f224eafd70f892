// Decoding every sound format: PCM and ADPCM sample for sample, the lossy codecs by how close a
// tone comes back, and hostile bodies by staying bounded.
#include <gtest/gtest.h>

#include <random>

#include "sound_support.h"
#include "swf/author/av_encode.h"
#include "swf/sound/packet_decoder.h"

namespace {

using namespace rvtest;
namespace snd = swf::sound;

constexpr double kRates[4] = {5512.5, 11025, 22050, 44100};

TEST(SoundDecode, PcmEveryLayoutSampleForSample) {
  for (int codec : {0, 3})
    for (bool sixteen : {false, true})
      for (bool stereo : {false, true})
        for (int rate = 0; rate < 4; ++rate) {
          SCOPED_TRACE(testing::Message() << "codec " << codec << " 16-bit " << sixteen
                                          << " stereo " << stereo << " rate " << rate);
          const int ch = stereo ? 2 : 1;
          std::vector<int16_t> signal = tone(440, kRates[rate], 3000, ch);
          std::vector<uint8_t> data;
          std::vector<int16_t> want;
          if (sixteen) {
            data = pcm16Bytes(signal);
            want = signal;
          } else {
            for (int16_t s : signal) {
              uint8_t u = uint8_t((s >> 8) + 128);
              data.push_back(u);
              want.push_back(int16_t((u - 128) << 8));
            }
          }
          double r = 0;
          auto got = decodeAll(
              defineSoundBody(1, soundFormatByte(codec, rate, sixteen, stereo), 3000, data), &r);
          EXPECT_EQ(got, want);
          EXPECT_EQ(r, kRates[rate]);
        }
}

TEST(SoundDecode, AdpcmDecodesWhatOurEncoderWroteAcrossPackets) {
  for (int bits = 2; bits <= 5; ++bits)
    for (int ch = 1; ch <= 2; ++ch) {
      SCOPED_TRACE(testing::Message() << bits << " bits, " << ch << " channels");
      const size_t frames = 10000;  // three packets, the last one short
      std::vector<int16_t> signal = tone(300, 22050, frames, ch), reconstructed;
      auto data = encodeAdpcm(signal, ch, bits, &reconstructed);
      auto got = decodeAll(
          defineSoundBody(1, soundFormatByte(1, 2, true, ch == 2), uint32_t(frames), data));
      ASSERT_EQ(got.size(), signal.size());
      EXPECT_EQ(got, reconstructed);
      // And the encoder is a real one: more bits, closer to the tone.
      EXPECT_GT(sineSnr(got, ch, 300, 22050), bits * 4.0);
    }
}

TEST(SoundDecode, Mp3EveryMpegVersionAndChannelMode) {
  struct Case {
    int rate, channels;
  } cases[] = {{44100, 2}, {48000, 1}, {32000, 2}, {22050, 1}, {24000, 2},
               {16000, 1}, {11025, 1}, {12000, 2}, {8000, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " channels");
    auto signal = tone(440, c.rate, size_t(c.rate / 2), c.channels);
    auto mp3 =
        avEncode(AV_CODEC_ID_MP3, c.rate, c.channels, signal, c.rate >= 32000 ? 128000 : 32000);
    if (mp3.empty()) GTEST_SKIP() << "no MP3 encoder";
    std::vector<uint8_t> data = {0, 0};  // SeekSamples
    data.insert(data.end(), mp3.begin(), mp3.end());
    double r = 0;
    auto got = decodeAll(defineSoundBody(1, soundFormatByte(2, 3, true, c.channels == 2),
                                         uint32_t(c.rate / 2), data),
                         &r);
    EXPECT_EQ(r, c.rate);
    ASSERT_GT(got.size(), size_t(c.rate / 4) * size_t(c.channels));
    // LAME keeps less of a tone at the lowest rates and bit rates.
    EXPECT_GT(sineSnr(got, c.channels, 440, c.rate), c.rate >= 16000 ? 20 : 10);
  }
}

TEST(SoundDecode, Mp3SeekSamplesDropTheEncoderDelay) {
  auto signal = tone(440, 44100, 22050);
  auto mp3 = avEncode(AV_CODEC_ID_MP3, 44100, 1, signal, 128000);
  if (mp3.empty()) GTEST_SKIP() << "no MP3 encoder";
  std::vector<uint8_t> plain = {0, 0}, skipped = {0x40, 0x06};  // 1600 frames
  plain.insert(plain.end(), mp3.begin(), mp3.end());
  skipped.insert(skipped.end(), mp3.begin(), mp3.end());
  auto a = decodeAll(defineSoundBody(1, soundFormatByte(2, 3, true, false), 0, plain));
  auto b = decodeAll(defineSoundBody(1, soundFormatByte(2, 3, true, false), 0, skipped));
  ASSERT_EQ(a.size(), b.size() + 1600);
  EXPECT_TRUE(std::equal(b.begin(), b.end(), a.begin() + 1600));
}

TEST(SoundDecode, NellymoserEveryRateAndSpeex) {
  struct Case {
    int codec, rateIndex, rate;
  } cases[] = {{5, 0, 8000},  {4, 0, 16000}, {6, 0, 5512},
               {6, 1, 11025}, {6, 2, 22050}, {6, 3, 44100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "Nellymoser at " << c.rate);
    double rate = c.codec == 6 ? kRates[c.rateIndex] : c.rate;
    auto data = avEncode(AV_CODEC_ID_NELLYMOSER, int(rate), 1, tone(500, rate, size_t(rate)));
    if (data.empty()) continue;  // the encoder does not take every rate the format allows
    double r = 0;
    auto got = decodeAll(
        defineSoundBody(1, soundFormatByte(c.codec, c.rateIndex, true, false), 0, data), &r);
    EXPECT_EQ(r, rate);
    ASSERT_GT(got.size(), size_t(rate / 2));
    EXPECT_GT(sineSnr(got, 1, 500, rate), 10);
  }
  // Speex comes in stream blocks of one packet each.
  std::vector<std::vector<uint8_t>> packets;
  avEncode(AV_CODEC_ID_SPEEX, 16000, 1, tone(500, 16000, 16000), 0, &packets);
  if (packets.empty()) GTEST_SKIP() << "no Speex encoder";
  auto speex =
      snd::makePacketDecoder(snd::soundFormatFromByte(soundFormatByte(11, 0, true, false)));
  ASSERT_TRUE(speex);
  std::vector<int16_t> got;
  for (const auto& p : packets) speex->decode(p, got);
  ASSERT_GT(got.size(), 12000u);
  EXPECT_GT(sineSnr(got, 1, 500, 16000), 3);
}

TEST(SoundDecode, HostileBodiesStayBoundedAndQuiet) {
  std::mt19937 rng(7);
  std::vector<uint8_t> noise(20000);
  for (auto& b : noise) b = uint8_t(rng());
  struct Case {
    const char* what;
    std::vector<uint8_t> body;
    size_t maxFrames;
  } cases[] = {
      {"no header", {1, 0}, 0},
      {"no samples", defineSoundBody(1, 0x0f, 0, {}), 0},
      {"2^32 samples declared",
       defineSoundBody(1, soundFormatByte(3, 3, true, false), 0xffffffff, std::vector<uint8_t>(8)),
       4},
      {"unknown codec", defineSoundBody(1, 0x70, 100, noise), 0},
      {"MP3 of noise", defineSoundBody(1, soundFormatByte(2, 3, true, true), 0xffffffff, noise),
       2000000},
      {"ADPCM cut short",
       defineSoundBody(1, soundFormatByte(1, 1, true, false), 0xffffffff,
                       std::vector<uint8_t>(3, 0xff)),
       1},
      {"Nellymoser of noise",
       defineSoundBody(1, soundFormatByte(6, 1, true, false), 0xffffffff, noise), 80000},
      {"Speex of noise", defineSoundBody(1, soundFormatByte(11, 0, true, false), 0xffffffff, noise),
       2000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto got = decodeAll(c.body);
    EXPECT_LE(got.size(), c.maxFrames * 2);
  }
}

TEST(SoundDecode, StreamBlocksBeforeAHeadOrAcrossFormatsPlaySafely) {
  // A format change mid-stream starts a fresh decoder; every block of garbage stays bounded.
  for (int codec : {0, 1, 2, 3, 4, 5, 6, 11, 9}) {
    SCOPED_TRACE(codec);
    auto d = snd::makePacketDecoder(snd::soundFormatFromByte(uint8_t(codec << 4 | 0x0e)));
    if (!d) continue;
    std::vector<int16_t> out;
    std::vector<uint8_t> block(4096, 0xa5);
    for (int i = 0; i < 4; ++i) d->decode(block, out);
    EXPECT_LE(out.size(), size_t(4 * 4096 * 8 * 2));
  }
}

}  // namespace
