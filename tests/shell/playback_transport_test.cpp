// Transport commands: play and pause, steps, go to frame, zoom, quality, loops, volume, keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/about_box.h"
#include "app/dispatch.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;

class TransportTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
  std::vector<std::string> items;

  void load(int entries = 3, int current = 0) {
    form->flashlist.items.clear();
    for (int i = 0; i < entries; ++i)
      form->flashlist.items.push_back(rig.dir.movie(test::numbered("m", i, ".swf")));
    items = form->flashlist.items;
    form->playflash(items[static_cast<std::size_t>(current)]);
    fake(form->Flash1).calls.clear();
  }
  test::FakeFlashControl& flash1() { return fake(form->Flash1); }
  test::FakeFlashControl& flash2() { return fake(form->Flash2); }
};

TEST_F(TransportTest, BeforeAnyMovieShortcutsAndMovieKeysDoNothing) {
  flash1().calls.clear();
  for (const char* name : {"playstop", "flashloop", "listloop", "autoplay", "rewind", "showall"})
    form->item(name).invoke();
  form->FormKeyDown(Key::Right, true);
  form->FormKeyDown(Key::PageDown, true);
  EXPECT_TRUE(form->item("playstop").checked);
  EXPECT_TRUE(form->item("flashloop").checked);
  EXPECT_FALSE(form->item("listloop").checked);
  EXPECT_FALSE(form->autoplayflash);
  EXPECT_TRUE(flash1().calls.empty());
  form->playClick();
  form->stopClick();
  EXPECT_TRUE(flash1().calls.empty());
}

TEST_F(TransportTest, PlayAndPausePicturesActOnFlash1AndSwitchTheLook) {
  load();
  form->stopClick();
  EXPECT_TRUE(form->flashpaused);
  EXPECT_FALSE(form->item("playstop").checked);
  EXPECT_TRUE(form->ctl("play").visible);
  EXPECT_TRUE(form->ctl("stop2").visible);
  EXPECT_FALSE(form->ctl("stop").visible);
  form->playClick();
  EXPECT_FALSE(form->flashpaused);
  EXPECT_TRUE(form->item("playstop").checked);
  EXPECT_EQ(flash1().calls, (std::vector<std::string>{"Stop", "Play"}));
}

TEST_F(TransportTest, PlayToggleActsOnTheVisibleControlWithoutAMovieTest) {
  load();
  form->item("playstop").invoke();
  EXPECT_TRUE(form->flashpaused);
  form->item("playstop").invoke();
  EXPECT_FALSE(form->flashpaused);
  EXPECT_EQ(flash1().calls, (std::vector<std::string>{"Stop", "Play"}));

  // In full screen the empty Flash2 is the visible control: its refusal is reported.
  form->Flash1->visible = false;
  EXPECT_FALSE(dispatch(*form, [&] { form->item("playstop").invoke(); }));
  EXPECT_EQ(rig.dialogs.messages.size(), 1u);
}

TEST_F(TransportTest, StepsPauseFirstAndRewindKeepsTheLook) {
  load();
  form->item("stepup").invoke();
  form->item("stepback").invoke();
  EXPECT_EQ(flash1().calls, (std::vector<std::string>{"Stop", "Forward", "Stop", "Back"}));
  EXPECT_TRUE(form->flashpaused);
  form->item("rewind").invoke();
  EXPECT_TRUE(flash1().called("Rewind"));
  EXPECT_TRUE(form->flashpaused);
}

TEST_F(TransportTest, GoToFrame) {
  load();
  form->item("playframe").invoke();  // Cancel
  rig.dialogs.inputs = {std::string(""), std::string("12"), std::string("twelve"),
                        std::string("100"), std::string("-1")};
  form->item("playframe").invoke();
  EXPECT_TRUE(rig.dialogs.informations.empty());
  form->item("playframe").invoke();
  EXPECT_EQ(form->Flash1->currentFrame(), 12) << "the number is passed unchanged";
  form->item("playframe").invoke();
  form->item("playframe").invoke();
  form->item("playframe").invoke();
  EXPECT_EQ(rig.dialogs.informations, std::vector<std::string>(3, "No such Frame number!"));
  EXPECT_EQ(flash1().calls,
            (std::vector<std::string>{"FrameNum=12", "FrameNum=100", "FrameNum=-1"}))
      << "frames outside the movie reach the control, which refuses them";
  EXPECT_EQ(rig.dialogs.inputRequests.at(0).title, "Please input frame number:");
  EXPECT_EQ(rig.dialogs.inputRequests.at(0).prompt, "");
  EXPECT_EQ(rig.dialogs.inputRequests.at(0).initial, "");
  EXPECT_TRUE(form->Flash1->hasMovie());
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(TransportTest, ZoomStepsAndOneHundredPercent) {
  load();
  for (int i = 0; i < 3; ++i) form->item("zoomout").invoke();
  EXPECT_EQ(form->zoomsteps, 3);
  EXPECT_TRUE(form->item("zoomin").enabled);
  EXPECT_FALSE(form->item("showall").checked);
  for (int i = 0; i < 3; ++i) form->item("zoomin").invoke();
  form->item("zoomin").invoke();  // disabled now
  EXPECT_EQ(form->zoomsteps, 0);
  EXPECT_FALSE(form->item("zoomin").enabled);
  EXPECT_EQ(flash1().count("Zoom(80)"), 3);
  EXPECT_EQ(flash1().count("Zoom(125)"), 3);

  flash1().calls.clear();
  form->item("zoomout").invoke();
  form->item("zoomout").invoke();
  form->item("n100").invoke();
  EXPECT_FALSE(form->item("zoomin").enabled);
  EXPECT_EQ(form->zoomsteps, 2);
  EXPECT_TRUE(flash1().called("ScaleMode=3"));
  form->item("showall").invoke();
  EXPECT_TRUE(form->item("showall").checked);
  EXPECT_FALSE(form->item("zoomin").enabled) << "Show all leaves Zoom out alone";
  flash1().calls.clear();
  form->item("zoomout").invoke();
  EXPECT_EQ(flash1().calls, (std::vector<std::string>{"Zoom(80)", "Zoom(80)"}));
  EXPECT_EQ(form->zoomsteps, 1);
  EXPECT_TRUE(form->item("zoomin").enabled);
}

TEST_F(TransportTest, QualityGoesToBothMainControlsAndToTheNextMovie) {
  load();
  form->item("low").invoke();
  EXPECT_EQ(form->Flash1->quality(), 0);
  EXPECT_EQ(form->Flash2->quality(), 0);
  EXPECT_TRUE(form->item("low").checked);
  EXPECT_FALSE(form->item("high").checked);
  form->playflash(items[1]);
  EXPECT_EQ(form->Flash1->quality(), 0) << "a new control plays as the menu says";
  form->item("high").invoke();
  EXPECT_EQ(form->Flash1->quality(), 1);
  EXPECT_TRUE(form->item("high").checked);
}

TEST_F(TransportTest, LoopSwitchesExcludeEachOther) {
  load();
  form->item("listloop").invoke();
  EXPECT_FALSE(form->item("flashloop").checked);
  EXPECT_TRUE(form->item("listloop").checked);
  EXPECT_FALSE(form->Flash1->loop());
  EXPECT_FALSE(form->Flash2->loop());
  form->item("listloop").invoke();
  EXPECT_FALSE(form->item("listloop").checked);
  EXPECT_FALSE(form->Flash1->loop());
  EXPECT_EQ(flash1().count("Loop=0"), 1) << "List loop sets Loop only when it ends Movie loop";

  form->item("flashloop").invoke();
  EXPECT_TRUE(form->Flash1->loop());
  form->item("listloop").invoke();
  form->item("flashloop").invoke();
  EXPECT_TRUE(form->item("flashloop").checked);
  EXPECT_FALSE(form->item("listloop").checked);
  form->item("flashloop").invoke();
  EXPECT_FALSE(form->item("flashloop").checked);
  EXPECT_FALSE(form->item("listloop").checked);

  form->playflash(items[1]);
  EXPECT_FALSE(form->Flash1->loop()) << "a new control loops as the menu says";
}

TEST_F(TransportTest, VolumeStepsShowOneIndicatorAndSetThePreset) {
  const uint32_t presets[] = {0x13881388, 0x3A983A98, 0x75307530, 0xAFC8AFC8, 0xFFFFFFFF};
  for (int n = 1; n <= 5; ++n) {
    form->vcClick(n);
    for (int i = 1; i <= 5; ++i)
      EXPECT_EQ(form->ctl(test::numbered("v", i)).visible, i == n) << n << " " << i;
    EXPECT_EQ(rig.mixer.sets.back(), presets[n - 1]);
  }
}

TEST_F(TransportTest, HelpAboutAndExit) {
  form->helpClick();
  EXPECT_EQ(rig.dialogs.informations, std::vector<std::string>{"The help files are not exist."});
  rig.dir.write("help/index.html", "<html></html>");
  form->helpClick();
  EXPECT_EQ(rig.desktop.documents, std::vector<std::string>{rig.dir.path("help/index.html")});

  AboutBox about(rig.dir.path(), rig.flashes);
  form->aboutBox = &about;
  form->item("about").invoke();
  EXPECT_TRUE(about.visible);

  form->exitClick();
  form->item("quit").invoke();
  EXPECT_EQ(std::count(rig.window.calls.begin(), rig.window.calls.end(), "close"), 2);
}

TEST_F(TransportTest, MovieKeysNeedCtrlUnlessFlash2HoldsTheMovie) {
  load(3, 1);
  form->FormKeyDown(Key::Right, false);
  EXPECT_TRUE(flash1().calls.empty()) << "without Ctrl the key goes to the focused control only";
  form->FormKeyDown(Key::Right, true);
  form->FormKeyDown(Key::Left, true);
  EXPECT_EQ(flash1().calls, (std::vector<std::string>{"Stop", "Forward", "Stop", "Back"}));
  form->FormKeyDown(Key::PageDown, true);
  EXPECT_EQ(form->fileindex, 2);
  form->FormKeyDown(Key::PageDown, true);
  EXPECT_EQ(form->fileindex, 2) << "Next movie is disabled on the last entry";
  form->FormKeyDown(Key::PageUp, true);
  EXPECT_EQ(form->fileindex, 1);

  // Full screen: Flash2 holds the movie, the keys work without Ctrl.
  form->Flash1->setMovie(kUnloadMovie);
  form->Flash1->visible = false;
  form->Flash2->visible = true;
  form->Flash2->setMovie(items[1]);
  form->FormKeyDown(Key::Right, false);
  EXPECT_TRUE(flash2().called("Forward"));
  EXPECT_FALSE(form->flashpaused) << "the pause picture acts on the empty Flash1 only";
}

}  // namespace
}  // namespace rv
