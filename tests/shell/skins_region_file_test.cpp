// Region files: what the writer makes the reader reads back, masks become banded rectangles, and
// files that lie give no outline instead of a crash.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "skins/region_file.h"
#include "tests/shell/fakes/temp_program_dir.h"

namespace rv {
namespace {

using Kind = RegionFileContent::Kind;

std::vector<uint8_t> le32(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> out;
  for (uint32_t w : words)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(w >> (8 * i)));
  return out;
}

TEST(RegionFileTest, WrittenRectanglesReadBack) {
  const std::vector<RegionRect> rects{{2, 0, 98, 1}, {0, 1, 100, 60}, {-5, 60, 32767, 61}};
  const std::vector<uint8_t> bytes = regionFileBytes(rects);
  ASSERT_EQ(bytes.size(), 4u + 32 + 3 * 16);
  const RegionFileContent read = parseRegionFile(bytes);
  EXPECT_EQ(read.kind, Kind::Region);
  EXPECT_EQ(read.rects, rects);
  // Bytes after the block are ignored.
  std::vector<uint8_t> longer = bytes;
  longer.insert(longer.end(), {1, 2, 3});
  EXPECT_EQ(parseRegionFile(longer).rects, rects);
}

TEST(RegionFileTest, MaskBecomesRowBands) {
  // A 6 x 4 mask with its top corners cut: row 0 is x 1..4, rows 1-3 are whole, with a hole at
  // (2, 3).
  auto inside = [](int x, int y) {
    if (y == 0) return x >= 1 && x <= 4;
    return !(y == 3 && x == 2);
  };
  const std::vector<RegionRect> expected{{1, 0, 5, 1}, {0, 1, 6, 3}, {0, 3, 2, 4}, {3, 3, 6, 4}};
  EXPECT_EQ(regionFromMask(6, 4, inside), expected);
  EXPECT_TRUE(regionFromMask(3, 3, [](int, int) { return false; }).empty());
}

TEST(RegionFileTest, FilesThatLieGiveNoRegionOrKeepTheOutline) {
  const std::vector<uint8_t> header = le32({32, 1, 1, 16, 0, 0, 10, 10});
  auto file = [](std::vector<uint8_t> block, int extraLength = 0) {
    std::vector<uint8_t> out = le32({static_cast<uint32_t>(block.size() + extraLength)});
    out.insert(out.end(), block.begin(), block.end());
    return out;
  };
  auto with = [&](std::vector<uint8_t> head, std::initializer_list<uint32_t> rect) {
    std::vector<uint8_t> r = le32(rect);
    head.insert(head.end(), r.begin(), r.end());
    return head;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    Kind kind;
  };
  const Case cases[] = {
      {"empty file", {}, Kind::NoData},
      {"three bytes", {1, 0, 0}, Kind::NoData},
      {"length zero", le32({0}), Kind::NoData},
      {"shorter than its length", file(with(header, {0, 0, 5, 5}), 1), Kind::NoData},
      {"block shorter than a header", file({1, 2, 3, 4}), Kind::Invalid},
      {"header size not 32", file(with(le32({31, 1, 1, 16, 0, 0, 0, 0}), {0, 0, 5, 5})),
       Kind::Invalid},
      {"not rectangles", file(with(le32({32, 2, 1, 16, 0, 0, 0, 0}), {0, 0, 5, 5})), Kind::Invalid},
      {"count past the block", file(with(le32({32, 1, 2, 32, 0, 0, 0, 0}), {0, 0, 5, 5})),
       Kind::Invalid},
      {"count near 2^32", file(with(le32({32, 1, 0xFFFFFFFF, 0, 0, 0, 0, 0}), {0, 0, 5, 5})),
       Kind::Invalid},
      {"coordinate past 32767", file(with(header, {0, 0, 40000, 5})), Kind::Invalid},
      {"negative coordinate past the limit", file(with(header, {0xFFFF0000, 0, 5, 5})),
       Kind::Invalid},
      {"inverted rectangle", file(with(header, {5, 5, 0, 0})), Kind::Region},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RegionFileContent read = parseRegionFile(c.bytes);
    EXPECT_EQ(read.kind, c.kind);
    EXPECT_TRUE(read.rects.empty());
  }
}

TEST(RegionFileTest, FilesOnDiskAreReadOnlyAsFarAsTheirLengthAllows) {
  test::TempProgramDir dir;
  EXPECT_FALSE(readRegionFile(dir.path("missing.rgn")));
  const std::vector<uint8_t> good = regionFileBytes({{0, 0, 4, 4}});
  dir.write("good.rgn", std::string(good.begin(), good.end()));
  EXPECT_EQ(readRegionFile(dir.path("good.rgn"))->rects, (std::vector<RegionRect>{{0, 0, 4, 4}}));
  // A 2 GB file that claims to be all region data is refused without reading it all.
  const std::string huge = dir.path("huge.rgn");
  {
    std::ofstream out(huge, std::ios::binary);
    const std::vector<uint8_t> n = le32({0x7FFFFFF0});
    out.write(reinterpret_cast<const char*>(n.data()), 4);
  }
  ASSERT_EQ(truncate(huge.c_str(), 0x7FFFFFF4), 0);
  EXPECT_EQ(readRegionFile(huge)->kind, Kind::Invalid);
  ASSERT_EQ(truncate(huge.c_str(), 1000), 0);
  EXPECT_EQ(readRegionFile(huge)->kind, Kind::NoData);
}

}  // namespace
}  // namespace rv
