// Shutdown of the main window (FormClose): what is saved, and what happens when it cannot be.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/dispatch.h"
#include "app/settings_file.h"
#include "skins/tool_bar.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

class ShutdownTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
  SettingsFile ini{rig.dir.path("config/config.ini")};

  void start(std::vector<std::string> args = {}) {
    ASSERT_TRUE(dispatch(*form, [&] { form->FormCreate(args); }));
  }
  bool close() {
    return dispatch(*form, [&] { form->FormClose(); });
  }
};

TEST_F(ShutdownTest, WritesTheStateOfThisRun) {
  ToolBar bar(rig.dir.path());
  bar.left = 500;
  bar.top = 7;
  form->toolBar = &bar;
  rig.mixer.current = 0x12345678;
  start();
  form->left = 33;
  form->top = 44;
  form->openinitialdir = "/films/";
  form->saveinitialdir = "/lists/";
  form->filterindex = 2;
  ASSERT_TRUE(close());
  EXPECT_EQ(ini.readInt("form", "left", 0), 33);
  EXPECT_EQ(ini.readInt("form", "top", 0), 44);
  EXPECT_EQ(ini.readInt("variables", "fileindex", 9), 0);
  EXPECT_EQ(ini.readString("variables", "movieloop", ""), "1");
  EXPECT_EQ(ini.readString("variables", "listloop", ""), "0");
  EXPECT_EQ(ini.readString("variables", "preview", ""), "1");
  EXPECT_EQ(ini.readString("variables", "viewbig", ""), "0");
  EXPECT_EQ(ini.readString("variables", "autoplayflash", ""), "0");
  EXPECT_EQ(ini.readString("variables", "openinitialdir", ""), "/films/");
  EXPECT_EQ(ini.readString("variables", "saveinitialdir", ""), "/lists/");
  EXPECT_EQ(ini.readInt("variables", "filterindex", 0), 2);
  EXPECT_EQ(ini.readString("variables", "view", ""), "normalview");
  EXPECT_EQ(ini.readString("variables", "alwaysonthetop", ""), "0");
  EXPECT_EQ(ini.readString("variables", "vautochecksameitem", ""), "1");
  EXPECT_EQ(ini.readString("variables", "autosort", ""), "0");
  EXPECT_EQ(ini.readString("variables", "playmode", ""), "default");
  EXPECT_EQ(ini.readInt("variables", "form6left", 0), 500);
  EXPECT_EQ(ini.readInt("variables", "form6top", 0), 7);
  EXPECT_EQ(ini.readString("variables", "openfile", "none"), "none");
  EXPECT_EQ(rig.mixer.sets.back(), 0x12345678u) << "the volume found at start-up is put back";
  form->toolBar = nullptr;
}

TEST_F(ShutdownTest, NoPlayModeIsWrittenWhenNoneIsChecked) {
  rig.dir.write("config/config.ini", "[variables]\nplaymode=mtv_list\n");
  start();
  form->checkplaymode();
  for (const char* m : {"default", "gameboy", "mtv_movie", "mtv_list"})
    form->item(m).checked = false;
  ASSERT_TRUE(close());
  EXPECT_EQ(ini.readString("variables", "playmode", ""), "mtv_list");
}

TEST_F(ShutdownTest, OpenFileIsWrittenAsADirectoryAndNotReadBack) {
  start();
  form->openDialogFileName = "/home/u/films/a.swf";
  ASSERT_TRUE(close());
  EXPECT_EQ(ini.readString("variables", "openfile", ""), "/home/u/films/");
  auto again = rig.form();
  ASSERT_TRUE(dispatch(*again, [&] { again->FormCreate({}); }));
  EXPECT_NE(again->openinitialdir, "/home/u/films/");
}

TEST_F(ShutdownTest, MovieLoopOffWithoutAMovieIsWrittenBackAsOn) {
  rig.dir.write("config/config.ini", "[variables]\nmovieloop=0\n");
  start();
  ASSERT_TRUE(close());
  EXPECT_EQ(ini.readString("variables", "movieloop", ""), "1");
}

TEST_F(ShutdownTest, PersistedListIsRewrittenOnlyWhereItExists) {
  start();
  form->flashlist.items = {"/m/a.swf", "/m/b b.swf"};
  ASSERT_TRUE(close());
  EXPECT_FALSE(rig.dir.exists("config/listfile.flt")) << "the program never creates it";

  rig.dir.write("config/listfile.flt", "");
  ASSERT_TRUE(close());
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "2\r\n/m/a.swf\r\n/m/b b.swf\r\n");
  form->flashlist.items.clear();
  ASSERT_TRUE(close());
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "");
}

TEST_F(ShutdownTest, ARefusedWriteIsReportedAndTheProgramKeepsRunning) {
  rig.dir.write("config/listfile.flt", "1\n/m/a.swf\n");
  start();
  form->flashlist.items = {"/m/x.swf"};
  rig.dir.write("config/config.ini", "[form]\nleft=1\n");
  chmod(rig.dir.path("config/config.ini").c_str(), 0444);
  EXPECT_FALSE(close());
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play !"});
  EXPECT_EQ(rig.dir.read("config/config.ini"), "[form]\nleft=1\n");
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\n/m/a.swf\n") << "close stopped at the write";
  EXPECT_TRUE(rig.mixer.sets.size() == 1u) << "nor was the volume put back";

  // The program goes on; once the file can be written again, closing works.
  chmod(rig.dir.path("config/config.ini").c_str(), 0644);
  EXPECT_TRUE(close());
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\r\n/m/x.swf\r\n");
}

TEST_F(ShutdownTest, AReadOnlyProgramDirectoryStartsAndIsReportedOncePerClose) {
  rig.dir.write("config/listfile.flt", "1\r\n/m/a.swf\r\n");
  rig.dir.write("config/config.ini", "[form]\nleft=40\n");
  chmod(rig.dir.path("config").c_str(), 0555);
  chmod(rig.dir.path().c_str(), 0555);
  start();
  EXPECT_EQ(form->left, 40);
  EXPECT_TRUE(rig.dialogs.messages.empty()) << "start-up writes nothing";
  form->flashlist.items = {"/m/b.swf"};
  EXPECT_FALSE(close());
  EXPECT_FALSE(close());
  EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{"Can not play !", "Can not play !"}));
  EXPECT_EQ(rig.dir.read("config/config.ini"), "[form]\nleft=40\n");
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\r\n/m/a.swf\r\n");
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(rig.dir.path("config"))) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2) << "no temporary files";
}

TEST_F(ShutdownTest, AMissingConfigDirectoryIsReported) {
  start();
  rig.dir.remove("config");
  EXPECT_FALSE(close());
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play !"});
}

TEST_F(ShutdownTest, AStartUpThatFailedEarlySavesNothing) {
  rig.dir.write("config/listfile.flt", "not a number\n/m/a.swf\n");
  rig.dir.write("config/config.ini", "[form]\nleft=250\n");
  EXPECT_FALSE(dispatch(*form, [&] { form->FormCreate({}); }));
  EXPECT_TRUE(close());
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "not a number\n/m/a.swf\n");
  EXPECT_EQ(rig.dir.read("config/config.ini"), "[form]\nleft=250\n");
  EXPECT_TRUE(rig.mixer.sets.empty()) << "no volume was read, none is put back";
}

// Whatever step start-up ended at, the settings it had not read keep the user's values; what it
// read, or what the user changed since, is saved.
TEST_F(ShutdownTest, AStartUpThatEndedAtAnErrorKeepsTheSettingsItDidNotRead) {
  const std::vector<std::pair<std::string, std::string>> stored = {
      {"fileindex", "0"},
      {"viewbig", "1"},
      {"autoplayflash", "1"},
      {"movieloop", "0"},
      {"listloop", "1"},
      {"preview", "0"},
      {"openinitialdir", "/some/dir/"},
      {"saveinitialdir", "/other/dir/"},
      {"autosort", "1"},
      {"playmode", "mtv_list"},
      {"vautochecksameitem", "0"},
      {"view", "easyview"},
      {"alwaysonthetop", "1"}};
  std::string config = "[form]\nleft=250\ntop=60\n[variables]\nfilterindex=2\n";
  for (const auto& [key, value] : stored) config += key + "=" + value + "\n";

  const std::string bad = rig.dir.path("bad.swf"), good = rig.dir.movie("good.swf");
  rig.dir.write("bad.swf", "just text");
  rig.flashes.unplayable.insert(bad);
  rig.dir.write("unreadable.flt/x", "");
  const std::string list = "2\n" + bad + "\n" + good + "\n";
  struct Case {
    const char* step;
    std::string listFile;
    std::vector<std::string> args;
    bool allKept;  // start-up read nothing it could not give back as it was
  } cases[] = {
      {"persisted list", "not a number\n" + good + "\n", {}, true},
      {"last movie", list, {}, true},
      {"movie argument", list, {bad}, false},
      {"list file argument", list, {rig.dir.path("unreadable.flt")}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    rig.dir.write("config/config.ini", config);
    rig.dir.write("config/listfile.flt", c.listFile);
    auto run = rig.form();
    EXPECT_FALSE(dispatch(*run, [&] { run->FormCreate(c.args); }));
    run->filterindex = 3;  // the user's choice after start-up
    ASSERT_TRUE(dispatch(*run, [&] { run->FormClose(); }));

    EXPECT_EQ(ini.readInt("form", "left", 0), 250);
    EXPECT_EQ(ini.readInt("form", "top", 0), 60);
    EXPECT_EQ(ini.readInt("variables", "filterindex", 0), 3);
    EXPECT_EQ(ini.readString("variables", "fileindex", ""), "0") << "not read with an argument";
    if (!c.allKept) continue;
    for (const auto& [key, value] : stored)
      EXPECT_EQ(ini.readString("variables", key, ""), value) << key;
    EXPECT_EQ(rig.dir.read("config/listfile.flt"),
              c.listFile == list ? "2\r\n" + bad + "\r\n" + good + "\r\n" : c.listFile);
  }
}

TEST_F(ShutdownTest, TheNextStartFindsTheStateAgain) {
  std::string a = rig.dir.movie("a.swf"), b = rig.dir.movie("b.swf");
  rig.dir.write("config/listfile.flt", "2\n" + a + "\n" + b + "\n");
  rig.dir.write("config/config.ini", "[variables]\nfileindex=1\n");
  start();
  form->item("mtv_list").click();
  form->left = 77;
  ASSERT_TRUE(close());

  auto next = rig.form();
  ASSERT_TRUE(dispatch(*next, [&] { next->FormCreate({}); }));
  EXPECT_EQ(next->left, 77);
  EXPECT_EQ(next->Flash1->movie(), b);
  EXPECT_TRUE(next->item("mtv_list").checked);
  EXPECT_TRUE(next->item("listloop").checked);
  EXPECT_FALSE(next->item("flashloop").checked);
  EXPECT_TRUE(next->autoplayflash);
}

// A list file that cannot be used, named on the command line or opened from the menus after
// "Clear play list?" was answered Yes, leaves the playlist as it was, and so does the close.
TEST_F(ShutdownTest, ABrokenListFileLeavesThePlaylistAndItsFileAsTheyWere) {
  enum class Via { Argument, OpenListFile, Open };
  struct Case {
    Via via;
    const char* content;  // null: a directory stands where the file should be
    std::vector<std::string> messages;
  } cases[] = {
      {Via::Argument, "Default\r\n1\r\n/m/x.swf\r\n", {"Can not open list file!"}},
      {Via::Argument, "mtv_list\r\nmany\r\n/m/x.swf\r\n", {"Open list file failly!"}},
      {Via::Argument, nullptr, {"Can not play !"}},
      {Via::OpenListFile, "Default\r\n1\r\n/m/x.swf\r\n", {"Can not open list file!"}},
      {Via::OpenListFile, nullptr, {"Can not play !"}},
      {Via::Open, "gameboy\r\n\r\n", {"Open list file failly!"}},
  };
  for (const Case& c : cases) {
    test::ShellRig r;
    std::string saved = "3\r\n";
    for (int i = 0; i < 3; ++i) saved += r.dir.movie(test::numbered("m", i, ".swf")) + "\r\n";
    r.dir.write("config/listfile.flt", saved);
    r.dir.write("config/config.ini", "[variables]\nfileindex=-1\n");
    const std::string list = r.dir.path("bad.flt");
    if (c.content)
      r.dir.write("bad.flt", c.content);
    else
      std::filesystem::create_directories(list);

    auto f = r.form();
    const std::vector<std::string> args{list};
    dispatch(*f,
             [&] { f->FormCreate(c.via == Via::Argument ? args : std::vector<std::string>{}); });
    if (c.via != Via::Argument) {
      r.dialogs.openResults.push_back(FileDialogResult{{list}, 2});
      r.dialogs.answers = {true};
      dispatch(*f, [&] { c.via == Via::Open ? f->openClick() : f->openlistfileClick(); });
      EXPECT_EQ(r.dialogs.questions, std::vector<std::string>{"Clear play list?"});
    }
    EXPECT_EQ(r.dialogs.messages, c.messages) << list;
    EXPECT_EQ(f->flashlist.items.size(), 3u);
    EXPECT_FALSE(f->Flash1->hasMovie()) << "nothing was played instead";
    ASSERT_TRUE(dispatch(*f, [&] { f->FormClose(); }));
    EXPECT_EQ(r.dir.read("config/listfile.flt"), saved) << c.content;
  }
}

TEST_F(ShutdownTest, AGoodListFileReplacesThePlaylistThroughTheClose) {
  rig.dir.write("config/listfile.flt", "1\r\n/m/old.swf\r\n");
  rig.dir.write("l.flt", "mtv_movie\n2\n/m/a.swf\n/m/b.swf\n");
  start({rig.dir.path("l.flt")});
  EXPECT_TRUE(form->item("mtv_movie").checked);
  ASSERT_TRUE(close());
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "2\r\n/m/a.swf\r\n/m/b.swf\r\n");

  rig.dir.write("empty.flt", "");
  rig.dialogs.openResults.push_back(FileDialogResult{{rig.dir.path("empty.flt")}, 2});
  form->openlistfileClick();  // Yes to the question; an empty file is an empty list
  EXPECT_TRUE(form->flashlist.items.empty());
  ASSERT_TRUE(close());
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "");
}

}  // namespace
}  // namespace rv
