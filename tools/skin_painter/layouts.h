#pragma once
// The skins we ship: where every control of the main window sits, the window's shape and its
// colours. The painter draws from these and writes the matching skin.ini.

#include <cstdint>
#include <string>
#include <vector>

namespace rvskin {

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
};

struct Rgb {
  double r, g, b;
};

enum class Corners { Rounded, Cut };

struct Layout {
  std::string name;
  int width = 0, height = 0;  // the window without the playlist panel
  int listWidth = 0;          // the window with it
  Corners corners = Corners::Rounded;
  int cornerSize = 0;

  Box movie;                      // Flash1
  Box open, opendir;              // spots, with their hover pictures at the same place
  Box volume;                     // the five bars; vc1..vc5 split it evenly
  Box nameDisplay;                // the panel the name label sits in
  int nameLeft = 0, nameTop = 0;  // lblfilename (54 pixels wide, centred)
  Box minimise, fullscreen, close;
  Box play, pause;
  int timeLeft = 0, timeTop = 0;
  Box track;  // Imagejct0
  int knobWidth = 0, knobHeight = 0;
  int frameLeft = 0, frameTop = 0;
  Box listButton;     // listbtnon and listbtnoff share it
  Box list, preview;  // the playlist box and the preview control
  Box readoutPanel;   // recessed panel behind the time, seek bar and frame

  Rgb bodyTop, bodyBottom, accent;
  uint32_t labelColor = 0;  // 0x00BBGGRR
  uint32_t listColor = 0;
};

std::vector<Layout> shippedSkins();

}  // namespace rvskin
