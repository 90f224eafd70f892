// checklistwidth estimates entries from their characters and measures only the widest ones:
// its result must still be the one measuring every entry gives.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "tests/shell/fakes/shell_rig.h"

namespace rv::test {
namespace {

// A font with fractional advances and kerning that narrows "AV" and "To".
int kernedWidth(const std::string& text) {
  double w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    w += c >= 0x80 ? 3.6 : 4.25 + (c % 7) * 0.75;
    if (i > 0) {
      std::string pair = text.substr(i - 1, 2);
      if (pair == "AV" || pair == "To") w -= 1.75;
    }
  }
  return static_cast<int>(std::lround(w));
}

int bruteForce(const std::vector<std::string>& items) {
  int best = 0;
  for (size_t i = 0; i < items.size(); ++i)
    best = std::max(best, kernedWidth(items[i]) + (i <= 100 ? 35 : 50));
  return best;
}

TEST(PlaylistWidth, EstimatesNeverChangeTheResult) {
  ShellRig rig;
  auto form = rig.form();
  form->services.textWidth = &kernedWidth;
  std::mt19937 random(7);
  const std::string alphabet = "AVTof)abc/ _.\xC3\xA9";  // "é" as two bytes, too
  for (int round = 0; round < 40; ++round) {
    auto& items = form->flashlist.items;
    items.clear();
    int count = 1 + static_cast<int>(random() % 300);
    for (int i = 0; i < count; ++i) {
      std::string s = "/m/";
      int len = 10 + static_cast<int>(random() % 40);
      for (int k = 0; k < len; ++k) s += alphabet[random() % alphabet.size()];
      items.push_back(s + ".swf");
    }
    form->checklistwidth();
    ASSERT_EQ(form->listwidth, bruteForce(items)) << "round " << round;
  }
  form->flashlist.items.clear();
  form->checklistwidth();
  EXPECT_EQ(form->listwidth, 0);
}

}  // namespace
}  // namespace rv::test
