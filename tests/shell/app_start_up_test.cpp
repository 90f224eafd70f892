// Start-up of the main window (FormCreate): restoring the last run, the command line, the volume.
#include <gtest/gtest.h>

#include <random>

#include "app/dispatch.h"
#include "app/settings_file.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;

class StartUpTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
  std::vector<std::string> items;

  void config(const std::string& text) { rig.dir.write("config/config.ini", text); }
  // A persisted list of `n` real movies.
  void persistedList(int n) {
    std::string text = std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) {
      items.push_back(rig.dir.movie(test::numbered("movies/m", i, ".swf")));
      text += items.back() + "\n";
    }
    rig.dir.write("config/listfile.flt", text);
  }
  bool start(std::vector<std::string> args = {}) {
    return dispatch(*form, [&] { form->FormCreate(args); });
  }
  bool checked(const char* name) {
    if (MenuItem* i = form->listpop.find(name)) return i->checked;
    return form->item(name).checked;
  }
};

TEST_F(StartUpTest, FirstRunWithoutSettingsOrList) {
  ASSERT_TRUE(start());
  EXPECT_EQ(form->left, 100);
  EXPECT_EQ(form->top, 100);
  EXPECT_TRUE(rig.window.shown);
  EXPECT_TRUE(checked("normalview"));
  EXPECT_TRUE(checked("flashloop"));
  EXPECT_TRUE(checked("preview"));
  EXPECT_TRUE(checked("autochecksameitem"));
  EXPECT_TRUE(form->autochecksameitem);
  EXPECT_FALSE(checked("listloop"));
  EXPECT_FALSE(checked("autosort"));
  EXPECT_TRUE(checked("default"));
  EXPECT_FALSE(form->Flash1->hasMovie());
  EXPECT_EQ(form->jctmin, 124);
  EXPECT_EQ(form->jctmax, 418);
  EXPECT_EQ(form->openinitialdir.back(), '/');
  EXPECT_EQ(form->filterindex, 1);
  EXPECT_TRUE(rig.dialogs.log.empty());
  EXPECT_FALSE(rig.dir.exists("config/config.ini")) << "start-up writes nothing";
}

TEST_F(StartUpTest, TheSavedEntryIsRestoredPaused) {
  persistedList(5);
  config("[variables]\nfileindex=2\n[form]\nleft=30\ntop=-40\n");
  ASSERT_TRUE(start());
  EXPECT_EQ(form->flashlist.items, items);
  EXPECT_EQ(form->fileindex, 2);
  EXPECT_EQ(form->Flash1->movie(), items[2]);
  EXPECT_TRUE(form->flashpaused);
  EXPECT_FALSE(form->item("playstop").checked);
  EXPECT_TRUE(form->ctl("play").visible);
  EXPECT_FALSE(fake(form->Flash1).playing);
  EXPECT_EQ(form->left, 30);
  EXPECT_EQ(form->top, -40);
}

TEST_F(StartUpTest, NoMovieForAnIndexOfMinusOneOrPastTheList) {
  persistedList(2);
  for (const char* index : {"-1", "2", "7"}) {
    test::ShellRig rig2;
    rig2.dir.write("config/listfile.flt", rig.dir.read("config/listfile.flt"));
    rig2.dir.write("config/config.ini", std::string("[variables]\nfileindex=") + index + "\n");
    auto f = rig2.form();
    ASSERT_TRUE(dispatch(*f, [&] { f->FormCreate({}); })) << index;
    EXPECT_FALSE(f->Flash1->hasMovie()) << index;
  }
}

TEST_F(StartUpTest, MissingSavedMovieIsAskedAboutBeforeTheRestIsRestored) {
  persistedList(2);
  rig.dir.remove("movies/m1.swf");
  config("[variables]\nfileindex=1\nlistloop=1\n");
  bool volumeSetYet = true;
  rig.dialogs.whileQuestionOpen = [&](const std::string&) {
    volumeSetYet = !rig.mixer.sets.empty();
  };
  rig.dialogs.answers = {true};
  ASSERT_TRUE(start());
  ASSERT_EQ(rig.dialogs.questions.size(), 1u);
  EXPECT_FALSE(volumeSetYet);
  EXPECT_EQ(form->flashlist.items, std::vector<std::string>{items[0]});
  EXPECT_FALSE(checked("listloop")) << "no movie was loaded, so the item stayed disabled";
}

TEST_F(StartUpTest, LoopSettingsTakeEffectOnlyWhenAMovieWasRestored) {
  persistedList(2);
  config("[variables]\nfileindex=0\nmovieloop=1\nlistloop=1\n");
  ASSERT_TRUE(start());
  EXPECT_TRUE(checked("listloop"));
  EXPECT_FALSE(checked("flashloop"));
  EXPECT_EQ(form->Flash1->loop(), false);
}

TEST_F(StartUpTest, MovieLoopOffIsIgnoredWithAnEmptyList) {
  config("[variables]\nmovieloop=0\nautoplayflash=1\n");
  ASSERT_TRUE(start());
  EXPECT_TRUE(checked("flashloop"));
  EXPECT_TRUE(form->autoplayflash);
  EXPECT_TRUE(checked("autoplay"));
  EXPECT_TRUE(checked("mtv_movie")) << "the mark comes from the switches";
}

TEST_F(StartUpTest, SavedPlayModeMarkIsReplacedByTheSwitches) {
  config("[variables]\nplaymode=mtv_list\n");
  ASSERT_TRUE(start());
  EXPECT_TRUE(checked("default"));
  EXPECT_FALSE(checked("mtv_list"));
}

TEST_F(StartUpTest, OneMovieArgumentIsAppendedAndPlayedInsteadOfTheSavedEntry) {
  persistedList(2);
  config("[variables]\nfileindex=0\n");
  std::string arg = rig.dir.movie("new.swf");
  ASSERT_TRUE(start({arg}));
  EXPECT_EQ(form->flashlist.items.size(), 3u);
  EXPECT_EQ(form->flashlist.items.back(), arg);
  EXPECT_EQ(form->Flash1->movie(), arg);
  EXPECT_EQ(form->fileindex, 2);
  EXPECT_FALSE(form->flashpaused);
}

TEST_F(StartUpTest, AMixedCaseExtensionIsIgnoredAndSkipsTheRestoreToo) {
  persistedList(2);
  config("[variables]\nfileindex=0\n");
  ASSERT_TRUE(start({rig.dir.movie("film.Swf")}));
  EXPECT_FALSE(form->Flash1->hasMovie());
  EXPECT_EQ(form->flashlist.items.size(), 2u);
  EXPECT_EQ(form->fileindex, -1);
}

TEST_F(StartUpTest, AListFileArgumentReplacesTheListAndPlaysNothing) {
  persistedList(2);
  std::string a = rig.dir.movie("x/a.swf"), b = rig.dir.movie("x/b.swf");
  rig.dir.write("x/list.flt", "2\n" + a + "\n" + b + "\n");
  ASSERT_TRUE(start({rig.dir.path("x/list.flt")}));
  EXPECT_EQ(form->flashlist.items, (std::vector<std::string>{a, b}));
  EXPECT_FALSE(form->Flash1->hasMovie());
  EXPECT_EQ(form->fileindex, -1);
  EXPECT_TRUE(form->item("flashloop").enabled);
  EXPECT_TRUE(form->item("playframe").enabled);
}

TEST_F(StartUpTest, VolumePresetChosenFromTheRightChannel) {
  struct Case {
    uint32_t volume;
    int step;
  } cases[] = {{0xFFFF0000, 5}, {0xC000C000, 4}, {0x80008000, 3}, {0x40004000, 2}, {0x0000FFFF, 1}};
  for (const auto& c : cases) {
    test::ShellRig r;
    r.mixer.current = c.volume;
    auto f = r.form();
    ASSERT_TRUE(dispatch(*f, [&] { f->FormCreate({}); }));
    EXPECT_EQ(f->startvolume, c.volume);
    for (int i = 1; i <= 5; ++i)
      EXPECT_EQ(f->ctl(test::numbered("v", i)).visible, i == c.step) << std::hex << c.volume;
    const uint32_t levels[] = {5000, 15000, 30000, 45000, 65535};
    EXPECT_EQ(r.mixer.sets, std::vector<uint32_t>{levels[c.step - 1] * 0x10001u});
  }
}

TEST_F(StartUpTest, AnotherFlashVersionEndsTheProgram) {
  rig.flashes.version = 0x00060000;
  EXPECT_THROW(start(), FatalExit);
  EXPECT_EQ(
      rig.dialogs.messages,
      std::vector<std::string>{"Your Flash ActiveX is not Flash 5.0 .Program must terminate."});
  EXPECT_FALSE(rig.window.shown);
  EXPECT_EQ(form->settings, nullptr);
}

TEST_F(StartUpTest, AListFileThatIsNotANumberStopsStartUpWithAnEmptyName) {
  rig.dir.write("config/listfile.flt", "many\n/a.swf\n");
  config("[form]\nleft=300\n");
  EXPECT_FALSE(start());
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play !"});
  EXPECT_EQ(form->left, 0) << "later steps did not run";
  EXPECT_TRUE(form->flashlist.items.empty());
}

TEST_F(StartUpTest, ShortListFilesAndBlankLines) {
  rig.dir.write("config/listfile.flt", "5\r\n/a.swf\r\n\r\n/b.swf\r\n");
  config("[variables]\nfileindex=-1\n");
  ASSERT_TRUE(start());
  EXPECT_EQ(form->flashlist.items, (std::vector<std::string>{"/a.swf", "/b.swf"}));
}

TEST_F(StartUpTest, AConfigFileOfRandomBytesOrAHugeLineGivesDefaults) {
  std::mt19937 rng(11);
  std::string junk(200000, '\0');
  for (auto& c : junk) c = static_cast<char>(rng());
  config(junk);
  ASSERT_TRUE(start());
  EXPECT_EQ(form->left, 100);
  EXPECT_TRUE(checked("default"));

  test::ShellRig r;
  r.dir.write("config/config.ini", "[form]\nleft=" + std::string(10 << 20, '7') + "\ntop=5\n");
  auto f = r.form();
  ASSERT_TRUE(dispatch(*f, [&] { f->FormCreate({}); }));
  EXPECT_EQ(f->left, 100);
  EXPECT_EQ(f->top, 5);
}

}  // namespace
}  // namespace rv
