// The 10 ms tick: read-outs, the knob, the last-frame advance; and the seek bar.
#include <gtest/gtest.h>

#include "app/dispatch.h"
#include "skins/tool_bar.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;

class TickTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
  std::vector<std::string> items;

  void SetUp() override {
    // The limits start-up gives the designed layout.
    form->jctmin = 124;
    form->jctmax = 418;
    fake(form->Flash1).calls.clear();
  }
  void load(int frames, int entries = 1, int current = 0) {
    rig.flashes.defaultFrames = frames;
    form->flashlist.items.clear();
    for (int i = 0; i < entries; ++i)
      form->flashlist.items.push_back(rig.dir.movie(test::numbered("m", i, ".swf")));
    items = form->flashlist.items;
    form->playflash(items[static_cast<std::size_t>(current)]);
  }
  test::FakeFlashControl& flash1() { return fake(form->Flash1); }
  void at(int frame) { flash1().frame = frame; }
  bool tick() {
    return dispatch(*form, [&] { form->Timer1Timer(); });
  }
};

TEST_F(TickTest, WithoutAMovieNothingChangesAndNothingIsCalled) {
  tick();
  EXPECT_EQ(form->ctl("Lbltime").caption, "00:00");
  EXPECT_EQ(form->ctl("Lblframe").caption, "0/0");
  EXPECT_EQ(form->ctl("jctcontrol").left, 118);
  EXPECT_TRUE(flash1().calls.empty());
}

TEST_F(TickTest, AStoppedScriptIsToldOnceEvenWhenBothControlsStoppedOne) {
  form->Flash1->scriptStopped = true;
  form->Flash2->scriptStopped = true;
  tick();
  tick();
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0], "A script in this movie was taking too long and was stopped.");
  EXPECT_FALSE(form->Flash1->scriptStopped || form->Flash2->scriptStopped);
}

TEST_F(TickTest, ReadOutsCountFramesAndTimeAtTwelveFramesASecond) {
  load(120);
  tick();
  EXPECT_EQ(form->ctl("Lblframe").caption, "0/120");
  EXPECT_EQ(form->ctl("Lbltime").caption, "0:0");
  at(119);
  tick();
  EXPECT_EQ(form->ctl("Lblframe").caption, "119/120");
  EXPECT_EQ(form->ctl("Lbltime").caption, "0:9");
  load(10000);
  at(725);
  tick();
  EXPECT_EQ(form->ctl("Lbltime").caption, "1:0");
  at(7260);
  tick();
  EXPECT_EQ(form->ctl("Lbltime").caption, "10:5");
}

TEST_F(TickTest, KnobPlacementUsesTheTruncatedStep) {
  load(1000);
  at(999);
  tick();
  EXPECT_EQ(form->ctl("jctcontrol").left, 413);
  load(29401);
  at(29000);
  tick();
  EXPECT_EQ(form->ctl("jctcontrol").left, 124) << "a zero step keeps the knob at the start";
  form->jctdragging = true;
  form->ctl("jctcontrol").left = 200;
  tick();
  EXPECT_EQ(form->ctl("jctcontrol").left, 200) << "a dragged knob is the pointer's";
}

TEST_F(TickTest, AMovieOfNoFramesIsReportedNotDividedBy) {
  load(10);
  flash1().total = 0;
  EXPECT_FALSE(tick());
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play " + items[0] + "!"});
  EXPECT_FALSE(form->Flash1->hasMovie());
  EXPECT_TRUE(tick()) << "afterwards the tick finds no movie";
  EXPECT_EQ(rig.dialogs.messages.size(), 1u);
}

TEST_F(TickTest, LastFrameWithListLoopInvokesNextMovieWithinTheTick) {
  load(50, 3, 1);
  form->item("listloop").invoke();
  at(49);
  flash1().playing = true;  // still showing its last frame, not stopped
  tick();
  EXPECT_EQ(form->fileindex, 2);
  EXPECT_EQ(form->ctl("Lbltime").caption, "0:0") << "read from the next movie";

  // On the last entry the item is disabled: tick after tick nothing happens.
  at(49);
  flash1().playing = true;
  int created = rig.flashes.created;
  tick();
  tick();
  EXPECT_EQ(rig.flashes.created, created);
  EXPECT_EQ(form->fileindex, 2);
}

TEST_F(TickTest, LastFrameAdvanceWaitsWhilePausedOrDragging) {
  load(50, 3, 0);
  form->item("listloop").invoke();
  form->stopClick();
  at(49);
  tick();
  EXPECT_EQ(form->fileindex, 0);
  form->playClick();
  form->jctdragging = true;
  at(49);
  tick();
  EXPECT_EQ(form->fileindex, 0);
}

TEST_F(TickTest, AListAdvanceEndsTheTickBeforeTheReadOuts) {
  load(30, 3, 0);
  form->item("listloop").invoke();
  tick();
  at(20);
  flash1().playing = false;
  form->ctl("Lblframe").caption = "old";
  EXPECT_FALSE(tick());
  EXPECT_EQ(form->fileindex, 1);
  EXPECT_EQ(form->ctl("Lblframe").caption, "old");
  EXPECT_TRUE(rig.dialogs.messages.empty()) << "the abort is never reported";
}

TEST_F(TickTest, AModalQuestionHoldsTheTick) {
  load(30, 3, 0);
  form->item("listloop").invoke();
  rig.dir.remove("m1.swf");
  int ticksDuringQuestion = 0;
  rig.dialogs.answers = {false};
  rig.dialogs.whileQuestionOpen = [&](const std::string&) {
    if (++ticksDuringQuestion > 1) return;
    form->Timer1Timer();  // the timer keeps firing in the question's own loop
    form->Timer1Timer();
  };
  at(20);
  flash1().playing = false;
  tick();
  EXPECT_EQ(rig.dialogs.questions.size(), 1u) << "one question, not one per tick";
  EXPECT_EQ(ticksDuringQuestion, 1);
}

TEST_F(TickTest, FullScreenFeedsTheToolBarAndAdvancesEvenWhenPaused) {
  ToolBar bar(rig.dir.path());
  form->toolBar = &bar;
  load(100, 3, 0);
  // What the full-screen view does: the movie moves to Flash2, Flash1 is emptied and hidden.
  form->Flash1->setMovie(kUnloadMovie);
  form->Flash1->visible = false;
  form->Flash2->visible = true;
  form->Flash2->setMovie(items[0]);
  fake(form->Flash2).frame = 50;
  form->ctl("Lblframe").caption = "kept";
  tick();
  EXPECT_EQ(bar.ctl("lblframe").caption, "50/100");
  EXPECT_EQ(bar.ctl("lbltime").caption, "0:4");
  EXPECT_EQ(bar.ctl("imagejct").left, (20900 / 100) * 50 / 100 + 8);
  EXPECT_EQ(form->ctl("Lblframe").caption, "kept");

  bar.capturing = true;
  fake(form->Flash2).frame = 10;
  tick();
  EXPECT_EQ(bar.ctl("imagejct").left, (20900 / 100) * 50 / 100 + 8);
  EXPECT_EQ(bar.ctl("lblframe").caption, "10/100");
  bar.capturing = false;

  form->item("listloop").invoke();
  form->flashpaused = true;
  fake(form->Flash2).frame = 99;
  fake(form->Flash2).playing = true;
  tick();
  EXPECT_EQ(form->fileindex, 1);
  form->toolBar = nullptr;
}

// The seek bar.
TEST_F(TickTest, TrackPressJumpsAndKeepsAPausedMoviePaused) {
  load(1000);
  form->Imagejct0MouseDown(147);
  EXPECT_EQ(form->ctl("jctcontrol").left, 116 + 147);
  EXPECT_EQ(flash1().currentFrame(), 500);
  form->stopClick();
  flash1().calls.clear();
  form->Imagejct0MouseDown(10);
  EXPECT_EQ(flash1().calls, (std::vector<std::string>{"FrameNum=34", "Play", "Stop"}));
}

TEST_F(TickTest, TrackPressNearTheEndStaysInsideTheMovie) {
  load(1000);
  EXPECT_TRUE(dispatch(*form, [&] { form->Imagejct0MouseDown(306); }));
  EXPECT_EQ(flash1().currentFrame(), 999);
  EXPECT_TRUE(rig.dialogs.messages.empty()) << "a click on the bar never unloads the movie";
  form->Imagejct0MouseDown(-3);
  EXPECT_EQ(flash1().currentFrame(), 0);
}

TEST_F(TickTest, SeekingWithoutAMovieOrFramesDoesNothingOrIsReported) {
  form->Imagejct0MouseDown(50);
  EXPECT_EQ(form->ctl("jctcontrol").left, 118);
  load(10);
  flash1().total = 0;
  EXPECT_FALSE(dispatch(*form, [&] { form->Imagejct0MouseDown(50); }));
  load(10);
  form->jctmax = form->jctmin;  // a skin can make the track this short
  EXPECT_FALSE(dispatch(*form, [&] { form->Imagejct0MouseDown(50); }));
}

TEST_F(TickTest, KnobDragSeeksWithinTheLimitsAndReleaseRestoresThePlayState) {
  load(1000);
  form->left = 100;
  form->ctl("jctcontrol").left = 200;
  form->jctcontrolMouseDown(5);
  EXPECT_TRUE(form->jctdragging);
  form->jctcontrolMouseMove(15, 100 + 124);  // at jctmin: ignored
  form->jctcontrolMouseMove(15, 100 + 418);  // at jctmax: ignored
  EXPECT_EQ(form->ctl("jctcontrol").left, 200);
  form->jctcontrolMouseMove(15, 100 + 300);
  EXPECT_EQ(form->ctl("jctcontrol").left, 210);
  EXPECT_EQ(flash1().currentFrame(), 1000 * (210 - 124) / 294);

  form->ctl("jctcontrol").left = 420;  // dragged past the end of the travel
  form->jctcontrolMouseMove(5, 100 + 417);
  EXPECT_EQ(flash1().currentFrame(), 999);

  form->stopClick();
  flash1().calls.clear();
  form->jctcontrolMouseUp(8, 100 + 300);
  EXPECT_FALSE(form->jctdragging);
  EXPECT_EQ(form->ctl("jctcontrol").left, 423);
  EXPECT_EQ(flash1().calls, std::vector<std::string>{"Stop"});
}

TEST_F(TickTest, ReleaseWithoutAMovieKeepsDragging) {
  form->jctcontrolMouseDown(3);
  form->jctcontrolMouseUp(3, 300);
  EXPECT_TRUE(form->jctdragging);
}

}  // namespace
}  // namespace rv
