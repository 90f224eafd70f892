#pragma once
// Region files: the window outline a skin ships, as a 32-bit little-endian length N followed by
// N bytes of a Windows RGNDATA block (a 32-byte header, then rectangles of four little-endian
// 32-bit numbers: left, top, right, bottom, with right and bottom exclusive). Bytes after the
// block are ignored. The reader trusts nothing in the file.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rv {

struct RegionRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const RegionRect&) const = default;
};

struct RegionFileContent {
  enum class Kind {
    NoData,   // N is 0, or the file is shorter than 4 + N bytes: the outline stays as it was
    Invalid,  // a block that is no region: no outline
    Region,   // `rects` hold the outline (empty rectangles of the block dropped)
  };
  Kind kind = Kind::NoData;
  std::vector<RegionRect> rects;
};

// Coordinates beyond this (either sign) make a block invalid: no window is that large.
inline constexpr int32_t kRegionCoordinateLimit = 32767;
// Blocks longer than this are not read; they count as invalid.
inline constexpr uint32_t kRegionDataLimit = 16u << 20;

RegionFileContent parseRegionFile(std::span<const uint8_t> bytes);

// Reads the file at `path`; nullopt when it cannot be opened. Only the bytes the length field
// promises are read, and never more than kRegionDataLimit.
std::optional<RegionFileContent> readRegionFile(const std::string& path);

// The bytes of a region file holding `rects` (the form GetRegionData gives: header, bounds,
// rectangles).
std::vector<uint8_t> regionFileBytes(const std::vector<RegionRect>& rects);

// The rectangles of a mask, row bands merged downwards where a band repeats the one above:
// `inside(x, y)` tells whether a pixel belongs to the outline.
std::vector<RegionRect> regionFromMask(int width, int height,
                                       const std::function<bool(int x, int y)>& inside);

}  // namespace rv
