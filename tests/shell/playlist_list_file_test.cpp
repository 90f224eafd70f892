// Reading and writing list files: the count syntax, play-mode words, line ends, and bad input.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "app/errors.h"
#include "playlist/list_file.h"
#include "tests/shell/fakes/temp_program_dir.h"

namespace rv {
namespace {

using Status = ListFileContent::Status;

TEST(PlaylistCount, AcceptsDecimalSignsBlanksAndHexadecimal) {
  EXPECT_EQ(parseCount("2"), 2);
  EXPECT_EQ(parseCount("   12"), 12);
  EXPECT_EQ(parseCount("+7"), 7);
  EXPECT_EQ(parseCount("-3"), -3);
  EXPECT_EQ(parseCount("$1F"), 31);
  EXPECT_EQ(parseCount("x10"), 16);
  EXPECT_EQ(parseCount("X10"), 16);
  EXPECT_EQ(parseCount("0x10"), 16);
  EXPECT_EQ(parseCount("0XfF"), 255);
  EXPECT_EQ(parseCount("0"), 0);
  EXPECT_EQ(parseCount("2147483647"), 2147483647);
  EXPECT_EQ(parseCount("-2147483648"), INT32_MIN);
  EXPECT_EQ(parseCount("$FFFFFFFF"), -1);  // a 32-bit word
}

TEST(PlaylistCount, RefusesAnythingElse) {
  for (const char* bad : {"", " ", "2 ", "1.5", "two", "--1", "+", "$", "0x", "x", "2147483648",
                          "-2147483649", "$100000000", "\t2", "0x1G", "12a"})
    EXPECT_FALSE(parseCount(bad).has_value()) << '"' << bad << '"';
}

class PlaylistListFile : public ::testing::Test {
 protected:
  ListFileContent read(const std::string& content, bool playModes = true) {
    dir.write("l.flt", content);
    return readListFileAt(dir.path("l.flt"), playModes);
  }
  test::TempProgramDir dir;
};

TEST_F(PlaylistListFile, ReadsPlayModeCountAndEntries) {
  auto c = read("mtv_list\r\n2\r\n/m/a.swf\r\n/m/b.swf\r\n");
  EXPECT_EQ(c.status, Status::Ok);
  EXPECT_EQ(c.playMode, PlayModeWord::MtvList);
  EXPECT_EQ(c.entries, (std::vector<std::string>{"/m/a.swf", "/m/b.swf"}));
}

TEST_F(PlaylistListFile, LineEndsLfCrLfAndLoneCr) {
  auto lf = read("2\n/m/a.swf\n/m/b.swf\n");
  auto crlf = read("2\r\n/m/a.swf\r\n/m/b.swf\r\n");
  EXPECT_EQ(lf.entries, crlf.entries);
  auto lone = read("2\r\n/m/a\r.swf\r\r\n/m/b.swf");  // no line end after the last line
  EXPECT_EQ(lone.entries, (std::vector<std::string>{"/m/a.swf", "/m/b.swf"}));
}

TEST_F(PlaylistListFile, EmptyLinesCountAndNothingIsReadPastTheCount) {
  auto c = read("3\n/m/a.swf\n\n/m/b.swf\n/m/c.swf\n");
  EXPECT_EQ(c.entries, (std::vector<std::string>{"/m/a.swf", "/m/b.swf"}));
  auto twice = read("2\n/m/a.swf\n/m/a.swf\n");
  EXPECT_EQ(twice.entries.size(), 2u);
}

TEST_F(PlaylistListFile, CountBeyondTheEndStopsAtTheEnd) {
  auto c = read("5\n/m/a.swf\n/m/b.swf\n");
  EXPECT_EQ(c.entries.size(), 2u);
  auto huge = read("2147483647\n/m/a.swf\n/m/b.swf\n");
  EXPECT_EQ(huge.entries.size(), 2u);
  auto none = read("-4\n/m/a.swf\n");
  EXPECT_TRUE(none.entries.empty());
}

TEST_F(PlaylistListFile, FirstLineEmptyOrBroken) {
  EXPECT_EQ(read("").status, Status::EmptyFirstLine);
  EXPECT_EQ(read("\r\n3\n/m/a.swf\n").status, Status::EmptyFirstLine);
  EXPECT_EQ(read("Default\n1\n/m/a.swf\n").status, Status::BadFirstLine);
  EXPECT_EQ(read("gameboy\nmany\n/m/a.swf\n").status, Status::BadCountAfterPlayMode);
  EXPECT_EQ(read("gameboy\n").status, Status::BadCountAfterPlayMode);
  // The persisted playlist takes no play-mode word.
  EXPECT_EQ(read("default\n1\n/m/a.swf\n", false).status, Status::BadFirstLine);
  auto zero = read("default\n0\n");
  EXPECT_EQ(zero.status, Status::Ok);
  EXPECT_EQ(zero.playMode, PlayModeWord::Default);
}

TEST_F(PlaylistListFile, PathsThatCannotNameAFileAreLeftOut) {
  std::string withNul("3\n/m/a\0b.swf\n/m/c.swf\n/m/d.swf\n", 31);
  auto c = read(withNul);
  EXPECT_EQ(c.entries, (std::vector<std::string>{"/m/c.swf", "/m/d.swf"}));
}

TEST_F(PlaylistListFile, OverlongLinesAreSkippedAndRandomBytesRefused) {
  std::string big(20 << 20, 'a');
  auto c = read("3\n" + big + "\n" + std::string(65536, 'b') + "\n/m/b.swf\n");
  ASSERT_EQ(c.entries.size(), 2u);
  EXPECT_EQ(c.entries[0], std::string(65536, 'b'));
  EXPECT_EQ(c.entries[1], "/m/b.swf");
  EXPECT_EQ(read(std::string(65537, 'b') + "\n1\n/m/b.swf\n").entries.size(), 0u);
  EXPECT_EQ(read(big).status, Status::BadFirstLine);
  EXPECT_EQ(read("   " + std::string(70000, '0') + "1\n").status, Status::BadFirstLine);

  std::string noise;
  uint32_t x = 12345;
  for (int i = 0; i < 1 << 16; ++i) {
    x = x * 1103515245 + 12345;
    noise.push_back(static_cast<char>(x >> 24));
  }
  auto r = read(noise);
  EXPECT_NE(r.status, Status::Ok);
}

TEST_F(PlaylistListFile, PipesAreRefusedRatherThanWaitedOn) {
  ASSERT_EQ(mkfifo(dir.path("pipe.flt").c_str(), 0644), 0);
  EXPECT_THROW(readListFileAt(dir.path("pipe.flt"), true), AppError);
}

TEST_F(PlaylistListFile, MissingFileOrDirectoryIsAnError) {
  EXPECT_THROW(readListFileAt(dir.path("none.flt"), true), AppError);
  EXPECT_THROW(readListFileAt(dir.path("config"), true), AppError);
}

TEST(PlaylistListFileFormat, WritesCrLfLinesWithOptionalPlayMode) {
  std::vector<std::string> entries{"/m/a.swf", "/m/b.swf"};
  EXPECT_EQ(formatListFile(PlayModeWord::Default, entries),
            "default\r\n2\r\n/m/a.swf\r\n/m/b.swf\r\n");
  EXPECT_EQ(formatListFile(std::nullopt, entries), "2\r\n/m/a.swf\r\n/m/b.swf\r\n");
  EXPECT_EQ(formatListFile(PlayModeWord::MtvMovie, {}), "mtv_movie\r\n0\r\n");
}

}  // namespace
}  // namespace rv
