// Collecting the movies of real directory trees.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "playlist/movie_scan.h"
#include "tests/shell/fakes/temp_program_dir.h"

namespace rv {
namespace {

class PlaylistScan : public ::testing::Test {
 protected:
  std::vector<std::string> scan(const std::string& rel) {
    std::vector<std::string> out;
    collectMovies(dir.path(rel), out);
    return out;
  }
  std::vector<std::string> paths(std::initializer_list<const char*> rels) {
    std::vector<std::string> out;
    for (const char* r : rels) out.push_back(dir.path(r));
    return out;
  }
  test::TempProgramDir dir;
};

TEST_F(PlaylistScan, MoviesFirstThenSubdirectoriesDepthFirstWithTheExactExtension) {
  dir.write("t/x.swf", "");
  dir.write("t/sub/y.SWF", "");
  dir.write("t/sub/z.Swf", "");
  dir.write("t/sub/deep/w.swf", "");
  dir.write("t/a/v.swf", "");
  dir.write("t/notes.txt", "");
  dir.write("t/.hidden.swf", "");
  dir.write("t/line\nbreak.swf", "");  // could not stand in a list file
  EXPECT_EQ(scan("t/"),
            paths({"t/.hidden.swf", "t/x.swf", "t/a/v.swf", "t/sub/y.SWF", "t/sub/deep/w.swf"}));
}

TEST_F(PlaylistScan, NamesIgnoreCaseThenBytes) {
  for (const char* n : {"b.swf", "B.swf", "a.swf", "C.swf"}) dir.write(std::string("t/") + n, "");
  EXPECT_EQ(scan("t/"), paths({"t/a.swf", "t/B.swf", "t/b.swf", "t/C.swf"}));
}

TEST_F(PlaylistScan, ADirectoryNamedLikeAMovieIsCollectedAndEntered) {
  dir.write("t/odd.swf/in.swf", "");
  EXPECT_EQ(scan("t/"), paths({"t/odd.swf", "t/odd.swf/in.swf"}));
}

TEST_F(PlaylistScan, SymbolicLinksAreNeverFollowed) {
  dir.write("t/a/m.swf", "");
  ASSERT_EQ(symlink(dir.path("t").c_str(), dir.path("t/a/loop").c_str()), 0);
  ASSERT_EQ(symlink(dir.path("t/a").c_str(), dir.path("t/b").c_str()), 0);
  EXPECT_EQ(scan("t/"), paths({"t/a/m.swf"}));
}

TEST_F(PlaylistScan, UnreadableDirectoriesCountAsEmpty) {
  if (!test::TempProgramDir::permissionsApply()) GTEST_SKIP() << "root reads everything";
  dir.write("t/closed/m.swf", "");
  dir.write("t/open/n.swf", "");
  ASSERT_EQ(chmod(dir.path("t/closed").c_str(), 0), 0);
  EXPECT_EQ(scan("t/"), paths({"t/open/n.swf"}));
}

TEST_F(PlaylistScan, MissingDirectoryOrNoMoviesCollectsNothing) {
  std::vector<std::string> out;
  EXPECT_FALSE(collectMovies(dir.path("nowhere/"), out));
  dir.write("t/readme", "");
  EXPECT_FALSE(collectMovies(dir.path("t/"), out));
  EXPECT_TRUE(out.empty());
}

TEST_F(PlaylistScan, DirectoriesVanishingDuringTheScanAreSkipped) {
  dir.write("t/a.swf", "");
  dir.write("t/sub/m.swf", "");
  dir.write("t/z/n.swf", "");
  std::vector<std::string> out;
  collectMovies(dir.path("t/"), out, [&](int, const char* name) {
    if (std::string(name) == "a.swf") dir.remove("t/sub");
    return true;
  });
  EXPECT_EQ(out, paths({"t/a.swf", "t/z/n.swf"}));
}

TEST_F(PlaylistScan, DeepTreesNeitherRunOutOfDescriptorsNorStop) {
  std::string rel = "t/";
  for (int i = 0; i < 300; ++i) rel += "d/";
  dir.write(rel + "m.swf", "");
  auto found = scan("t/");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0], dir.path(rel + "m.swf"));
}

}  // namespace
}  // namespace rv
