// Loading a movie (playflash, renewflash) and the per-tick end-of-movie rules (playflashlist).
#include <gtest/gtest.h>

#include "app/dispatch.h"
#include "app/errors.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;

class LoadingTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();

  // Real files named in the list, in order.
  std::vector<std::string> listOf(std::initializer_list<const char*> names) {
    form->flashlist.items.clear();
    for (const char* n : names) form->flashlist.items.push_back(rig.dir.movie(n));
    return form->flashlist.items;
  }
  test::FakeFlashControl& flash1() { return fake(form->Flash1); }
};

TEST_F(LoadingTest, ThirdOfFiveBecomesCurrentAndBothNeighboursAreEnabled) {
  auto items = listOf({"m/a.swf", "m/b.swf", "m/intro.swf", "m/d.swf", "m/e.swf"});
  form->playflash(items[2]);
  EXPECT_EQ(form->fileindex, 2);
  EXPECT_TRUE(form->item("lastmovie").enabled);
  EXPECT_TRUE(form->item("nextmovie").enabled);
  EXPECT_EQ(form->ctl("lblfilename").caption, "intro");
  EXPECT_EQ(flash1().movie(), items[2]);
  for (const char* name : {"scale", "showall", "quality", "flashloop", "listloop", "rewind",
                           "stepup", "stepback", "playstop", "autoplay", "playmode", "playframe"})
    EXPECT_TRUE(form->item(name).enabled) << name;
  EXPECT_FALSE(form->item("zoomin").enabled);
  // The playing look.
  EXPECT_FALSE(form->ctl("play").visible);
  EXPECT_TRUE(form->ctl("play2").visible);
  EXPECT_TRUE(form->ctl("stop").visible);
  EXPECT_FALSE(form->ctl("stop2").visible);
  EXPECT_FALSE(form->flashpaused);
}

TEST_F(LoadingTest, NeighboursAtTheEndsAndOneEntryLists) {
  auto items = listOf({"a.swf", "b.swf", "c.swf"});
  form->playflash(items[0]);
  EXPECT_FALSE(form->item("lastmovie").enabled);
  EXPECT_TRUE(form->item("nextmovie").enabled);
  form->playflash(items[2]);
  EXPECT_TRUE(form->item("lastmovie").enabled);
  EXPECT_FALSE(form->item("nextmovie").enabled);

  items = listOf({"only.swf"});
  form->playflash(items[0]);
  EXPECT_TRUE(form->item("lastmovie").enabled) << "one entry keeps the earlier state";
  EXPECT_FALSE(form->item("nextmovie").enabled);
}

TEST_F(LoadingTest, FirstOccurrenceOfADuplicateAndPathsOutsideTheList) {
  auto items = listOf({"x.swf", "dup.swf", "dup.swf"});
  form->playflash(items[2]);
  EXPECT_EQ(form->fileindex, 1);
  form->playflash(rig.dir.movie("elsewhere.swf"));
  EXPECT_EQ(form->fileindex, 1) << "a path not in the list leaves the index alone";
}

TEST_F(LoadingTest, RenewingReplacesTheControlWithTheMenuChoicesAndShowAll) {
  auto items = listOf({"a.swf", "b.swf"});
  form->playflash(items[0]);
  form->item("low").click();
  form->item("flashloop").click();  // off
  form->item("n100").click();
  form->Flash1->setBounds(1, 2, 3, 4);
  rig.flashes.log.clear();
  form->playflash(items[1]);
  EXPECT_EQ(rig.flashes.log,
            (std::vector<std::string>{"create Flash1", "destroy Flash1", "Flash1.ScaleMode=2",
                                      "Flash1.Quality=0", "Flash1.Loop=0", "Flash1.DoubleClick",
                                      "Flash1.Movie=" + items[1]}));
  EXPECT_EQ((std::array{form->Flash1->left, form->Flash1->top, form->Flash1->width,
                        form->Flash1->height}),
            (std::array{1, 2, 3, 4}));
  EXPECT_TRUE(form->Flash1->visible);
  EXPECT_FALSE(form->item("showall").checked) << "the mark keeps its value";
}

TEST_F(LoadingTest, PlayTurnedBackOnThroughItsCommandWhenPaused) {
  auto items = listOf({"a.swf", "b.swf"});
  form->playflash(items[0]);
  form->stopClick();
  EXPECT_FALSE(form->item("playstop").checked);
  form->playflash(items[1]);
  EXPECT_TRUE(form->item("playstop").checked);
  EXPECT_FALSE(form->flashpaused);
}

TEST_F(LoadingTest, MissingFileQuestion) {
  auto items = listOf({"a.swf", "gone.swf", "c.swf"});
  rig.dir.remove("gone.swf");
  form->fileindex = 0;
  rig.dialogs.answers = {false};
  form->playflash(items[1]);
  ASSERT_EQ(rig.dialogs.questions.size(), 1u);
  EXPECT_EQ(rig.dialogs.questions[0],
            "Movie file " + items[1] + " is not  exist! Delete it from the list?");
  EXPECT_EQ(form->flashlist.items.size(), 3u);
  EXPECT_EQ(rig.flashes.created, 3) << "nothing loaded";

  rig.dialogs.answers = {true};
  form->playflash(items[1]);
  EXPECT_EQ(form->flashlist.items, (std::vector<std::string>{items[0], items[2]}));
  EXPECT_EQ(form->fileindex, 1);
  EXPECT_EQ(form->ctl("lblfilename").caption, "Reelvista");

  form->fileindex = 0;
  rig.dialogs.answers = {true};
  form->playflash(rig.dir.path("never-listed.swf"));
  EXPECT_EQ(form->flashlist.items.size(), 2u);
  EXPECT_EQ(form->fileindex, 0);
}

TEST_F(LoadingTest, AnUnplayableFileIsReportedByName) {
  auto items = listOf({"bad.swf"});
  rig.flashes.unplayable.insert(items[0]);
  dispatch(*form, [&] { form->playflash(items[0]); });
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play " + items[0] + "!"});
  EXPECT_FALSE(form->Flash1->hasMovie());
  EXPECT_FALSE(form->flashpreview->hasMovie());
}

TEST(DisplayNameTest, DropsTheLastFourCharactersOfTheFileName) {
  EXPECT_EQ(MainForm::displayName("/m/intro.swf"), "intro");
  EXPECT_EQ(MainForm::displayName("/m/abc"), "");
  EXPECT_EQ(MainForm::displayName("/m/.swf"), "");
  EXPECT_EQ(MainForm::displayName("movie.SWF"), "movie");
  EXPECT_EQ(MainForm::displayName("/dir.d/x"), "");
}

// The end-of-movie rules, stage by stage.
class EndOfMovieTest : public LoadingTest {
 protected:
  std::vector<std::string> items;
  void SetUp() override {
    items = listOf({"a.swf", "b.swf", "c.swf"});
    rig.flashes.defaultFrames = 30;
    form->playflash(items[1]);
  }
  // The movie stops by itself at `frame`.
  void stopsAt(int frame) {
    flash1().frame = frame;
    flash1().playing = false;
    flash1().calls.clear();
  }
};

TEST_F(EndOfMovieTest, StoppedAfterTheFirstThirdAdvancesOnListLoopAndAbortsTheTick) {
  form->item("listloop").click();
  stopsAt(11);
  EXPECT_THROW(form->playflashlist(*form->Flash1), SilentAbort);
  EXPECT_EQ(form->fileindex, 2);
  EXPECT_EQ(form->Flash1->movie(), items[2]);
}

TEST_F(EndOfMovieTest, StoppedWithinTheFirstThirdIsResumedOnlyWithAutoPlay) {
  form->item("listloop").click();
  stopsAt(10);  // 30 div 3 = 10: not past the first third
  form->playflashlist(*form->Flash1);
  EXPECT_EQ(form->fileindex, 1);
  EXPECT_TRUE(flash1().calls.empty());
  form->item("autoplay").click();
  form->playflashlist(*form->Flash1);
  form->playflashlist(*form->Flash1);
  EXPECT_EQ(flash1().count("Play"), 1) << "resumed, and now it plays";
}

TEST_F(EndOfMovieTest, MovieLoopReloadsTheCurrentEntry) {
  stopsAt(20);
  form->playflashlist(*form->Flash1);
  EXPECT_EQ(form->Flash1->movie(), items[1]);
  EXPECT_EQ(rig.flashes.countOf("Flash1.Movie=" + items[1]), 2);
}

TEST_F(EndOfMovieTest, ListLoopWrapsFromTheLastEntry) {
  form->playflash(items[2]);
  form->item("listloop").click();
  stopsAt(29);
  EXPECT_THROW(form->playflashlist(*form->Flash1), SilentAbort);
  EXPECT_EQ(form->fileindex, 0);
  EXPECT_EQ(form->Flash1->movie(), items[0]);
}

TEST_F(EndOfMovieTest, NothingHappensWhilePausedDraggingOneFrameOrOneEntry) {
  form->item("autoplay").click();
  auto expectIdle = [&](const char* why) {
    stopsAt(25);
    int created = rig.flashes.created;
    form->playflashlist(*form->Flash1);
    EXPECT_EQ(rig.flashes.created, created) << why;
    EXPECT_TRUE(flash1().calls.empty()) << why;
  };
  form->flashpaused = true;
  expectIdle("paused");
  form->flashpaused = false;
  form->jctdragging = true;
  expectIdle("knob dragged");
  form->jctdragging = false;

  flash1().total = 1;
  stopsAt(0);
  form->playflashlist(*form->Flash1);
  EXPECT_EQ(flash1().count("Play"), 1) << "a one-frame movie never ends; auto play resumes it";
  flash1().total = 30;

  form->flashlist.items.resize(1);
  stopsAt(25);
  int created = rig.flashes.created;
  form->playflashlist(*form->Flash1);
  EXPECT_EQ(rig.flashes.created, created) << "a one-entry list is never reloaded or advanced";
}

TEST_F(EndOfMovieTest, AListEmptiedWhilePlayingIsAnErrorOnReload) {
  form->flashlist.items.clear();
  stopsAt(20);
  EXPECT_FALSE(dispatch(*form, [&] { form->playflashlist(*form->Flash1); }));
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play " + items[1] + "!"});
}

}  // namespace
}  // namespace rv
