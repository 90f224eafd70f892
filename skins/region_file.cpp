#include "skins/region_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace rv {
namespace {

constexpr uint32_t kHeaderSize = 32;  // RGNDATAHEADER
constexpr uint32_t kRectangles = 1;   // RDH_RECTANGLES, the only kind there is
constexpr uint32_t kRectSize = 16;

uint32_t u32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
int32_t i32(const uint8_t* p) { return static_cast<int32_t>(u32(p)); }

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool withinLimit(int32_t v) { return v >= -kRegionCoordinateLimit && v <= kRegionCoordinateLimit; }

// The RGNDATA block itself: its header must say what it is and hold as many rectangles as it
// claims within the block's length.
RegionFileContent parseBlock(std::span<const uint8_t> block) {
  RegionFileContent invalid{RegionFileContent::Kind::Invalid, {}};
  if (block.size() < kHeaderSize) return invalid;
  const uint8_t* p = block.data();
  if (u32(p) != kHeaderSize || u32(p + 4) != kRectangles) return invalid;
  const uint32_t count = u32(p + 8);
  if (count > (block.size() - kHeaderSize) / kRectSize) return invalid;
  RegionFileContent region{RegionFileContent::Kind::Region, {}};
  region.rects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* r = p + kHeaderSize + i * kRectSize;
    RegionRect rect{i32(r), i32(r + 4), i32(r + 8), i32(r + 12)};
    if (!withinLimit(rect.left) || !withinLimit(rect.top) || !withinLimit(rect.right) ||
        !withinLimit(rect.bottom))
      return invalid;
    // Empty and inverted rectangles add nothing to a region.
    if (rect.left < rect.right && rect.top < rect.bottom) region.rects.push_back(rect);
  }
  return region;
}

}  // namespace

RegionFileContent parseRegionFile(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4) return {};
  const uint32_t n = u32(bytes.data());
  if (n == 0 || n > bytes.size() - 4) return {};
  if (n > kRegionDataLimit) return {RegionFileContent::Kind::Invalid, {}};
  return parseBlock(bytes.subspan(4, n));
}

std::optional<RegionFileContent> readRegionFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{f};
  uint8_t head[4];
  if (std::fread(head, 1, 4, f) != 4) return RegionFileContent{};
  const uint32_t n = u32(head);
  if (n == 0) return RegionFileContent{};
  // A length past the limit is refused before anything is allocated for it, unless the file is
  // too short to hold it anyway (which keeps the outline, as any short file does).
  std::vector<uint8_t> bytes(head, head + 4);
  const uint32_t wanted = n > kRegionDataLimit ? kRegionDataLimit + 1 : n;
  bytes.resize(4 + std::size_t{wanted});
  const std::size_t got = std::fread(bytes.data() + 4, 1, wanted, f);
  if (got < wanted) return RegionFileContent{};
  if (n > kRegionDataLimit) return RegionFileContent{RegionFileContent::Kind::Invalid, {}};
  return parseRegionFile(bytes);
}

std::vector<uint8_t> regionFileBytes(const std::vector<RegionRect>& rects) {
  RegionRect bounds;
  bool first = true;
  for (const RegionRect& r : rects) {
    if (first) {
      bounds = r;
      first = false;
      continue;
    }
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  const uint32_t dataSize = static_cast<uint32_t>(rects.size()) * kRectSize;
  std::vector<uint8_t> out;
  out.reserve(4 + kHeaderSize + dataSize);
  put32(out, kHeaderSize + dataSize);
  put32(out, kHeaderSize);
  put32(out, kRectangles);
  put32(out, static_cast<uint32_t>(rects.size()));
  put32(out, dataSize);
  for (int32_t v : {bounds.left, bounds.top, bounds.right, bounds.bottom})
    put32(out, static_cast<uint32_t>(v));
  for (const RegionRect& r : rects)
    for (int32_t v : {r.left, r.top, r.right, r.bottom}) put32(out, static_cast<uint32_t>(v));
  return out;
}

std::vector<RegionRect> regionFromMask(int width, int height,
                                       const std::function<bool(int x, int y)>& inside) {
  std::vector<RegionRect> rects;
  std::vector<RegionRect> above;  // the runs of the band that ends at the current row
  std::size_t aboveStart = 0;     // where `above` begins in `rects`
  for (int y = 0; y < height; ++y) {
    std::vector<RegionRect> runs;
    for (int x = 0; x < width;) {
      if (!inside(x, y)) {
        ++x;
        continue;
      }
      int end = x;
      while (end < width && inside(end, y)) ++end;
      runs.push_back({x, y, end, y + 1});
      x = end;
    }
    bool same = !runs.empty() && runs.size() == above.size();
    for (std::size_t i = 0; same && i < runs.size(); ++i)
      same = runs[i].left == above[i].left && runs[i].right == above[i].right;
    if (same) {
      // The row repeats the band above: the band grows by one row.
      for (std::size_t i = 0; i < runs.size(); ++i) rects[aboveStart + i].bottom = y + 1;
      continue;
    }
    aboveStart = rects.size();
    rects.insert(rects.end(), runs.begin(), runs.end());
    above = std::move(runs);
  }
  return rects;
}

}  // namespace rv
