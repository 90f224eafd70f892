// What the desktop's media-player interface reads from the player and what its commands do,
// without a bus: the same object the D-Bus adaptors call.

#include "ui/mpris/mpris.h"

#include <gtest/gtest.h>

#include <QDBusObjectPath>

#include "app/dispatch.h"
#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"

namespace rv::test {
namespace {

class MprisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qtApp();
    form = rig.form();
    mpris = std::make_unique<ui::Mpris>(
        *form, [this](const std::function<void()>& e) { return dispatch(*form, e); });
  }
  FakeFlashControl& flash1() { return static_cast<FakeFlashControl&>(*form->Flash1); }
  std::string load(const std::string& rel, int frames = 120) {
    rig.dir.write(rel, "x");
    const std::string path = rig.dir.path() + rel;
    rig.flashes.framesByPath[path] = frames;
    dispatch(*form, [&] {
      form->flashlist.items.push_back(path);
      form->playflash(path);
    });
    return path;
  }

  ShellRig rig;
  std::unique_ptr<MainForm> form;
  std::unique_ptr<ui::Mpris> mpris;
};

TEST_F(MprisTest, StatusFollowsThePlayMarkWhileAMovieIsLoaded) {
  EXPECT_EQ(mpris->playbackStatus(), "Stopped");
  EXPECT_FALSE(mpris->canPlay());
  EXPECT_FALSE(mpris->canSeek());
  load("a.swf");
  EXPECT_EQ(mpris->playbackStatus(), "Playing");
  mpris->playPause();
  EXPECT_EQ(mpris->playbackStatus(), "Paused");
  EXPECT_TRUE(form->flashpaused);
  mpris->pause();  // already paused: stays so
  EXPECT_EQ(mpris->playbackStatus(), "Paused");
  mpris->play();
  EXPECT_EQ(mpris->playbackStatus(), "Playing");
  mpris->play();
  EXPECT_EQ(mpris->playbackStatus(), "Playing");
}

TEST_F(MprisTest, PlayWithoutAMovieDoesNothing) {
  mpris->play();
  mpris->playPause();
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(mpris->playbackStatus(), "Stopped");
}

TEST_F(MprisTest, LoopStatusGoesThroughTheMenuItemsAndTheirRules) {
  // Before any movie both loop items are disabled: setting changes nothing.
  EXPECT_EQ(mpris->loopStatus(), "Track");
  mpris->setLoopStatus("Playlist");
  EXPECT_EQ(mpris->loopStatus(), "Track");

  load("a.swf");
  mpris->setLoopStatus("Playlist");
  EXPECT_EQ(mpris->loopStatus(), "Playlist");
  EXPECT_FALSE(form->item("flashloop").checked);  // List loop clears Movie loop
  EXPECT_FALSE(flash1().loop());
  mpris->setLoopStatus("Track");
  EXPECT_EQ(mpris->loopStatus(), "Track");
  EXPECT_FALSE(form->item("listloop").checked);
  EXPECT_TRUE(flash1().loop());
  mpris->setLoopStatus("None");
  EXPECT_EQ(mpris->loopStatus(), "None");
  EXPECT_FALSE(flash1().loop());
  mpris->setLoopStatus("bogus");
  EXPECT_EQ(mpris->loopStatus(), "None");
}

TEST_F(MprisTest, MetadataNamesTheMovieAndItsLengthAtTheFallbackRate) {
  EXPECT_EQ(mpris->metadata().value("mpris:trackid").value<QDBusObjectPath>().path(),
            "/org/mpris/MediaPlayer2/TrackList/NoTrack");
  const std::string path = load("dir/My film.swf", 120);
  const QVariantMap m = mpris->metadata();
  EXPECT_EQ(m.value("xesam:title").toString(), "My film");
  EXPECT_EQ(m.value("xesam:url").toString(),
            QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded));
  EXPECT_TRUE(m.value("xesam:url").toString().contains("My%20film.swf"));
  // The fake control has no engine behind it: 12 frames a second.
  EXPECT_EQ(m.value("mpris:length").toLongLong(), 10'000'000);
  EXPECT_EQ(m.value("mpris:trackid").value<QDBusObjectPath>().path(), "/org/reelvista/track/0");
}

TEST_F(MprisTest, PositionsMapToFramesInsideTheMovie) {
  load("a.swf", 120);
  flash1().frame = 24;
  EXPECT_EQ(mpris->position(), 2'000'000);
  flash1().calls.clear();
  mpris->setPosition(mpris->trackId(), 5'000'000);
  EXPECT_TRUE(flash1().called("FrameNum=60"));
  EXPECT_TRUE(flash1().called("Play"));
  // Past the end: the last frame, never a frame the control would refuse.
  mpris->setPosition(mpris->trackId(), 60'000'000);
  EXPECT_TRUE(flash1().called("FrameNum=119"));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  // Another track's id, or a negative time: ignored.
  flash1().calls.clear();
  mpris->setPosition("/org/reelvista/track/7", 1'000'000);
  mpris->setPosition(mpris->trackId(), -5);
  EXPECT_TRUE(flash1().calls.empty());
  // Seek is relative and stops at the start.
  flash1().frame = 12;
  mpris->seek(-10'000'000);
  EXPECT_TRUE(flash1().called("FrameNum=0"));
}

TEST_F(MprisTest, SeekingWhilePausedStaysPaused) {
  load("a.swf", 120);
  mpris->pause();
  flash1().calls.clear();
  mpris->seek(1'000'000);
  EXPECT_TRUE(flash1().called("FrameNum=12"));
  EXPECT_TRUE(flash1().called("Stop"));
  EXPECT_FALSE(flash1().called("Play"));
}

TEST_F(MprisTest, VolumePicksTheNearestPreset) {
  mpris->setVolume(0.5);  // 32767: nearest is 30000
  EXPECT_EQ(rig.mixer.sets.back(), 0x75307530u);
  EXPECT_NEAR(mpris->volume(), 30000 / 65535.0, 1e-9);
  mpris->setVolume(0.0);
  EXPECT_EQ(rig.mixer.sets.back(), 0x13881388u);
  mpris->setVolume(7.0);  // out of range: the loudest
  EXPECT_EQ(rig.mixer.sets.back(), 0xFFFFFFFFu);
  EXPECT_NEAR(mpris->volume(), 1.0, 1e-9);
}

TEST_F(MprisTest, NextAndPreviousAreTheMenuItemsAndRespectTheirState) {
  const std::string a = load("a.swf");
  const std::string b = load("b.swf");
  dispatch(*form, [&] { form->playflash(a); });
  form->item("nextmovie").enabled = false;
  EXPECT_FALSE(mpris->canGoNext());
  mpris->next();
  EXPECT_EQ(form->Flash1->movie(), a);

  form->item("nextmovie").enabled = true;
  EXPECT_TRUE(mpris->canGoNext());
  mpris->next();
  EXPECT_EQ(form->Flash1->movie(), b);
  form->item("lastmovie").enabled = true;
  EXPECT_TRUE(mpris->canGoPrevious());
  mpris->previous();
  EXPECT_EQ(form->Flash1->movie(), a);
}

TEST_F(MprisTest, QuitClosesTheMainWindowThroughItsHost) {
  mpris->quit();
  EXPECT_TRUE(rig.window.called("close"));
}

}  // namespace
}  // namespace rv::test
