// Play modes over the three switches, and Previous / Next movie.
#include <gtest/gtest.h>

#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;

class PlayModesTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
  std::vector<std::string> items;

  void load(int entries, int current) {
    form->flashlist.items.clear();
    for (int i = 0; i < entries; ++i)
      form->flashlist.items.push_back(rig.dir.movie(test::numbered("m", i, ".swf")));
    items = form->flashlist.items;
    form->playflash(items[static_cast<std::size_t>(current)]);
  }
  std::string checkedMode() {
    std::string mode;
    for (const char* m : {"default", "gameboy", "mtv_movie", "mtv_list"})
      if (form->item(m).checked) mode += mode.empty() ? m : std::string("+") + m;
    return mode.empty() ? "none" : mode;
  }
  std::string switches() {
    return std::string(form->item("autoplay").checked ? "A" : "-") +
           (form->item("flashloop").checked ? "M" : "-") +
           (form->item("listloop").checked ? "L" : "-");
  }
};

TEST_F(PlayModesTest, ModeCommandsSetTheSwitchesThroughTheirItems) {
  load(2, 0);
  EXPECT_EQ(checkedMode(), "default");
  form->item("mtv_list").click();
  EXPECT_EQ(switches(), "A-L");
  EXPECT_EQ(checkedMode(), "mtv_list");
  EXPECT_FALSE(form->Flash1->loop());
  EXPECT_FALSE(form->Flash2->loop());
  EXPECT_TRUE(form->autoplayflash);

  form->item("gameboy").click();
  EXPECT_EQ(switches(), "---");
  EXPECT_EQ(checkedMode(), "gameboy");
  EXPECT_FALSE(form->autoplayflash);

  form->item("mtv_movie").click();
  EXPECT_EQ(switches(), "AM-");
  EXPECT_TRUE(form->Flash1->loop());
  EXPECT_EQ(checkedMode(), "mtv_movie");

  form->item("default").click();
  EXPECT_EQ(switches(), "-M-");
  EXPECT_EQ(checkedMode(), "default");
}

TEST_F(PlayModesTest, SwitchChangesRederiveTheMark) {
  load(2, 0);
  form->item("autoplay").invoke();
  EXPECT_EQ(checkedMode(), "mtv_movie");
  form->item("flashloop").invoke();
  EXPECT_EQ(checkedMode(), "none");
  form->item("default").click();
  form->item("listloop").invoke();
  EXPECT_EQ(switches(), "--L");
  EXPECT_EQ(checkedMode(), "none");
}

TEST_F(PlayModesTest, BeforeAnyMovieAModeOnlyMovesTheMark) {
  form->item("mtv_list").click();
  EXPECT_EQ(switches(), "-M-");
  EXPECT_EQ(checkedMode(), "mtv_list");
  form->checkplaymode();
  EXPECT_EQ(checkedMode(), "default");
}

TEST_F(PlayModesTest, NextAndPreviousMoveAlongTheListAndStopAtItsEnds) {
  load(3, 1);
  form->item("nextmovie").invoke();
  EXPECT_EQ(form->fileindex, 2);
  EXPECT_EQ(form->Flash1->movie(), items[2]);
  EXPECT_FALSE(form->item("nextmovie").enabled);
  EXPECT_TRUE(form->item("lastmovie").enabled);
  form->item("nextmovie").invoke();
  EXPECT_EQ(form->fileindex, 2);
  form->item("lastmovie").invoke();
  form->item("lastmovie").invoke();
  EXPECT_EQ(form->fileindex, 0);
  EXPECT_FALSE(form->item("lastmovie").enabled);
  EXPECT_TRUE(form->item("nextmovie").enabled);
}

TEST_F(PlayModesTest, NextOntoAMissingFileAsksAndKeepsTheEndRule) {
  load(3, 1);
  rig.dir.remove("m2.swf");
  rig.dialogs.answers = {true};
  form->item("nextmovie").invoke();
  EXPECT_EQ(rig.dialogs.questions.size(), 1u);
  EXPECT_EQ(form->flashlist.items.size(), 2u);
  EXPECT_EQ(form->fileindex, 2) << "the deleted entry's index";
  EXPECT_EQ(form->Flash1->movie(), items[1]);
}

TEST_F(PlayModesTest, MtvListOnTheLastEntryWrapsWhenTheMovieStops) {
  rig.flashes.defaultFrames = 30;
  load(3, 2);
  form->item("mtv_list").click();
  fake(form->Flash1).frame = 15;
  fake(form->Flash1).playing = false;
  EXPECT_THROW(form->Timer1Timer(), SilentAbort);
  EXPECT_EQ(form->fileindex, 0);
  EXPECT_EQ(form->Flash1->movie(), items[0]);
}

TEST_F(PlayModesTest, AutoPlayResumesAnEarlyStopOnEveryTick) {
  rig.flashes.defaultFrames = 30;
  load(3, 0);
  form->item("mtv_movie").click();
  for (int i = 0; i < 3; ++i) {
    fake(form->Flash1).frame = 4;
    fake(form->Flash1).playing = false;
    form->Timer1Timer();
  }
  EXPECT_EQ(fake(form->Flash1).count("Play"), 3);
}

}  // namespace
}  // namespace rv
