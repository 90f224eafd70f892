// The player's own output gain, used where the machine has no system mixer.

#include "platform/mixer.h"

#include <gtest/gtest.h>

#include "platform/output_gain.h"

namespace rv::test {
namespace {

TEST(SoftwareMixer, StartsFullAndKeepsEachChannelsLevel) {
  auto mixer = makeSoftwareMixer();
  EXPECT_EQ(mixer->volume(), 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(outputGain().left, 1.0f);

  mixer->setVolume(0x75301388);  // right 30000, left 5000
  EXPECT_EQ(mixer->volume(), 0x75301388u);
  EXPECT_NEAR(outputGain().left, 5000 / 65535.0, 1e-6);
  EXPECT_NEAR(outputGain().right, 30000 / 65535.0, 1e-6);

  mixer->setVolume(0);
  EXPECT_EQ(outputGain().left, 0.0f);
  EXPECT_EQ(outputGain().right, 0.0f);
  mixer.reset();
  setOutputGain({1.0f, 1.0f});
}

TEST(SystemMixer, AlwaysGivesAMixerThatRemembersWhatItWasSet) {
  // With or without sound hardware: a system mixer rounds to its steps, ours keeps the value.
  auto mixer = makeSystemMixer();
  ASSERT_NE(mixer, nullptr);
  const uint32_t before = mixer->volume();
  mixer->setVolume(before);
  EXPECT_NEAR(static_cast<double>(mixer->volume() >> 16), before >> 16, 700.0);
}

}  // namespace
}  // namespace rv::test
