// Extracting the movie of projector files, and refusing files that are not projectors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "playlist/projector.h"
#include "tests/shell/fakes/temp_program_dir.h"

namespace rv {
namespace {

std::string trailer(uint32_t magic, uint32_t length) {
  std::string t;
  for (uint32_t v : {magic, length})
    for (int i = 0; i < 4; ++i) t.push_back(static_cast<char>(v >> (8 * i)));
  return t;
}

class PlaylistProjector : public ::testing::Test {
 protected:
  test::TempProgramDir dir;
};

TEST_F(PlaylistProjector, WritesExactlyTheMovieBeforeTheTrailer) {
  std::string movie = "FWS\x05 movie bytes";
  movie += std::string(3 << 20, 'm');  // more than one copy chunk
  dir.write("p.exe", "MZ player program" + movie + trailer(kProjectorMagic, movie.size()));
  dir.write("p.swf", "an older extraction, replaced");
  EXPECT_EQ(extractProjectorMovie(dir.path("p.exe"), dir.path("p.swf")), ProjectorResult::Written);
  EXPECT_EQ(dir.read("p.swf"), movie);
}

TEST_F(PlaylistProjector, RefusesWhatIsNotAProjectorAndWritesNothing) {
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"short", std::string("\x56\x34\x12", 3)},
      {"plain program", "MZ an ordinary program of some length"},
      {"zero length", "MZ" + trailer(kProjectorMagic, 0)},
      {"length too big", "MZ123" + trailer(kProjectorMagic, 6)},
      {"length past 2 GB", "MZ" + trailer(kProjectorMagic, 0xFFFFFFFF)},
  };
  for (const auto& [what, content] : cases) {
    dir.write("p.exe", content);
    EXPECT_EQ(extractProjectorMovie(dir.path("p.exe"), dir.path("p.swf")),
              ProjectorResult::NotProjector)
        << what;
    EXPECT_FALSE(dir.exists("p.swf")) << what;
  }
}

TEST_F(PlaylistProjector, MissingProjectorOrDirectory) {
  EXPECT_EQ(extractProjectorMovie(dir.path("none.exe"), dir.path("none.swf")),
            ProjectorResult::Missing);
  EXPECT_EQ(extractProjectorMovie(dir.path("config"), dir.path("x.swf")), ProjectorResult::Missing);
  ASSERT_EQ(mkfifo(dir.path("pipe.exe").c_str(), 0644), 0);  // refused, not waited on
  EXPECT_EQ(extractProjectorMovie(dir.path("pipe.exe"), dir.path("pipe.swf")),
            ProjectorResult::NotProjector);
}

TEST_F(PlaylistProjector, MovieOfTheWholeFrontPart) {
  std::string movie = "M";
  dir.write("p.exe", movie + trailer(kProjectorMagic, 1));
  EXPECT_EQ(extractProjectorMovie(dir.path("p.exe"), dir.path("p.swf")), ProjectorResult::Written);
  EXPECT_EQ(dir.read("p.swf"), "M");
}

}  // namespace
}  // namespace rv
