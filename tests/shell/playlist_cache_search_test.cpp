// "Search IE cache" over real directory trees standing in for the user's cache directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/errors.h"
#include "tests/shell/fakes/scoped_env.h"
#include "tests/shell/playlist_form_fixture.h"

namespace rv {
namespace {

class CacheSearch : public test::PlaylistForm {
 protected:
  CacheSearch() {
    env.set("XDG_CACHE_HOME", rig.dir.path("home/.cache"));
    rig.dir.write("home/.cache/.keep", "");
  }
  void options(const std::string& size, bool clear) {
    rig.dir.write("config/config.ini", "[variables]\ncachefilesize=" + size +
                                           "\ncachelistclear=" + (clear ? "1" : "0") + "\n");
  }
  std::string cached(const std::string& rel, size_t bytes) {
    rig.dir.write("home/.cache/" + rel, std::string(bytes, 'x'));
    return rig.dir.path("home/.cache/" + rel);
  }
  test::ScopedEnv env;
};

TEST_F(CacheSearch, CollectsMoviesFromTheThresholdUpAsOneBatchAndPlaysTheFirst) {
  options("10", false);
  const std::string exact = cached("b/exact.swf", 10 * 1024);
  cached("b/small.swf", 10 * 1024 - 1);
  const std::string upper = cached("a/deep/big.SWF", 20000);
  cached("a/mixed.Swf", 20000);
  cached("a/notes.txt", 20000);
  items() = {"/old.swf"};
  form->IE2Click();
  EXPECT_TRUE(rig.dialogs.questions.empty());
  EXPECT_EQ(items(), (std::vector<std::string>{"/old.swf", upper, exact}));
  EXPECT_EQ(playing(), upper);
}

TEST_F(CacheSearch, SizeSettingsAsTyped) {
  const struct {
    const char* size;
    bool converts;
    int found;  // of an empty movie, a 16 KB one and a 17 KB one
  } cases[] = {{"0", true, 3},        {"-5", true, 3},     {"0x10", true, 2},
               {"17", true, 1},       {"abc", false, 0},   {"99999999999", false, 0},
               {"2097152", false, 0}, {"2097151", true, 0}};
  cached("empty.swf", 0);
  cached("k16.swf", 16 * 1024);
  cached("k17.swf", 17 * 1024);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    options(c.size, true);
    items() = {"/old.swf"};
    rig.dialogs.questions.clear();
    rig.dialogs.answers = {false};
    if (c.converts) {
      form->IE1Click();
      EXPECT_EQ(static_cast<int>(items().size()) - 1, c.found);
    } else {
      // The conversion error comes after the clearing question, for the error handler.
      EXPECT_THROW(form->IE1Click(), AppError);
      EXPECT_EQ(items().size(), 1u);
    }
    EXPECT_EQ(rig.dialogs.questions, std::vector<std::string>{"Clear play list?"});
  }
}

TEST_F(CacheSearch, ClearingTheListFirstWhenTheUserSaysYes) {
  options("0", true);
  const std::string m = cached("m.swf", 1);
  items() = {"/old.swf"};
  rig.dialogs.answers = {true};
  form->IE1Click();
  EXPECT_EQ(items(), std::vector<std::string>{m});
}

TEST_F(CacheSearch, NoCacheDirectoryIsToldAndNothingElseHappens) {
  options("0", true);
  env.set("XDG_CACHE_HOME", rig.dir.path("nowhere"));
  items() = {"/old.swf"};
  form->IE1Click();
  EXPECT_EQ(rig.dialogs.log, std::vector<std::string>{"message: Can not find IE cache directory."});
  EXPECT_EQ(items().size(), 1u);
}

TEST_F(CacheSearch, ACacheDirectoryNamedWithAnExtensionIsNotSearched) {
  options("0", false);
  rig.dir.write("home/cache.d/m.swf", "");
  env.set("XDG_CACHE_HOME", rig.dir.path("home/cache.d"));
  form->IE1Click();
  EXPECT_TRUE(items().empty());
  EXPECT_TRUE(rig.dialogs.log.empty());
}

TEST_F(CacheSearch, LinksAreNotFollowedAndTheWindowStaysAlive) {
  options("0", false);
  const std::string m = cached("a/m.swf", 5);
  ASSERT_EQ(
      symlink(rig.dir.path("home/.cache").c_str(), rig.dir.path("home/.cache/a/loop").c_str()), 0);
  ASSERT_EQ(symlink(m.c_str(), rig.dir.path("home/.cache/link.swf").c_str()), 0);
  for (int i = 0; i < 600; ++i) cached("many/" + std::to_string(i), 0);
  form->IE1Click();
  // The link to a movie is collected by name with its own size, never opened or followed.
  EXPECT_EQ(items(), (std::vector<std::string>{rig.dir.path("home/.cache/link.swf"), m}));
  EXPECT_FALSE(form->inTick);
  EXPECT_TRUE(rig.window.called("busy=1") && rig.window.called("busy=0"));
  EXPECT_GE(rig.window.paints, 2);
}

}  // namespace
}  // namespace rv
