// The main window as the model describes it: its place and size, what a press on each part of
// it does, the seek bar, drops from a file manager and the playlist rows.

#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>

#include "app/dispatch.h"
#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"
#include "ui/playlist_view.h"

namespace rv::test {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qtApp();
    form = rig.form();
    window = std::make_unique<ui::MainWindow>(
        [this] { return form.get(); },
        [this](const std::function<void()>& e) { return dispatch(*form, e); });
    window->show();
    processUntil([&] { return window->isVisible(); });
  }

  FakeFlashControl& flash1() { return static_cast<FakeFlashControl&>(*form->Flash1); }
  std::string addMovie(const std::string& rel) {
    rig.dir.write(rel, "x");
    const std::string path = rig.dir.path() + rel;
    form->flashlist.items.push_back(path);
    return path;
  }
  void play(const std::string& path) {
    dispatch(*form, [&] { form->playflash(path); });
    window->syncFromModel();
  }
  // A left click at window pixels, delivered through the native window.
  void click(int x, int y) {
    pressMouse(window->windowHandle(), {x, y}, Qt::LeftButton);
    releaseMouse(window->windowHandle(), {x, y}, Qt::LeftButton);
  }

  ShellRig rig;
  std::unique_ptr<MainForm> form;
  std::unique_ptr<ui::MainWindow> window;
};

TEST_F(MainWindowTest, WindowTakesThePlaceAndTheSizeOfItsVisibleControls) {
  form->left = 30;
  form->top = 40;
  window->syncFromModel();
  EXPECT_EQ(window->pos(), QPoint(30, 40));
  EXPECT_EQ(window->size(), QSize(504, 382));  // the background and the seek knob below it

  dispatch(*form, [&] { form->listbtnonClick(); });
  window->syncFromModel();
  EXPECT_EQ(window->width(), 675);  // the panel's background
  EXPECT_TRUE(window->playlist()->isVisible());
  EXPECT_EQ(window->playlist()->geometry(), QRect(516, 88, 145, 121));
}

TEST_F(MainWindowTest, SpotsLieAboveThePicturesBeneathThem) {
  const Control* c = window->controlAt({20, 365});
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->name, "play");
  form->ctl("play").visible = false;
  form->ctl("play2").visible = true;
  c = window->controlAt({20, 365});
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->name, "play2");        // the lit picture is inert: a click there does nothing
  c = window->controlAt({300, 200});  // under Flash1's place: the background
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->name, "image1");
  EXPECT_EQ(window->controlAt({600, 370}), nullptr);  // outside every control
}

TEST_F(MainWindowTest, VolumeSpotSetsItsPresetAndShowsItsIndicator) {
  click(89, 40);  // vc3: 88..92
  ASSERT_FALSE(rig.mixer.sets.empty());
  EXPECT_EQ(rig.mixer.sets.back(), 0x75307530u);
  EXPECT_TRUE(form->ctl("v3").visible);
  EXPECT_FALSE(form->ctl("v1").visible);
}

TEST_F(MainWindowTest, PressAndReleaseMustBeOnTheSameSpot) {
  pressMouse(window->windowHandle(), {89, 40}, Qt::LeftButton);
  releaseMouse(window->windowHandle(), {300, 200}, Qt::LeftButton);
  EXPECT_TRUE(rig.mixer.sets.empty());
}

TEST_F(MainWindowTest, PauseAndPlaySpotsDriveTheMovie) {
  play(addMovie("a.swf"));
  click(70, 360);  // stop: 64..88
  EXPECT_TRUE(form->flashpaused);
  EXPECT_TRUE(flash1().called("Stop"));
  click(15, 360);  // play: 8..32
  EXPECT_FALSE(form->flashpaused);
  EXPECT_TRUE(flash1().called("Play"));
}

TEST_F(MainWindowTest, TrackPressSeeksFromThePointInsideTheTrack) {
  rig.flashes.defaultFrames = 1000;
  play(addMovie("a.swf"));
  form->jctmin = 124;
  form->jctmax = 418;
  flash1().calls.clear();
  pressMouse(window->windowHandle(), {116 + 147, 365}, Qt::LeftButton);
  releaseMouse(window->windowHandle(), {116 + 147, 365}, Qt::LeftButton);
  EXPECT_TRUE(flash1().called("FrameNum=500"));
  EXPECT_EQ(form->ctl("jctcontrol").left, 116 + 147);
}

TEST_F(MainWindowTest, KnobDragHoldsTheTickAndSeeksOnEveryMove) {
  rig.flashes.defaultFrames = 1000;
  play(addMovie("a.swf"));
  form->jctmin = 124;
  form->jctmax = 418;
  form->ctl("jctcontrol").left = 124;
  window->syncFromModel();
  flash1().calls.clear();
  QWindow* w = window->windowHandle();
  pressMouse(w, {130, 365}, Qt::LeftButton);
  EXPECT_TRUE(form->jctdragging);
  pressMouse(w, {230, 365}, Qt::LeftButton, QEvent::MouseMove);
  EXPECT_EQ(form->ctl("jctcontrol").left, 224);
  EXPECT_TRUE(flash1().called("FrameNum=340"));  // 1000 * (224 - 124) div 294
  releaseMouse(w, {230, 365}, Qt::LeftButton);
  EXPECT_FALSE(form->jctdragging);
  EXPECT_TRUE(flash1().called("Play"));
}

TEST_F(MainWindowTest, DroppedFilesArriveWholeAsTheirBytes) {
  const std::string longName = std::string(300, 'n') + ".swf";
  const std::string first = rig.dir.path() + "dir with blanks/film é.swf";
  rig.dir.write("dir with blanks/film é.swf", "x");
  rig.dir.write(longName, "x");
  const std::string second = rig.dir.path() + longName;

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromUtf8(first.c_str())),
                QUrl::fromLocalFile(QString::fromUtf8(second.c_str())),
                QUrl(QStringLiteral("https://example.org/remote.swf"))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window.get(), &drop);

  ASSERT_EQ(form->flashlist.items.size(), 2u);
  EXPECT_EQ(form->flashlist.items[0], first);
  EXPECT_EQ(form->flashlist.items[1], second);  // never cut at 253 characters
  EXPECT_EQ(form->Flash1->movie(), first);      // the first dropped movie plays
}

TEST_F(MainWindowTest, DragOfNothingLocalIsRefused) {
  QMimeData mime;
  mime.setText(QStringLiteral("just text"));
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  enter.setAccepted(false);
  QCoreApplication::sendEvent(window.get(), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

// Counts pixels of a row band close to a colour (anti-aliased text keeps some exact stems).
int pixelsLike(const QImage& img, int top, int height, QColor want) {
  int n = 0;
  for (int y = top; y < top + height && y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (std::abs(c.red() - want.red()) < 40 && std::abs(c.green() - want.green()) < 40 &&
          std::abs(c.blue() - want.blue()) < 40)
        ++n;
    }
  return n;
}

TEST_F(MainWindowTest, PlaylistRowsAreGreenAndTheCurrentOneRedWhileFlash1HasItsMovie) {
  addMovie("a.swf");
  const std::string b = addMovie("b.swf");
  addMovie("c.swf");
  dispatch(*form, [&] { form->listbtnonClick(); });
  play(b);
  ASSERT_EQ(form->fileindex, 1);
  ui::PlaylistView* list = window->playlist();
  list->syncFromModel();
  QImage rows = list->viewport()->grab().toImage();
  const QColor red(255, 0, 0), green(0, 128, 0);
  EXPECT_GT(pixelsLike(rows, 0, 15, green), 5);
  EXPECT_EQ(pixelsLike(rows, 0, 15, red), 0);
  EXPECT_GT(pixelsLike(rows, 15, 15, red), 5);
  EXPECT_EQ(pixelsLike(rows, 15, 15, green), 0);

  // Without a movie in Flash1 no row is red, even though fileindex names one.
  dispatch(*form, [&] { form->Flash1->setMovie(kUnloadMovie); });
  list->syncFromModel();
  rows = list->viewport()->grab().toImage();
  EXPECT_EQ(pixelsLike(rows, 0, 45, red), 0);
  EXPECT_GT(pixelsLike(rows, 15, 15, green), 5);
}

TEST_F(MainWindowTest, PlaylistRowClickSelectsAndRowsBelowTheLastSelectNothing) {
  addMovie("a.swf");
  addMovie("b.swf");
  dispatch(*form, [&] { form->listbtnonClick(); });
  window->syncFromModel();
  QWindow* w = window->windowHandle();
  pressMouse(w, {520, 88 + 15 + 3}, Qt::LeftButton);
  releaseMouse(w, {520, 88 + 15 + 3}, Qt::LeftButton);
  EXPECT_EQ(form->flashlist.itemIndex, 1);
  pressMouse(w, {520, 88 + 60}, Qt::LeftButton);
  EXPECT_EQ(form->flashlist.itemIndex, 1);
  EXPECT_EQ(window->playlist()->rowAt(60), -1);
  EXPECT_EQ(window->playlist()->rowAt(16), 1);
}

TEST_F(MainWindowTest, KeysInThePlaylistMarkPlayAndDelete) {
  const std::string a = addMovie("a.swf");
  addMovie("b.swf");
  const std::string c = addMovie("c.swf");
  dispatch(*form, [&] { form->listbtnonClick(); });
  play(a);
  QWindow* w = window->windowHandle();
  pressMouse(w, {520, 88 + 30 + 3}, Qt::LeftButton);  // select the third row
  releaseMouse(w, {520, 88 + 30 + 3}, Qt::LeftButton);
  window->activateWindow();
  processUntil([&] { return window->isActiveWindow(); });
  window->playlist()->setFocus();
  ASSERT_TRUE(processUntil([&] { return window->playlist()->hasFocus(); }));

  // A typed letter moves the marking to the selected row without playing it.
  typeKey(w, Qt::Key_X, Qt::NoModifier, "x");
  EXPECT_EQ(form->fileindex, 2);
  EXPECT_EQ(form->Flash1->movie(), a);

  typeKey(w, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(form->Flash1->movie(), c);

  // Up moves the selection; Delete removes the selected entry and types nothing.
  typeKey(w, Qt::Key_Up);
  EXPECT_EQ(form->flashlist.itemIndex, 1);
  typeKey(w, Qt::Key_Delete, Qt::NoModifier, "\x7f");
  ASSERT_EQ(form->flashlist.items.size(), 2u);
  EXPECT_EQ(form->flashlist.items[1], c);
  EXPECT_EQ(form->Flash1->movie(), c);  // the playing movie goes on
}

TEST_F(MainWindowTest, OutlineIsTheModelsRegionUntilItHasNone) {
  form->windowRegion = MainForm::Region{{0, 0, 100, 50}, {0, 50, 20, 20}};
  window->syncFromModel();
  QRegion expected(0, 0, 100, 50);
  expected += QRect(0, 50, 20, 20);
  EXPECT_EQ(window->mask(), expected);
  form->windowRegion.reset();
  window->syncFromModel();
  EXPECT_TRUE(window->mask().isEmpty());
}

TEST_F(MainWindowTest, PlaylistHintShowsTheEntryUnderThePointerWithOneBlank) {
  addMovie("a.swf");
  const std::string b = addMovie("b.swf");
  addMovie("c.swf");
  form->left = 30;
  form->top = 40;
  dispatch(*form, [&] { form->listbtnonClick(); });
  window->syncFromModel();
  QWidget* rows = window->playlist()->viewport();
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 20), rows->mapToGlobal(QPointF(5, 20)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(rows, &move);
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 20), rows->mapToGlobal(QPoint(5, 20)));
  QCoreApplication::sendEvent(rows, &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text().toStdString(), "2. " + b);
  // On the hovered row itself, from its top-left corner, not below it over the next row.
  QWidget* tip = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "qtooltip_label" && w->isVisible()) tip = w;
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->pos(), QPoint(30 + 516, 40 + 88 + 15));
  QToolTip::hideText();
}

TEST_F(MainWindowTest, PlaylistScrollBarsFollowTheRowsAndTheWidestEntry) {
  dispatch(*form, [&] { form->listbtnonClick(); });
  ui::PlaylistView* list = window->playlist();
  QScrollBar* v = list->verticalScrollBar();
  QScrollBar* h = list->horizontalScrollBar();
  auto change = [&](int count, const std::string& name) {
    dispatch(*form, [&] {
      form->flashlist.items.assign(static_cast<size_t>(count), name);
      form->checklistwidth();
    });
    window->syncFromModel();
    processFor(50);  // the scroll area lays its bars out after their ranges change
  };
  change(5, "a.swf");
  EXPECT_FALSE(v->isVisible());
  EXPECT_FALSE(h->isVisible());
  change(20, "a.swf");  // more rows than the box shows
  EXPECT_TRUE(v->isVisible());
  EXPECT_FALSE(h->isVisible());
  change(50, std::string(120, 'n') + ".swf");  // and wider than the box
  EXPECT_TRUE(v->isVisible());
  EXPECT_TRUE(h->isVisible());
  EXPECT_EQ(h->maximum() + list->viewport()->width(), form->flashlist.horizontalExtent);

  dispatch(*form, [&] { form->listbtnoffClick(); });
  window->syncFromModel();
  dispatch(*form, [&] { form->listbtnonClick(); });
  window->syncFromModel();
  processFor(50);
  EXPECT_TRUE(v->isVisible() && h->isVisible());

  // Cleared: no rows to scroll; the horizontal extent is kept as it was.
  change(0, "");
  EXPECT_FALSE(v->isVisible());
  EXPECT_TRUE(h->isVisible());
}

}  // namespace
}  // namespace rv::test
