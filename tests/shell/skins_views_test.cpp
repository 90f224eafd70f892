// The three views through the form model: every row of the resulting state, for every switch
// between views, with the movie handed over at its frame and play state; always on top,
// minimising, dragging, double clicks and the hover pictures.
#include <gtest/gtest.h>

#include <array>

#include "tests/shell/views_rig.h"

namespace rv {
namespace {

using test::fake;

enum class View { Normal, Easy, Full };
const char* itemOf(View v) {
  return v == View::Normal ? "normalview" : v == View::Easy ? "easyview" : "fullscreen";
}

using Rects = std::vector<std::array<int, 4>>;
const Rects kListOff = {{0, 0, 504, 379}, {10, 379, 480, 3}};
const Rects kListOn = {{0, 0, 675, 382}};
const Rects kMarker = {{1, 2, 3, 4}};

MainForm::Region region(const Rects& rects) {
  MainForm::Region r;
  for (const auto& [l, t, w, h] : rects) r.push_back({l, t, w, h});
  return r;
}
// The window's outline as rectangles; nullopt for none.
std::optional<Rects> outline(const MainForm& form) {
  if (!form.windowRegion) return std::nullopt;
  Rects rects;
  for (const auto& b : *form.windowRegion) rects.push_back({b.left, b.top, b.width, b.height});
  return rects;
}

class ViewsTest : public ::testing::Test {
 protected:
  test::ViewsRig views;
  test::ShellRig& rig = views.rig;
  std::unique_ptr<MainForm>& form = views.form;
  ToolBar& bar = views.bar;
  std::string movie;

  void SetUp() override {
    form->flash1left = form->Flash1->left;
    form->flash1top = form->Flash1->top;
    form->left = 30;
    form->top = 40;
    form->listoffregion = region(kListOff);
    form->listonregion = region(kListOn);
  }

  void load() { movie = views.play(); }
  bool to(View v) { return views.invoke(itemOf(v)); }
  test::FakeFlashControl& flash1() { return fake(form->Flash1); }
  test::FakeFlashControl& flash2() { return fake(form->Flash2); }
  // The control that holds the movie now, moved to `frame`.
  void showFrame(int frame) { (form->Flash1->hasMovie() ? flash1() : flash2()).frame = frame; }
};

struct Switch {
  View from, to;
};

class ViewTable : public ViewsTest, public ::testing::WithParamInterface<Switch> {};

TEST_P(ViewTable, ResultingStateOfEachView) {
  const auto [from, target] = GetParam();
  load();
  ASSERT_TRUE(to(from));
  showFrame(37);
  bar.visible = true;
  form->windowRegion = region(kMarker);  // an outline to see whether it changes
  rig.window.calls.clear();
  ASSERT_TRUE(to(target));

  int checkedCount = 0;
  for (View v : {View::Normal, View::Easy, View::Full})
    checkedCount += form->item(itemOf(v)).checked;
  EXPECT_EQ(checkedCount, 1);
  EXPECT_TRUE(form->item(itemOf(target)).checked);
  EXPECT_EQ(form->easyviewmode, target == View::Easy);

  // Where the window is and how big.
  if (target == View::Full)
    EXPECT_EQ(std::pair(form->left, form->top), std::pair(0, 0));
  else
    EXPECT_EQ(std::pair(form->left, form->top), std::pair(30, 40));
  const std::pair size(form->windowWidth(), form->windowHeight());
  if (target == View::Normal)
    EXPECT_EQ(size, std::pair(form->clientWidth(), form->clientHeight()));
  else if (target == View::Easy)
    EXPECT_EQ(size, std::pair(481, 264));
  else
    EXPECT_EQ(size, std::pair(1920, 1080));
  EXPECT_EQ(form->view.coversScreen, target == View::Full);

  // The outline.
  if (target == View::Full)
    EXPECT_FALSE(form->windowRegion);
  else if (target == View::Easy)
    EXPECT_EQ(outline(*form), (Rects{{0, 0, 481, 264}}));
  else if (from == View::Normal)
    EXPECT_EQ(outline(*form), kMarker) << "left as it was";
  else
    EXPECT_EQ(outline(*form), kListOff);

  // Which control holds the movie, where, at which frame, playing.
  FlashControl& holder = target == View::Full ? *form->Flash2 : *form->Flash1;
  FlashControl& other = target == View::Full ? *form->Flash1 : *form->Flash2;
  EXPECT_TRUE(holder.visible);
  EXPECT_FALSE(other.visible);
  EXPECT_EQ(holder.movie(), movie);
  EXPECT_EQ(holder.currentFrame(), 37);
  EXPECT_TRUE(holder.isPlaying());
  EXPECT_FALSE(other.hasMovie());
  if (target == View::Normal)
    EXPECT_EQ(std::pair(holder.left, holder.top), std::pair(9, 72));
  else if (target == View::Easy)
    EXPECT_EQ(std::pair(holder.left, holder.top), std::pair(0, 0));
  else
    EXPECT_EQ((std::array{holder.left, holder.top, holder.width, holder.height}),
              (std::array{0, 0, 1920, 1080}));

  // The panel, the tool bar, topmost.
  EXPECT_FALSE(form->flashlist.visible);
  EXPECT_FALSE(form->flashpreview->visible);
  EXPECT_EQ(bar.visible, target != View::Normal) << "only the normal view closes the tool bar";
  EXPECT_FALSE(rig.window.called("topmost=1")) << "Always on top is not checked";
}

INSTANTIATE_TEST_SUITE_P(
    EverySwitch, ViewTable,
    ::testing::Values(Switch{View::Normal, View::Normal}, Switch{View::Normal, View::Easy},
                      Switch{View::Normal, View::Full}, Switch{View::Easy, View::Normal},
                      Switch{View::Easy, View::Easy}, Switch{View::Easy, View::Full},
                      Switch{View::Full, View::Normal}, Switch{View::Full, View::Easy},
                      Switch{View::Full, View::Full}));

TEST_F(ViewsTest, APausedMovieStaysPausedAtItsFrameBothWays) {
  load();
  form->stopClick();
  showFrame(12);
  ASSERT_TRUE(to(View::Full));
  EXPECT_EQ(flash2().frame, 12);
  EXPECT_FALSE(flash2().playing);
  EXPECT_FALSE(form->item("playstop").checked);
  flash2().frame = 20;
  ASSERT_TRUE(to(View::Normal));
  EXPECT_EQ(flash1().frame, 20);
  EXPECT_FALSE(flash1().playing);
  EXPECT_TRUE(form->flashpaused);
}

TEST_F(ViewsTest, NormalRenewsFlash1WhenLeavingFullScreenButMainWindowOnlyKeepsIt) {
  load();
  const int flash2Made = rig.flashes.countOf("create Flash2");
  ASSERT_TRUE(to(View::Full));
  EXPECT_EQ(rig.flashes.countOf("create Flash2"), flash2Made + 1);
  const FlashControl* kept = form->Flash1.get();
  ASSERT_TRUE(to(View::Easy));
  EXPECT_EQ(form->Flash1.get(), kept);
  ASSERT_TRUE(to(View::Full));
  const int renewed = rig.flashes.countOf("create Flash1");
  ASSERT_TRUE(to(View::Normal));
  EXPECT_EQ(rig.flashes.countOf("create Flash1"), renewed + 1);
  EXPECT_TRUE(flash1().called("DoubleClick"));
  EXPECT_EQ(flash1().movie(), movie);
}

TEST_F(ViewsTest, WithNothingLoadedEveryViewSwitchesWithoutAnError) {
  for (View v : {View::Full, View::Easy, View::Full, View::Normal, View::Full, View::Full}) {
    ASSERT_TRUE(to(v));
    EXPECT_TRUE(form->item(itemOf(v)).checked);
  }
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_FALSE(form->Flash2->hasMovie());
  // Full screen chosen twice recorded the corner of the screen as the place to return to.
  ASSERT_TRUE(to(View::Normal));
  EXPECT_EQ(std::pair(form->left, form->top), std::pair(0, 0));
  EXPECT_TRUE(form->Flash1->visible);
}

TEST_F(ViewsTest, FullScreenCoversTheScreenTheWindowIsOn) {
  rig.window.screenLeft_ = 1920;
  rig.window.screenTop_ = -200;
  rig.window.screenWidth_ = 2560;
  rig.window.screenHeight_ = 1440;
  load();
  ASSERT_TRUE(to(View::Full));
  EXPECT_EQ(std::pair(form->left, form->top), std::pair(1920, -200));
  EXPECT_EQ(std::pair(form->windowWidth(), form->windowHeight()), std::pair(2560, 1440));
  EXPECT_EQ(std::pair(form->Flash2->width, form->Flash2->height), std::pair(2560, 1440));
  ASSERT_TRUE(to(View::Normal));
  EXPECT_EQ(std::pair(form->left, form->top), std::pair(30, 40));
}

TEST_F(ViewsTest, AlwaysOnTopIsSetAgainByTheWindowedViewsOnly) {
  ASSERT_TRUE(dispatch(*form, [&] { form->item("alwaysonthetop").invoke(); }));
  EXPECT_TRUE(form->item("alwaysonthetop").checked);
  EXPECT_EQ(rig.window.calls, std::vector<std::string>{"topmost=1"});
  const int left = form->left;
  rig.window.calls.clear();
  ASSERT_TRUE(to(View::Full));
  EXPECT_FALSE(rig.window.called("topmost=1"));
  ASSERT_TRUE(to(View::Easy));
  EXPECT_TRUE(rig.window.called("topmost=1"));
  rig.window.calls.clear();
  ASSERT_TRUE(to(View::Normal));
  EXPECT_EQ(rig.window.calls, std::vector<std::string>{"topmost=1"});
  ASSERT_TRUE(dispatch(*form, [&] { form->alwaysonthetopClick(); }));
  EXPECT_FALSE(form->item("alwaysonthetop").checked);
  EXPECT_EQ(rig.window.calls.back(), "topmost=0");
  EXPECT_EQ(form->left, left) << "neither moves the window";
}

TEST_F(ViewsTest, NormalWhileNormalOnlyClosesTheToolBarAndPutsFlash1Back) {
  bar.visible = true;
  form->Flash1->left = 100;
  form->windowRegion = region(kMarker);
  ASSERT_TRUE(to(View::Normal));
  EXPECT_FALSE(bar.visible);
  EXPECT_EQ(form->Flash1->left, 9);
  EXPECT_EQ(outline(*form), kMarker);
}

TEST_F(ViewsTest, ThePlaylistPanelOutlivesMainWindowOnlyAndComesBackWithItsOutline) {
  form->listbtnonClick();
  ASSERT_TRUE(to(View::Easy));
  EXPECT_TRUE(form->flashlist.visible) << "shown, but outside the outline";
  EXPECT_TRUE(form->viewbig);
  EXPECT_EQ(std::pair(form->windowWidth(), form->windowHeight()), std::pair(481, 264));
  ASSERT_TRUE(to(View::Full));
  EXPECT_FALSE(form->flashlist.visible);
  ASSERT_TRUE(to(View::Normal));
  EXPECT_TRUE(form->flashlist.visible);
  EXPECT_TRUE(form->flashpreview->visible);
  EXPECT_EQ(outline(*form), kListOn);
  EXPECT_EQ(form->windowWidth(), 675);
}

TEST_F(ViewsTest, MinimiseDragAndDoubleClicksOnTheBackgrounds) {
  form->windowsminClick();
  form->image1MouseDown(false);
  form->ImagelistMouseDown(true);
  EXPECT_EQ(rig.window.calls, (std::vector<std::string>{"minimize", "move"}));

  ASSERT_TRUE(dispatch(*form, [&] { form->image1DblClick(); }));
  EXPECT_TRUE(form->item("fullscreen").checked);
  ASSERT_TRUE(dispatch(*form, [&] { form->ImagelistDblClick(); }));
  EXPECT_TRUE(form->item("normalview").checked);
}

TEST_F(ViewsTest, TheFullScreenSpotLeavesMainWindowOnlyModeAsItIs) {
  ASSERT_TRUE(to(View::Easy));
  ASSERT_TRUE(dispatch(*form, [&] { form->windowsmaxClick(); }));
  EXPECT_TRUE(form->item("fullscreen").checked);
  EXPECT_TRUE(form->easyviewmode);
  ASSERT_TRUE(to(View::Full));
  EXPECT_FALSE(form->easyviewmode);
}

// Which hover pictures are lit after the pointer moved over a picture, by the movie's state.
TEST_F(ViewsTest, HoverPicturesLightOverTheButtonsAndTheCurrentLookStaysLit) {
  enum State { NoMovie, Playing, Paused };
  struct Row {
    State state;
    void (MainForm::*over)();
    bool openfile, opendir, play2, stop2;
  };
  const Row rows[] = {
      {NoMovie, &MainForm::openMouseMove, true, false, false, false},
      {NoMovie, &MainForm::opendirMouseMove, false, true, false, false},
      {NoMovie, &MainForm::playMouseMove, false, false, false, false},
      {NoMovie, &MainForm::stopMouseMove, false, false, false, false},
      {Playing, &MainForm::playMouseMove, false, false, true, false},
      {Playing, &MainForm::stopMouseMove, false, false, true, true},
      {Playing, &MainForm::image1MouseMove, false, false, true, false},
      {Paused, &MainForm::stopMouseMove, false, false, false, true},
      {Paused, &MainForm::playMouseMove, false, false, true, true},
      {Paused, &MainForm::ImagelistMouseMove, false, false, false, true},
  };
  for (const Row& row : rows) {
    test::ViewsRig v;
    auto& f = v.form;
    if (row.state != NoMovie) v.play();
    if (row.state == Paused) f->stopClick();
    f->listhint = true;
    (f.get()->*row.over)();
    SCOPED_TRACE(&row - rows);
    EXPECT_EQ(f->ctl("imgopenfile").visible, row.openfile);
    EXPECT_EQ(f->ctl("imgopendir").visible, row.opendir);
    EXPECT_EQ(f->ctl("play2").visible, row.play2);
    EXPECT_EQ(f->ctl("stop2").visible, row.stop2);
    EXPECT_EQ(f->listhint, row.over != &MainForm::ImagelistMouseMove);
  }
}

}  // namespace
}  // namespace rv
