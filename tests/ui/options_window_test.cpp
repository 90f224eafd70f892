// The options dialog on the screen: laid out from the model, not modal, on top, centred on the
// main window; "OK" hands the edits to the model.
#include "ui/options_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/options_dialog.h"
#include "tests/shell/fakes/fake_dialogs.h"
#include "tests/shell/fakes/temp_program_dir.h"
#include "tests/ui/qt_test_app.h"

namespace rv::test {
namespace {

TEST(OptionsWindow, LaidOutCentredAndOkStoresTheEdits) {
  qtApp();
  TempProgramDir dir;
  dir.write("config/config.ini", "[variables]\ncachefilesize=5\n");
  FakeDialogs dialogs;
  OptionsDialog dialog(dir.path("config/config.ini"), dialogs, nullptr);
  QWidget main;
  main.setGeometry(200, 150, 500, 400);
  main.show();
  ui::OptionsWindow window(dialog, &main, [](const std::function<void()>& e) {
    e();
    return true;
  });
  dialog.window = &window;

  EXPECT_EQ(window.windowTitle(), "Option");
  EXPECT_EQ(window.size(), QSize(321, 295));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(window.isModal());
  auto* frame = qobject_cast<QGroupBox*>(window.control("GroupBox2"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->geometry(), QRect(8, 146, 305, 105));
  auto* swf = qobject_cast<QCheckBox*>(window.control("swffile"));
  ASSERT_NE(swf, nullptr);
  EXPECT_EQ(swf->parentWidget(), frame);
  EXPECT_EQ(swf->geometry(), QRect(72, 24, 209, 17));
  auto* edit = qobject_cast<QLineEdit*>(window.control("Editiecache"));
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(edit->hasFrame());
  auto* ok = qobject_cast<QPushButton*>(window.control("Button2"));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(qobject_cast<QCheckBox*>(window.control("cachelistclear"))->text(),
            "Clear playlist before search IE cache ");

  dialog.show();
  ASSERT_TRUE(processUntil([&] { return window.isVisible(); }));
  EXPECT_EQ(edit->text(), "5");
  EXPECT_LE((window.frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 2);

  edit->setText("12 ");
  ok->click();
  EXPECT_FALSE(dialog.visible);
  EXPECT_TRUE(processUntil([&] { return !window.isVisible(); }));
  EXPECT_NE(dir.read("config/config.ini").find("cachefilesize=12"), std::string::npos);
}

}  // namespace
}  // namespace rv::test
