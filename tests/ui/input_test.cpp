// Keys and button presses on their way from the window system to the shell: the keyboard map
// sees every key of the main window before the focused control, menu shortcuts work while the
// menu is closed (and only for enabled items), and the message filter decides about presses.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTimer>

#include "app/dispatch.h"
#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"
#include "ui/input_filter.h"
#include "ui/main_window.h"

namespace rv::test {
namespace {

// A focused control that records the keys it gets.
class KeyRecorder : public QWidget {
 public:
  using QWidget::QWidget;
  std::vector<int> keys;

 protected:
  void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qtApp();
    rig.dir.write("m/a.swf", "x");
    movie = rig.dir.path() + "m/a.swf";
    form = rig.form();
    window = std::make_unique<ui::MainWindow>(
        [this] { return form.get(); },
        [this](const std::function<void()>& e) { return dispatch(*form, e); });
    filter = std::make_unique<ui::InputFilter>(*window, [] {});
    qApp->installEventFilter(filter.get());
    focused = new KeyRecorder(window.get());
    focused->setGeometry(0, 0, 5, 5);
    focused->setFocusPolicy(Qt::StrongFocus);
    window->show();
    processUntil([&] { return window->isVisible(); });
    focused->setFocus();
  }
  void TearDown() override { qApp->removeEventFilter(filter.get()); }

  FakeFlashControl& flash1() { return static_cast<FakeFlashControl&>(*form->Flash1); }
  void loadMovie() {
    dispatch(*form, [&] {
      form->flashlist.items.push_back(movie);
      form->playflash(movie);
    });
    flash1().calls.clear();
  }

  ShellRig rig;
  std::string movie;
  std::unique_ptr<MainForm> form;
  std::unique_ptr<ui::MainWindow> window;
  std::unique_ptr<ui::InputFilter> filter;
  KeyRecorder* focused = nullptr;
};

TEST_F(InputTest, KeyReachesTheKeyboardMapAndStillTheFocusedControl) {
  loadMovie();
  typeKey(window->windowHandle(), Qt::Key_Right, Qt::ControlModifier);
  EXPECT_TRUE(flash1().called("Forward"));  // Ctrl+Right: "Forward"
  ASSERT_FALSE(focused->keys.empty());
  EXPECT_EQ(focused->keys.back(), Qt::Key_Right);
}

TEST_F(InputTest, MovieKeysWithoutCtrlOnlyReachTheFocusedControl) {
  loadMovie();
  typeKey(window->windowHandle(), Qt::Key_Right);
  EXPECT_FALSE(flash1().called("Forward"));
  ASSERT_FALSE(focused->keys.empty());
  EXPECT_EQ(focused->keys.back(), Qt::Key_Right);
}

TEST_F(InputTest, ShortcutRunsItsEnabledItemAndIsConsumed) {
  loadMovie();
  ASSERT_TRUE(form->item("playstop").checked);
  typeKey(window->windowHandle(), Qt::Key_P, Qt::ControlModifier, "\x10");
  EXPECT_FALSE(form->item("playstop").checked);
  EXPECT_TRUE(flash1().called("Stop"));
  EXPECT_TRUE(focused->keys.empty());
}

TEST_F(InputTest, ShortcutOfADisabledItemDoesNothingAndPassesOn) {
  // Before any movie "Play" is disabled: Ctrl+P is an ordinary key then.
  typeKey(window->windowHandle(), Qt::Key_P, Qt::ControlModifier, "\x10");
  EXPECT_TRUE(form->item("playstop").checked);
  ASSERT_EQ(focused->keys.size(), 1u);
  EXPECT_EQ(focused->keys[0], Qt::Key_P);
}

TEST_F(InputTest, CtrlXClosesThroughTheNormalClosePath) {
  typeKey(window->windowHandle(), Qt::Key_X, Qt::ControlModifier, "\x18");
  EXPECT_TRUE(rig.window.called("close"));
}

TEST_F(InputTest, RightPressOutsideTheMovieIsForTheWindowMenuWhileTheMovieIsShown) {
  // Flash1 shown, normal view: the filter lets the press through, and the window opens the
  // menu itself on the skin.
  QStringList seen;
  QTimer::singleShot(0, [&] {
    processUntil([] { return QApplication::activePopupWidget() != nullptr; }, 2000);
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* a : menu->actions()) seen << a->text();
      menu->close();
    }
  });
  pressMouse(window->windowHandle(), QPoint(2, 2), Qt::RightButton);
  releaseMouse(window->windowHandle(), QPoint(2, 2), Qt::RightButton);
  ASSERT_FALSE(seen.isEmpty());
  EXPECT_EQ(seen.front(), "Open...\tCtrl+O");
}

TEST_F(InputTest, RightPressWhileTheMovieIsHiddenAsksTheShellForTheMenu) {
  form->Flash1->visible = false;  // as in full screen
  pressMouse(window->windowHandle(), QPoint(2, 2), Qt::RightButton);
  releaseMouse(window->windowHandle(), QPoint(2, 2), Qt::RightButton);
  // The shell's filter handled it and asked its window host for the menu.
  bool asked = false;
  for (const auto& c : rig.window.calls) asked = asked || c.rfind("popup ", 0) == 0;
  EXPECT_TRUE(asked);
}

}  // namespace
}  // namespace rv::test
