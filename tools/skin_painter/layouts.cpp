#include "layouts.h"

namespace rvskin {

std::vector<Layout> shippedSkins() {
  Layout d;
  d.name = "Default";
  d.width = 504;
  d.height = 382;
  d.listWidth = 675;
  d.corners = Corners::Rounded;
  d.cornerSize = 18;
  d.movie = {9, 72, 481, 264};
  d.open = {16, 34, 24, 24};
  d.opendir = {44, 34, 24, 24};
  d.volume = {78, 34, 45, 24};
  d.nameDisplay = {134, 32, 270, 28};
  d.nameLeft = 242;
  d.nameTop = 39;
  d.minimise = {420, 36, 20, 20};
  d.fullscreen = {444, 36, 20, 20};
  d.close = {468, 36, 20, 20};
  d.play = {12, 346, 28, 28};
  d.pause = {44, 346, 28, 28};
  d.readoutPanel = {78, 348, 388, 24};
  d.timeLeft = 84;
  d.timeTop = 354;
  d.track = {116, 350, 274, 20};
  d.knobWidth = 14;
  d.knobHeight = 20;
  d.frameLeft = 402;
  d.frameTop = 354;
  d.listButton = {472, 348, 24, 24};
  d.list = {514, 72, 151, 176};
  d.preview = {514, 262, 151, 74};
  d.bodyTop = {0.27, 0.30, 0.35};
  d.bodyBottom = {0.13, 0.14, 0.17};
  d.accent = {0.25, 0.70, 0.98};
  d.labelColor = 0x00F8E0B0;
  d.listColor = 0x00F7F1EC;

  Layout c;
  c.name = "Compact";
  c.width = 384;
  c.height = 276;
  c.listWidth = 544;
  c.corners = Corners::Cut;
  c.cornerSize = 12;
  c.movie = {8, 36, 368, 207};
  c.open = {10, 7, 22, 22};
  c.opendir = {34, 7, 22, 22};
  c.volume = {298, 248, 40, 22};
  c.nameDisplay = {62, 8, 234, 20};
  c.nameLeft = 152;
  c.nameTop = 11;
  c.minimise = {304, 8, 20, 20};
  c.fullscreen = {328, 8, 20, 20};
  c.close = {352, 8, 20, 20};
  c.play = {10, 247, 24, 24};
  c.pause = {36, 247, 24, 24};
  c.readoutPanel = {64, 249, 228, 20};
  c.timeLeft = 68;
  c.timeTop = 253;
  c.track = {96, 250, 140, 18};
  c.knobWidth = 12;
  c.knobHeight = 18;
  c.frameLeft = 246;
  c.frameTop = 253;
  c.listButton = {344, 248, 30, 22};
  c.list = {386, 36, 150, 122};
  c.preview = {386, 168, 150, 75};
  c.bodyTop = {0.36, 0.26, 0.30};
  c.bodyBottom = {0.16, 0.11, 0.14};
  c.accent = {1.00, 0.62, 0.28};
  c.labelColor = 0x00C0E8FF;
  c.listColor = 0x00EEF4FA;
  return {d, c};
}

}  // namespace rvskin
