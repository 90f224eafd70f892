#pragma once
// How the playlist box looks: what the Qt layer needs to draw its rows.

#include <cstdint>

namespace rv {

inline constexpr int kListRowHeight = 15;
inline constexpr int kListFontPixels = 11;              // sans-serif, regular
inline constexpr uint32_t kListFontColor = 0x008000;    // green (0x00BBGGRR)
inline constexpr uint32_t kCurrentRowColor = 0x0000FF;  // red
inline constexpr int kListTextIndent = 4;               // text starts at the row's left + 4

}  // namespace rv
