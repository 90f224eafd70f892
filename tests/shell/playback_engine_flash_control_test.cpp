// The production control over real SWF files made for the test, and the shell playing them.
#include <gtest/gtest.h>

#include "app/dispatch.h"
#include "playback/engine_flash_control.h"
#include "swf/author/action_builder.h"
#include "swf/author/swf_writer.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using swf::author::ActionBuilder;
using swf::author::SwfWriter;

// A movie of `frames` empty frames at 12 fps; `stopAt` puts a stop action on that frame and
// `fsCommandAt` sends an FSCommand from that frame.
std::string makeMovie(const test::TempProgramDir& dir, const std::string& rel, int frames,
                      int stopAt = -1, int fsCommandAt = -1) {
  SwfWriter w(5, 100, 80, 12);
  for (int f = 0; f < frames; ++f) {
    if (f == stopAt) w.doAction(ActionBuilder().stop().build());
    if (f == fsCommandAt) w.doAction(ActionBuilder().getURL("FSCommand:aboutexit", "").build());
    w.showFrame();
  }
  auto bytes = w.finish();
  dir.write(rel, std::string(bytes.begin(), bytes.end()));
  return dir.path(rel);
}

class EngineControlTest : public ::testing::Test {
 protected:
  test::TempProgramDir dir;
  EngineFlashControl control;
};

TEST_F(EngineControlTest, AMovieFileCutShortWhilePlayingChangesNothing) {
  // The whole file is read at load; what happens to it afterwards does not reach the player.
  std::string path = makeMovie(dir, "cut.swf", 5);
  control.setMovie(path);
  dir.write("cut.swf", "FWS");
  control.player().advance(1000);
  EXPECT_EQ(control.totalFrames(), 5);
  EXPECT_EQ(control.movie(), path);
  control.rewind();
  control.forward();
  EXPECT_EQ(control.currentFrame(), 1);
}

TEST_F(EngineControlTest, LoadsARealMovieAndSteps) {
  std::string path = makeMovie(dir, "three.swf", 3);
  control.setMovie(path);
  EXPECT_EQ(control.movie(), path);
  EXPECT_EQ(control.totalFrames(), 3);
  EXPECT_EQ(control.currentFrame(), 0);
  EXPECT_TRUE(control.isPlaying());
  EXPECT_EQ(control.flashVersion(), 0x00050000);
  control.forward();
  control.forward();
  control.forward();
  EXPECT_EQ(control.currentFrame(), 2);
  EXPECT_FALSE(control.isPlaying());
  control.back();
  EXPECT_EQ(control.currentFrame(), 1);
  control.setFrameNum(2);
  EXPECT_EQ(control.frameNum(), 2);
  EXPECT_THROW(control.setFrameNum(3), AppError);
  EXPECT_THROW(control.setFrameNum(-1), AppError);
  control.rewind();
  EXPECT_EQ(control.currentFrame(), 0);
  control.setMovie(kUnloadMovie);
  EXPECT_EQ(control.movie(), "");
  EXPECT_EQ(control.totalFrames(), 0);
}

TEST_F(EngineControlTest, FilesThatAreNoMovieRaiseAndKeepTheirName) {
  dir.write("text.swf", "this is not a movie at all");
  std::string full = makeMovie(dir, "full.swf", 5);
  std::string whole = dir.read("full.swf");
  dir.write("cut.swf", whole.substr(0, whole.size() / 2));
  for (const char* rel : {"text.swf", "cut.swf", "missing.swf"}) {
    EngineFlashControl c;
    EXPECT_THROW(c.setMovie(dir.path(rel)), AppError) << rel;
    EXPECT_EQ(c.movie(), dir.path(rel)) << rel;
    EXPECT_EQ(c.totalFrames(), 0);
    c.setMovie(kUnloadMovie);
    EXPECT_EQ(c.movie(), "");
  }
  control.setMovie(full);
  EXPECT_THROW(control.setMovie(dir.path("text.swf")), AppError);
  EXPECT_EQ(control.player().loaded(), false) << "the old movie does not linger";
}

TEST_F(EngineControlTest, TransportWithoutAMovieIsRefusedButSettingsAreKept) {
  EXPECT_THROW(control.play(), AppError);
  EXPECT_THROW(control.forward(), AppError);
  EXPECT_THROW(control.setFrameNum(0), AppError);
  control.setQuality(0);
  control.setLoop(false);
  control.setScaleMode(3);
  control.zoom(80);
  EXPECT_EQ(control.quality(), 0);
  EXPECT_FALSE(control.loop());
  EXPECT_EQ(control.scaleMode(), 3);
  control.setMovie(makeMovie(dir, "m.swf", 2));
  EXPECT_EQ(control.quality(), 0);
  EXPECT_FALSE(control.loop());
}

TEST_F(EngineControlTest, FSCommandsReachTheControlsHandler) {
  std::vector<std::string> commands;
  control.onFSCommand = [&](const std::string& c, const std::string&) { commands.push_back(c); };
  control.setMovie(makeMovie(dir, "about.swf", 3, -1, 1));
  for (int i = 0; i < 2; ++i) control.player().advance(1000.0 / 12);
  EXPECT_EQ(commands, std::vector<std::string>{"aboutexit"});
}

// The shell over the engine: the list advances when a real movie stops by itself.
TEST(EngineShellTest, ListLoopAdvancesWhenARealMovieStopsAfterItsFirstThird) {
  test::ShellRig rig;
  EngineFlashFactory engines;
  Services services = rig.services();
  services.flashFactory = &engines;
  MainForm form(rig.dir.path(), services);
  form.jctmin = 124;
  form.jctmax = 418;
  form.flashlist.items = {makeMovie(rig.dir, "a.swf", 30, 20), makeMovie(rig.dir, "b.swf", 30)};
  form.playflash(form.flashlist.items[0]);
  form.item("listloop").invoke();
  auto& player = dynamic_cast<EngineFlashControl&>(*form.Flash1).player();
  for (int i = 0; i < 40 && form.fileindex == 0; ++i) {
    player.advance(1000.0 / 12);
    ASSERT_TRUE(dispatch(form, [&] { form.Timer1Timer(); }) || form.fileindex == 1);
  }
  EXPECT_EQ(form.fileindex, 1);
  EXPECT_EQ(form.Flash1->movie(), form.flashlist.items[1]);
  EXPECT_FALSE(form.Flash1->loop()) << "the new control follows the menu";
  EXPECT_TRUE(rig.dialogs.messages.empty());
  dispatch(form, [&] { form.Timer1Timer(); });
  EXPECT_EQ(form.ctl("Lblframe").caption, "0/30");
}

}  // namespace
}  // namespace rv
