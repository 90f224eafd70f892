// The pop-up menus as Qt shows them are built from the model at the moment they open, and the
// menus' shortcuts are found from the model's items.

#include "ui/popup_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"

namespace rv::test {
namespace {

struct Shown {
  QString text;
  bool enabled, checkable, checked, separator, submenu;
};

std::vector<Shown> shown(QMenu& menu) {
  std::vector<Shown> out;
  for (QAction* a : menu.actions())
    out.push_back({a->text(), a->isEnabled(), a->isCheckable(), a->isChecked(), a->isSeparator(),
                   a->menu() != nullptr});
  return out;
}

QMenu* submenu(QMenu& menu, const QString& caption) {
  for (QAction* a : menu.actions())
    if (a->menu() && a->text() == caption) return a->menu();
  return nullptr;
}

class PopupMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qtApp();
    form = rig.form();
  }
  ShellRig rig;
  std::unique_ptr<MainForm> form;
};

TEST_F(PopupMenuTest, MainMenuShowsTheModelsItemsInOrderWithShortcutsChecksAndStates) {
  auto menu = ui::buildQMenu(form->flash1pop.root());
  const auto items = shown(*menu);
  std::vector<QString> texts;
  for (const auto& i : items) texts.push_back(i.separator ? QStringLiteral("-") : i.text);
  const std::vector<QString> expected = {"Open...\tCtrl+O",
                                         "Open directory...\tCtrl+D",
                                         "Search IE cache\tF3",
                                         "-",
                                         "Always on top\tCtrl+T",
                                         "View",
                                         "Skins",
                                         "-",
                                         "Show all\tCtrl+A",
                                         "Zoom",
                                         "-",
                                         "Quality",
                                         "-",
                                         "Play\tCtrl+P",
                                         "Auto play\tCtrl+U",
                                         "Previous  movie",
                                         "Next movie",
                                         "Movie loop\tCtrl+L",
                                         "List loop\tCtrl+S",
                                         "Play mode",
                                         "-",
                                         "Rewind\tCtrl+R",
                                         "Forward",
                                         "Back",
                                         "Go to Frame...",
                                         "-",
                                         "Option...",
                                         "Help...\tF1",
                                         "About...",
                                         "Exit\tCtrl+X"};
  EXPECT_EQ(texts, expected);

  auto find = [&](const QString& text) {
    for (const auto& i : items)
      if (i.text == text) return i;
    ADD_FAILURE() << text.toStdString();
    return Shown{};
  };
  // "Show all" and "Play" start checked but disabled; "Always on top" unchecked, enabled.
  EXPECT_TRUE(find("Show all\tCtrl+A").checked);
  EXPECT_FALSE(find("Show all\tCtrl+A").enabled);
  EXPECT_TRUE(find("Play\tCtrl+P").checked);
  EXPECT_FALSE(find("Play\tCtrl+P").enabled);
  EXPECT_FALSE(find("Always on top\tCtrl+T").checked);
  EXPECT_TRUE(find("Always on top\tCtrl+T").enabled);
  EXPECT_TRUE(find("Exit\tCtrl+X").enabled);
  EXPECT_FALSE(find("Zoom").enabled);
  EXPECT_TRUE(find("Zoom").submenu);

  QMenu* view = submenu(*menu, "View");
  ASSERT_NE(view, nullptr);
  const auto views = shown(*view);
  ASSERT_EQ(views.size(), 3u);
  EXPECT_EQ(views[0].text, "Normal\tCtrl+N");
  EXPECT_TRUE(views[0].checked);
  EXPECT_EQ(views[1].text, "Main window only\tCtrl+E");
  EXPECT_FALSE(views[1].checked);
  EXPECT_EQ(views[2].text, "Full screen\tCtrl+F");

  QMenu* zoom = submenu(*menu, "Zoom");
  ASSERT_NE(zoom, nullptr);
  const auto zooms = shown(*zoom);
  ASSERT_EQ(zooms.size(), 3u);
  EXPECT_EQ(zooms[0].text, "Zoom out");
  EXPECT_FALSE(zooms[0].enabled);
  EXPECT_EQ(zooms[1].text, "Zoom in");
  EXPECT_TRUE(zooms[1].enabled);
}

TEST_F(PopupMenuTest, MenuIsBuiltAfreshFromTheModelEachTime) {
  form->item("playstop").enabled = true;
  form->item("playstop").checked = false;
  form->item("alwaysonthetop").checked = true;
  auto menu = ui::buildQMenu(form->flash1pop.root());
  for (QAction* a : menu->actions()) {
    if (a->text() == "Play\tCtrl+P") {
      EXPECT_TRUE(a->isEnabled());
      EXPECT_FALSE(a->isChecked());
    }
    if (a->text() == "Always on top\tCtrl+T") {
      EXPECT_TRUE(a->isChecked());
    }
  }
}

TEST_F(PopupMenuTest, ActionsCarryTheirItems) {
  auto menu = ui::buildQMenu(form->flash1pop.root());
  QAction* exit = menu->actions().back();
  EXPECT_EQ(static_cast<MenuItem*>(exit->data().value<void*>()), &form->item("quit"));
}

TEST_F(PopupMenuTest, ListMenuShowsItsOwnShortcuts) {
  auto menu = ui::buildQMenu(form->listpop.root());
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text();
  EXPECT_TRUE(texts.contains("Edit movie entry...\tF2"));
  EXPECT_TRUE(texts.contains("Search IE cache\tF3"));
  EXPECT_TRUE(texts.contains("Save  as..."));
}

TEST_F(PopupMenuTest, ShortcutsAreFoundByExactKeyAndModifiers) {
  EXPECT_EQ(ui::findShortcut(form->flash1pop, QKeyCombination(Qt::ControlModifier, Qt::Key_X)),
            &form->item("quit"));
  EXPECT_EQ(ui::findShortcut(form->flash1pop, QKeyCombination(Qt::ControlModifier, Qt::Key_N)),
            &form->item("normalview"));  // inside the View submenu
  EXPECT_EQ(ui::findShortcut(form->flash1pop, QKeyCombination(Qt::NoModifier, Qt::Key_F1)),
            &form->item("help"));
  EXPECT_EQ(ui::findShortcut(form->flash1pop,
                             QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_X)),
            nullptr);
  EXPECT_EQ(ui::findShortcut(form->flash1pop, QKeyCombination(Qt::NoModifier, Qt::Key_X)), nullptr);
  EXPECT_EQ(ui::findShortcut(form->listpop, QKeyCombination(Qt::NoModifier, Qt::Key_F2)),
            &form->listItem("chagefilename"));
  EXPECT_EQ(ui::findShortcut(form->listpop, QKeyCombination(Qt::NoModifier, Qt::Key_F3)),
            &form->listItem("IE1"));
  EXPECT_EQ(ui::findShortcut(form->flash1pop, QKeyCombination(Qt::NoModifier, Qt::Key_F3)),
            &form->item("IE2"));
}

}  // namespace
}  // namespace rv::test
