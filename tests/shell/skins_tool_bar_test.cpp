// The full-screen tool bar: its seek bar's integer arithmetic at the edges of the track, its
// buttons with and without a movie, showing and closing it.
#include <gtest/gtest.h>

#include "tests/shell/views_rig.h"

namespace rv {
namespace {

using test::fake;

class ToolBarTest : public ::testing::Test {
 protected:
  test::ViewsRig views;
  test::ShellRig& rig = views.rig;
  std::unique_ptr<MainForm>& form = views.form;
  ToolBar& bar = views.bar;

  void SetUp() override { bar.left = 300; }  // the bar's place on the screen

  // A movie of `frames` frames playing in full screen.
  void fullScreenWith(int frames) {
    views.play(frames);
    ASSERT_TRUE(views.invoke("fullscreen"));
    flash2().calls.clear();
  }
  bool run(const std::function<void()>& e) { return views.run(e); }
  test::FakeFlashControl& flash2() { return fake(form->Flash2); }
  int knob() { return bar.ctl("imagejct").left; }
};

TEST_F(ToolBarTest, TrackPressAtItsEdges) {
  struct Row {
    int x, frames, frame, knob;
  };
  const Row rows[] = {
      {0, 100, 0, 8}, {208, 100, 99, 216},      {104, 100, 49, 112}, {208, 1, 0, 216},
      {1, 209, 1, 9}, {208, 20900, 20800, 216}, {209, 100, 99, 217},  // past the track's end the
                                                                      // frame stays inside the
                                                                      // movie
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.x);
    test::ViewsRig v;
    v.play(row.frames);
    ASSERT_TRUE(v.invoke("fullscreen"));
    ASSERT_TRUE(v.run([&] { v.bar.Image2MouseDown(row.x); }));
    EXPECT_EQ(fake(v.form->Flash2).frame, row.frame);
    EXPECT_EQ(v.bar.ctl("imagejct").left, row.knob);
    EXPECT_TRUE(fake(v.form->Flash2).playing);
  }
}

TEST_F(ToolBarTest, TrackPressKeepsAPausedMoviePausedAndDoesNothingWithoutAMovie) {
  ASSERT_TRUE(run([&] { bar.Image2MouseDown(50); }));
  EXPECT_EQ(knob(), 12) << "nothing in Flash2: the knob stays";
  fullScreenWith(100);
  form->item("playstop").invoke();  // pause
  flash2().calls.clear();
  ASSERT_TRUE(run([&] { bar.Image2MouseDown(50); }));
  EXPECT_EQ(flash2().calls, (std::vector<std::string>{"FrameNum=23", "Play", "Stop"}));
}

TEST_F(ToolBarTest, DraggingTheKnobFollowsThePointerInsideTheTrackOnly) {
  fullScreenWith(209);
  // The pointer's x on the bar is screenX - 300; the knob starts at 12, grabbed 4 pixels in.
  ASSERT_TRUE(run([&] { bar.imagejctMouseDown(4); }));
  EXPECT_TRUE(bar.capturing);
  struct Step {
    int x, barX, knob, frame;  // pointer in the knob, pointer on the bar; what follows
  };
  const Step steps[] = {
      {9, 21, 17, 9},     // moved 5 to the right: frame 209 × 9 ÷ 209
      {-1, 8, 17, 9},     // at the track's start: no change
      {120, 217, 17, 9},  // at its end and beyond: no change
      {120, 230, 17, 9}, {150, 216, 163, 155},
      {-180, 9, -21, 0},  // the knob passes the track's start: the frame stays in the movie
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.barX);
    ASSERT_TRUE(run([&] { bar.imagejctMouseMove(s.x, 300 + s.barX); }));
    EXPECT_EQ(knob(), s.knob);
    EXPECT_EQ(flash2().frame, s.frame);
  }
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(ToolBarTest, ReleasingTheKnobMovesItInsideWiderLimitsAndResumesAsThePlayMarkSays) {
  struct Row {
    int barX;
    bool moves;
  };
  for (const Row row : {Row{7, false}, Row{8, true}, Row{217, true}, Row{218, false}}) {
    SCOPED_TRACE(row.barX);
    test::ViewsRig v;
    v.bar.left = 300;
    v.play();
    ASSERT_TRUE(v.invoke("fullscreen"));
    v.bar.imagejctMouseDown(2);
    fake(v.form->Flash2).calls.clear();
    ASSERT_TRUE(v.run([&] { v.bar.imagejctMouseUp(5, 300 + row.barX); }));
    EXPECT_FALSE(v.bar.capturing);
    EXPECT_EQ(v.bar.ctl("imagejct").left, row.moves ? 15 : 12);
    EXPECT_EQ(fake(v.form->Flash2).calls, std::vector<std::string>{"Play"}) << "no new frame";
  }
}

TEST_F(ToolBarTest, ReleaseWithoutAMovieKeepsCapturingAndTheTickLeavesTheKnob) {
  ASSERT_TRUE(run([&] { bar.imagejctMouseDown(3); }));
  ASSERT_TRUE(run([&] { bar.imagejctMouseUp(3, 320); }));
  EXPECT_TRUE(bar.capturing);
  fullScreenWith(100);
  flash2().frame = 50;
  ASSERT_TRUE(run([&] { form->Timer1Timer(); }));
  EXPECT_EQ(knob(), 12);
  ASSERT_TRUE(run([&] { bar.imagejctMouseUp(3, 320); }));
  EXPECT_FALSE(bar.capturing);
  ASSERT_TRUE(run([&] { form->Timer1Timer(); }));
  EXPECT_EQ(knob(), 20900 / 100 * 50 / 100 + 8);
}

TEST_F(ToolBarTest, ButtonsWithNothingLoadedDoNothingAndReportNothing) {
  ASSERT_TRUE(run([&] { form->item("fullscreen").invoke(); }));
  flash2().calls.clear();
  ASSERT_TRUE(run([&] {
    bar.playClick();
    bar.stopClick();
    bar.rewindClick();
    bar.Image1Click();
    bar.previousmovieClick();
    bar.nextmovieClick();
  }));
  EXPECT_TRUE(flash2().calls.empty());
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(ToolBarTest, ButtonsDriveFlash2AndTheMainMenu) {
  fullScreenWith(100);
  ASSERT_TRUE(run([&] { bar.stopClick(); }));
  EXPECT_FALSE(form->item("playstop").checked);
  EXPECT_TRUE(form->flashpaused);
  EXPECT_FALSE(flash2().playing);

  // The background plays without touching the play mark.
  ASSERT_TRUE(run([&] { bar.Image1Click(); }));
  EXPECT_TRUE(flash2().playing);
  EXPECT_FALSE(form->item("playstop").checked);
  EXPECT_TRUE(form->flashpaused);

  ASSERT_TRUE(run([&] { bar.playClick(); }));
  EXPECT_TRUE(form->item("playstop").checked);
  EXPECT_FALSE(form->flashpaused);
  flash2().frame = 40;
  ASSERT_TRUE(run([&] { bar.rewindClick(); }));
  EXPECT_EQ(flash2().frame, 0);

  // One entry: previous and next are disabled, so nothing happens.
  flash2().calls.clear();
  ASSERT_TRUE(run([&] { bar.previousmovieClick(); }));
  ASSERT_TRUE(run([&] { bar.nextmovieClick(); }));
  EXPECT_TRUE(flash2().calls.empty());
}

TEST_F(ToolBarTest, ShowingCopiesTheMovieNameAndTheNormalViewButtonClosesIt) {
  test::FakeWindowHost barWindow;
  bar.window = &barWindow;
  fullScreenWith(100);
  EXPECT_EQ(bar.ctl("lblfilename").caption, "m");
  bar.setFileName("stale");
  ASSERT_TRUE(run([&] { form->appmessage(InputMessage::LeftButtonDoubleClick); }));
  EXPECT_TRUE(bar.visible);
  EXPECT_EQ(bar.ctl("lblfilename").caption, "m");
  EXPECT_EQ(barWindow.calls, (std::vector<std::string>{"show", "topmost=1"}));

  bar.Image1MouseDown(false);
  bar.Image1MouseDown(true);
  EXPECT_EQ(barWindow.calls, (std::vector<std::string>{"show", "topmost=1", "move"}));
  ASSERT_TRUE(run([&] { bar.normalviewClick(); }));
  EXPECT_FALSE(bar.visible);
  EXPECT_TRUE(form->item("normalview").checked);
  EXPECT_TRUE(form->Flash1->hasMovie());

  ASSERT_TRUE(run([&] { form->item("fullscreen").invoke(); }));
  bar.showOnTop();
  bar.closemeClick();
  EXPECT_FALSE(bar.visible);
  EXPECT_EQ(barWindow.calls.back(), "hide");
  EXPECT_TRUE(form->item("fullscreen").checked) << "closing the bar leaves full screen on";
}

}  // namespace
}  // namespace rv
