// Fuzzes reading a window outline file: any bytes give "no data", "no region" or rectangles
// that are non-empty and within the coordinate limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skins/region_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const rv::RegionFileContent read = rv::parseRegionFile(std::span<const uint8_t>(data, size));
  for (const rv::RegionRect& r : read.rects) {
    if (r.left >= r.right || r.top >= r.bottom) std::abort();
    if (r.left < -rv::kRegionCoordinateLimit || r.right > rv::kRegionCoordinateLimit ||
        r.top < -rv::kRegionCoordinateLimit || r.bottom > rv::kRegionCoordinateLimit)
      std::abort();
  }
  if (read.kind != rv::RegionFileContent::Kind::Region && !read.rects.empty()) std::abort();
  // What the writer makes of the rectangles reads back the same.
  if (read.kind == rv::RegionFileContent::Kind::Region) {
    const auto again = rv::parseRegionFile(rv::regionFileBytes(read.rects));
    if (again.rects != read.rects) std::abort();
  }
  return 0;
}
