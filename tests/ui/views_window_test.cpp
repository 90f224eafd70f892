// The views on a real (offscreen) window: full screen covers the screen without an outline and
// gives way to the skinned window again; main window only is the movie's rectangle; the
// background drags the window and lights the hover pictures; the tool bar window draws its
// pictures, seeks and is dragged.
#include <gtest/gtest.h>

#include <QImage>
#include <QScreen>

#include "app/dispatch.h"
#include "skins/tool_bar.h"
#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"
#include "ui/flash_widget.h"
#include "ui/main_window.h"
#include "ui/tool_bar_window.h"

namespace rv::test {
namespace {

class ViewsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qtApp();
    window = std::make_unique<ui::MainWindow>([this] { return form.get(); }, runner());
    Services s = rig.services();
    s.window = window.get();  // the real window answers for its screen
    form = std::make_unique<MainForm>(rig.dir.path(), s);
    bar = std::make_unique<ToolBar>(rig.dir.path());
    bar->form = form.get();
    form->toolBar = bar.get();
    barWindow = std::make_unique<ui::ToolBarWindow>(*bar, runner());
    bar->window = barWindow.get();

    form->flash1left = form->Flash1->left;
    form->flash1top = form->Flash1->top;
    form->listoffregion = MainForm::Region{{0, 0, 504, 379}, {20, 379, 400, 3}};
    form->listonregion = MainForm::Region{{0, 0, 675, 382}};
    form->left = 30;
    form->top = 40;
    form->listbtnoffClick();
    window->show();
    processUntil([&] { return window->isVisible(); });
  }
  void TearDown() override { form->toolBar = nullptr; }

  ui::Runner runner() {
    return [this](const std::function<void()>& e) { return dispatch(*form, e); };
  }
  void invoke(const char* item) {
    ASSERT_TRUE(dispatch(*form, [&] { form->item(item).invoke(); }));
    window->syncFromModel();
    barWindow->syncFromModel();
    QCoreApplication::processEvents();
  }
  std::string playMovie() {
    const std::string m = rig.dir.movie("m.swf");
    form->flashlist.items.push_back(m);
    dispatch(*form, [&] { form->playflash(m); });
    return m;
  }
  QRect screen() const { return window->screen()->geometry(); }

  ShellRig rig;
  std::unique_ptr<ui::MainWindow> window;
  std::unique_ptr<MainForm> form;
  std::unique_ptr<ToolBar> bar;
  std::unique_ptr<ui::ToolBarWindow> barWindow;
};

TEST_F(ViewsWindowTest, FullScreenCoversTheScreenWithoutOutlineAndGivesWayToTheSkinAgain) {
  const std::string movie = playMovie();
  fake(form->Flash1).frame = 42;
  window->syncFromModel();
  EXPECT_FALSE(window->mask().isEmpty());

  invoke("fullscreen");
  EXPECT_EQ(window->geometry(), screen());
  EXPECT_TRUE(window->mask().isEmpty()) << "no outline in full screen";
  ui::FlashWidget* f2 = window->flashWidget("Flash2");
  EXPECT_TRUE(f2->isVisible());
  EXPECT_EQ(f2->geometry(), QRect(QPoint(0, 0), screen().size()));
  EXPECT_FALSE(window->flashWidget("Flash1")->isVisible());
  EXPECT_EQ(fake(form->Flash2).frame, 42);

  invoke("normalview");
  EXPECT_EQ(window->geometry(), QRect(30, 40, 504, 385));  // play2 lit below the track
  EXPECT_EQ(window->mask(), QRegion(0, 0, 504, 379) + QRegion(20, 379, 400, 3));
  EXPECT_TRUE(window->flashWidget("Flash1")->isVisible());
  EXPECT_FALSE(f2->isVisible());
  EXPECT_EQ(form->Flash1->movie(), movie);
  EXPECT_EQ(fake(form->Flash1).frame, 42);
}

TEST_F(ViewsWindowTest, MainWindowOnlyIsTheMoviesRectangle) {
  invoke("easyview");
  EXPECT_EQ(window->geometry(), QRect(30, 40, 481, 264));
  EXPECT_EQ(window->mask(), QRegion(0, 0, 481, 264));
  EXPECT_EQ(window->flashWidget("Flash1")->geometry(), QRect(0, 0, 481, 264));
}

TEST_F(ViewsWindowTest, TheBackgroundDragsTheWindowOnlyOnceThePointerTravels) {
  QWindow* w = window->windowHandle();
  const QPoint onBackground(250, 20);
  ASSERT_EQ(window->controlAt(onBackground)->name, "image1");
  pressMouse(w, onBackground, Qt::LeftButton);
  pressMouse(w, onBackground + QPoint(1, 0), Qt::LeftButton, QEvent::MouseMove);
  EXPECT_EQ(window->pos(), QPoint(30, 40)) << "a press that has not travelled is still a click";
  pressMouse(w, onBackground + QPoint(41, 30), Qt::LeftButton, QEvent::MouseMove);
  releaseMouse(w, onBackground + QPoint(41, 30), Qt::LeftButton);
  // Without a window manager to move it, the window follows the pointer itself.
  EXPECT_EQ(QPoint(form->left, form->top), QPoint(71, 70));
  EXPECT_EQ(window->pos(), QPoint(71, 70));
}

TEST_F(ViewsWindowTest, DoubleClickOnTheBackgroundSwitchesToFullScreenAndBack) {
  QWindow* w = window->windowHandle();
  pressMouse(w, {250, 20}, Qt::LeftButton, QEvent::MouseButtonDblClick);
  EXPECT_TRUE(form->item("fullscreen").checked);
  window->syncFromModel();
  EXPECT_EQ(window->geometry(), screen());
  dispatch(*form, [&] { form->image1DblClick(); });
  EXPECT_TRUE(form->item("normalview").checked);
}

TEST_F(ViewsWindowTest, HoverPicturesFollowThePointerOverTheSkin) {
  QWindow* w = window->windowHandle();
  const Control& open = form->ctl("open");
  pressMouse(w, {open.left + 3, open.top + 3}, Qt::NoButton, QEvent::MouseMove);
  EXPECT_TRUE(form->ctl("imgopenfile").visible);
  pressMouse(w, {250, 20}, Qt::NoButton, QEvent::MouseMove);
  EXPECT_FALSE(form->ctl("imgopenfile").visible);
}

TEST_F(ViewsWindowTest, ToolBarDrawsItsPicturesSeeksAndIsDragged) {
  playMovie();
  invoke("fullscreen");
  bar->left = 226;
  bar->top = 10;
  dispatch(*form, [&] { bar->showOnTop(); });
  barWindow->syncFromModel();
  ASSERT_TRUE(processUntil([&] { return barWindow->isVisible(); }));
  EXPECT_EQ(barWindow->size(), QSize(225, 46));

  const QImage shot = barWindow->grab().toImage();
  const QColor green(0, 128, 0);
  EXPECT_NE(shot.pixelColor(3, 40), green) << "the background picture covers the bar";
  EXPECT_NE(shot.pixelColor(100, 11), shot.pixelColor(15, 11)) << "the knob is drawn";

  QWindow* w = barWindow->windowHandle();
  pressMouse(w, {8 + 104, 11}, Qt::LeftButton);  // on the track, past the knob
  releaseMouse(w, {8 + 104, 11}, Qt::LeftButton);
  EXPECT_EQ(fake(form->Flash2).frame, 104 * 100 / 209);
  EXPECT_EQ(bar->ctl("imagejct").left, 112);

  // Dragged by its background; the place is the bar's and is saved from the model.
  pressMouse(w, {160, 43}, Qt::LeftButton);
  pressMouse(w, {161, 43}, Qt::LeftButton, QEvent::MouseMove);
  pressMouse(w, {190, 63}, Qt::LeftButton, QEvent::MouseMove);
  releaseMouse(w, {190, 63}, Qt::LeftButton);
  EXPECT_EQ(QPoint(bar->left, bar->top), QPoint(256, 30));
  EXPECT_EQ(barWindow->pos(), QPoint(256, 30));

  const Control& close = bar->ctl("closeme");
  pressMouse(w, {close.left + 10, close.top + 5}, Qt::LeftButton);
  releaseMouse(w, {close.left + 10, close.top + 5}, Qt::LeftButton);
  EXPECT_FALSE(bar->visible);
  barWindow->syncFromModel();
  EXPECT_FALSE(barWindow->isVisible());
}

}  // namespace
}  // namespace rv::test
