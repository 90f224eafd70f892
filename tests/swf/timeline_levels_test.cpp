// Movies loaded into levels (GetURL with a "_levelN" target), and the stage colour, which the
// first SetBackgroundColor reached sets for good.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core_test_movies.h"
#include "draw_support.h"
#include "swf/player/sprite_instance.h"

namespace {

using namespace rvtest;
using swf::Player;
namespace fs = std::filesystem;

constexpr swf::RGBA kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255},
    kWhite{255, 255, 255, 255};

class TimelineLevels : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = scratchDir("rv_levels_"); }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return p.string();
  }

  fs::path dir_;
};

// A 100 px stage with a 50 px square of `color` at (x, y) px; `actions` run in frame 0.
std::vector<uint8_t> squareMovie(swf::RGBA color, int x, int y,
                                 const std::vector<uint8_t>& actions = {},
                                 std::optional<swf::RGBA> background = std::nullopt,
                                 int frames = 1) {
  SwfWriter w(6, 100, 100, 10);
  if (background) w.setBackgroundColor(*background);
  w.defineShape(1, square(1000, color));
  w.placeObject2(placeNew(1, 1, at(x * 20, y * 20)));
  if (!actions.empty()) w.doAction(actions);
  for (int f = 0; f < frames; ++f) w.showFrame();
  return w.finish();
}

TEST_F(TimelineLevels, LoadedMovieDrawsAboveTheMovieAndPlaysInStep) {
  write("top.swf", squareMovie(kBlue, 25, 25, ActionBuilder().stop().build(), {}, 3));
  Player p;
  p.load(write(
      "main.swf",
      squareMovie(kRed, 0, 0, ActionBuilder().getURL("top.swf?x=1", "_Level1").build(), {}, 5)));
  EXPECT_EQ(p.levelRoot(1), nullptr);  // it arrives with the next frame
  step(p);
  ASSERT_NE(p.levelRoot(1), nullptr);
  step(p);  // and shows its first frame as the clips next advance
  EXPECT_TRUE(drawtest::near(pixelAt(p, 10, 10), kRed, 0));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 40, 40), kBlue, 0));  // level 1 above level 0
  EXPECT_EQ(p.totalFrames(), 5);                              // the control still means level 0
  step(p);
  EXPECT_EQ(p.currentFrame(), 3);
  EXPECT_EQ(p.levelRoot(1)->currentFrame(), 0);  // its own stop held it
}

TEST_F(TimelineLevels, AnEmptyAddressEmptiesTheLevel) {
  write("top.swf", squareMovie(kBlue, 25, 25));
  SwfWriter w(6, 100, 100, 10);
  w.doAction(ActionBuilder().getURL("top.swf", "_level2").build());
  w.showFrame();
  w.showFrame();
  w.showFrame();
  w.doAction(ActionBuilder().getURL("", "_level2").stop().build());
  w.showFrame();
  Player p;
  p.load(write("main.swf", w.finish()));
  step(p);
  step(p);
  EXPECT_TRUE(drawtest::near(pixelAt(p, 40, 40), kBlue, 0));
  step(p);
  EXPECT_EQ(p.levelRoot(2), nullptr);
  EXPECT_TRUE(drawtest::near(pixelAt(p, 40, 40), kWhite, 0));
}

TEST_F(TimelineLevels, FileNamesArriveAsWrittenFromAMovieOpenedByARelativePath) {
  // Each address is unescaped once: "%2541" names a file called "%41", never "A".
  const std::pair<std::string, std::string> files[] = {{"a%2541.swf", "a%41.swf"},
                                                       {"b%23c.swf", "b#c.swf"}};
  ActionBuilder a;
  int level = 1;
  for (const auto& [address, name] : files) {
    write(name, squareMovie(kBlue, 25, 25));
    a.getURL(address, "_level" + std::to_string(level++));
  }
  write("main.swf", squareMovie(kRed, 0, 0, a.build()));
  fs::path before = fs::current_path();
  fs::current_path(dir_);
  Player p;
  p.load("main.swf");
  step(p);
  fs::current_path(before);
  for (int n = 1; n < level; ++n) EXPECT_NE(p.levelRoot(n), nullptr) << files[n - 1].second;
}

TEST_F(TimelineLevels, AddressesThatLoadNothingLeaveTheLevelAlone) {
  write("top.swf", squareMovie(kBlue, 25, 25));
  write("junk.swf", {'n', 'o', 't', ' ', 'a', ' ', 's', 'w', 'f'});
  std::string fifo = (dir_ / "pipe.swf").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  SwfWriter w(6, 100, 100, 10);
  w.doAction(ActionBuilder().getURL("top.swf", "_level1").build());
  w.showFrame();
  w.doAction(ActionBuilder()
                 .getURL("missing.swf", "_level1")
                 .getURL("junk.swf", "_level1")
                 .getURL("http://example.com/top.swf", "_level1")
                 .getURL(fifo, "_level1")  // would block the player if opened
                 .getURL("/dev/zero", "_level1")
                 .getURL("top.swf", "_levelx")
                 .stop()
                 .build());
  w.showFrame();
  Player p;
  p.load(write("main.swf", w.finish()));
  step(p);
  auto* loaded = p.levelRoot(1);
  ASSERT_NE(loaded, nullptr);
  step(p);
  EXPECT_EQ(p.levelRoot(1), loaded);
  EXPECT_EQ(p.totalFrames(), 2);
  EXPECT_TRUE(drawtest::near(pixelAt(p, 40, 40), kBlue, 0));
}

TEST_F(TimelineLevels, AMovieReplacesLevelZeroButCannotEmptyIt) {
  write("top.swf", squareMovie(kBlue, 25, 25, ActionBuilder().stop().build()));
  SwfWriter w(6, 100, 100, 10);
  w.doAction(ActionBuilder().getURL("", "_level0").build());
  w.showFrame();
  w.doAction(ActionBuilder().getURL("top.swf", "_level0").stop().build());
  w.showFrame();
  Player p;
  p.load(write("main.swf", w.finish()));
  auto* first = p.levelRoot(0);
  EXPECT_EQ(first, p.root());
  step(p);
  step(p);
  ASSERT_NE(p.levelRoot(0), nullptr);
  EXPECT_NE(p.levelRoot(0), first);
  EXPECT_EQ(p.levelRoot(0), p.root());
  EXPECT_TRUE(drawtest::near(pixelAt(p, 40, 40), kBlue, 0));
}

TEST_F(TimelineLevels, PipesAndDevicesAreNotMovies) {
  std::string fifo = (dir_ / "pipe.swf").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero"), dir_.string()}) {
    Player p;
    EXPECT_THROW(p.load(path), swf::LoadError) << path;  // and returns: a pipe is not opened
  }
}

TEST_F(TimelineLevels, MoviesThatKeepLoadingThemselvesStayBounded) {
  // Each copy loads itself into the next level up, and into level 1 again.
  SwfWriter w(6, 100, 100, 10);
  ActionBuilder a;
  for (int n = 1; n <= 40; ++n) a.getURL("self.swf", "_level" + std::to_string(n));
  w.doAction(a.build());
  w.showFrame();
  w.showFrame();
  Player p;
  p.load(write("self.swf", w.finish()));
  for (int i = 0; i < 5; ++i) step(p);
  int levels = 0;
  for (int n = 1; n <= 40; ++n) levels += p.levelRoot(n) != nullptr;
  EXPECT_GT(levels, 0);
  EXPECT_LE(levels, 16);
  p.unload();
  EXPECT_EQ(p.levelRoot(1), nullptr);
}

TEST_F(TimelineLevels, TheFirstBackgroundColourReachedStays) {
  // The movie sets none until its second frame; a loaded level's colour counts when it comes
  // first.
  SwfWriter w(6, 100, 100, 10);
  w.showFrame();
  w.setBackgroundColor(kGreen);
  w.showFrame();
  w.setBackgroundColor(kRed);
  w.showFrame();
  Player p;
  p.load(write("main.swf", w.finish()));
  EXPECT_TRUE(drawtest::near(pixelAt(p, 5, 5), kWhite, 0));
  step(p);
  EXPECT_EQ(p.backgroundColor(), kGreen);
  step(p);
  EXPECT_EQ(p.backgroundColor(), kGreen);
  p.gotoFrame(0);
  EXPECT_EQ(p.backgroundColor(), kGreen);

  write("blue.swf", squareMovie(kRed, 0, 0, {}, kBlue));
  Player q;
  q.load(write("loads.swf",
               squareMovie(kRed, 0, 0, ActionBuilder().getURL("blue.swf", "_level1").build())));
  step(q);
  step(q);
  EXPECT_TRUE(drawtest::near(pixelAt(q, 80, 80), kBlue, 0));
}

}  // namespace
