// The sound device's side without a device: the ring between the UI tick and the callback, and
// what the callback makes of the channels.
#include <gtest/gtest.h>

#include <numeric>

#include "platform/audio_output.h"
#include "platform/output_gain.h"

namespace {

TEST(AudioRing, KeepsOrderAcrossTheWrapAndRefusesWhatDoesNotFit) {
  rv::AudioRing ring(100);
  std::vector<float> src(2 * 2000), out(2 * 70);
  std::iota(src.begin(), src.end(), 0.0f);
  size_t written = 0, read = 0;
  for (int round = 0; round < 10; ++round) {  // 100 through a ring of 101 slots: always wraps
    written += ring.write(src.data() + 2 * written, 70);
    size_t more = ring.write(src.data() + 2 * written, 70);
    ASSERT_EQ(more, 30u);  // full at 100
    written += more;
    for (size_t n : {70u, 30u}) {
      ASSERT_EQ(ring.read(out.data(), n), n);
      for (size_t i = 0; i < 2 * n; ++i) ASSERT_EQ(out[i], float(2 * read + i));
      read += n;
    }
    ASSERT_EQ(ring.queued(), 0u);
  }
}

TEST(AudioOutput, ChannelsAddUpThroughTheOutputGainAfterALead) {
  rv::AudioOutput output(rv::AudioOutput::Mode::Pulled);
  auto a = output.addChannel(), b = output.addChannel();
  std::vector<float> half(2 * 100, 0.5f), quarter(2 * 100, 0.25f);
  a->push(half.data(), 100);
  b->push(quarter.data(), 100);
  EXPECT_EQ(a->queued(), rv::AudioOutput::kLeadFrames + 100);
  rv::setOutputGain({0.5f, 1.0f});
  std::vector<float> out(2 * (rv::AudioOutput::kLeadFrames + 200), 0.0f);
  output.pull(out.data(), out.size() / 2);
  rv::setOutputGain({1.0f, 1.0f});
  const size_t at = rv::AudioOutput::kLeadFrames;
  EXPECT_EQ(out[0], 0.0f);                  // the lead is silence
  EXPECT_FLOAT_EQ(out[2 * at], 0.375f);     // left at half gain
  EXPECT_FLOAT_EQ(out[2 * at + 1], 0.75f);  // right at full
  EXPECT_EQ(out[2 * (at + 150)], 0.0f);     // an underrun is silence
  output.removeChannel(b);
  // A machine without a device takes everything and plays nothing.
  rv::AudioOutput silent(rv::AudioOutput::Mode::Silent);
  auto c = silent.addChannel();
  c->push(half.data(), 100);
  EXPECT_EQ(c->queued(), 0u);
}

}  // namespace
