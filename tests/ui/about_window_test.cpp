// The about box: a frameless 400 x 300 window on top of the others, centred on the desktop,
// shown by "About..." and hidden by the about movie's "aboutexit".

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "app/about_box.h"
#include "tests/shell/fakes/fake_flash_control.h"
#include "tests/ui/qt_test_app.h"
#include "ui/flash_widget.h"
#include "ui/side_windows.h"

namespace rv::test {
namespace {

TEST(AboutWindow, ShowsCentredOnTopAndHidesOnlyOnTheExactCommand) {
  qtApp();
  FakeFlashFactory flashes;
  AboutBox box("/nowhere/", flashes);
  ui::AboutWindow window(box, [](const std::function<void()>& e) {
    e();
    return true;
  });
  box.window = &window;

  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(window.size(), QSize(400, 300));
  EXPECT_EQ(window.flash()->control(), box.Flash3.get());

  box.show();
  ASSERT_TRUE(processUntil([&] { return window.isVisible(); }));
  const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(window.geometry().center().x() - desk.center().x()), 1);
  EXPECT_LE(std::abs(window.geometry().center().y() - desk.center().y()), 1);
  EXPECT_EQ(window.flash()->geometry(), QRect(0, 0, 400, 300));

  box.Flash3->onFSCommand("AboutExit", "");
  window.syncFromModel();
  EXPECT_TRUE(window.isVisible());
  box.Flash3->onFSCommand("aboutexit", "");
  window.syncFromModel();
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(box.visible);
}

}  // namespace
}  // namespace rv::test
