// The boxes as the user sees them: captions, icons and buttons, and what each answer returns.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

#include "tests/ui/qt_test_app.h"
#include "ui/qt_dialogs.h"

namespace rv::test {
namespace {

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

// Waits for the next message box, records it and presses the button labelled `press`.
void answerNextBox(SeenBox& seen, const QString& press) {
  QTimer::singleShot(0, [&seen, press] {
    processUntil([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
                 2000);
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) {
      seen.buttons << b->text();
      if (b->text() == press) b->click();
    }
  });
}

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { qtApp(); }
  ui::QtDialogs dialogs;
};

TEST_F(DialogsTest, PlainMessageHasTheProgramsTitleNoIconAndOneOk) {
  SeenBox seen;
  answerNextBox(seen, "OK");
  dialogs.message("Can not play demo!");
  EXPECT_EQ(seen.title, "Reelvista");
  EXPECT_EQ(seen.text, "Can not play demo!");
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, QStringList{"OK"});
}

TEST_F(DialogsTest, InformationHasOneOk) {
  SeenBox seen;
  answerNextBox(seen, "OK");
  dialogs.information("No such Frame number!");
  EXPECT_EQ(seen.text, "No such Frame number!");
  EXPECT_EQ(seen.buttons, QStringList{"OK"});
}

TEST_F(DialogsTest, QuestionIsConfirmWithYesAndNoAndOnlyYesProceeds) {
  SeenBox yes;
  answerNextBox(yes, "&Yes");
  EXPECT_TRUE(dialogs.question("Clear play list?"));
  EXPECT_EQ(yes.title, "Confirm");
  EXPECT_EQ(yes.icon, QMessageBox::Question);
  EXPECT_EQ(yes.buttons, (QStringList{"&Yes", "&No"}));

  SeenBox no;
  answerNextBox(no, "&No");
  EXPECT_FALSE(dialogs.question("Clear play list?"));
}

TEST_F(DialogsTest, MessagesShowTextsAsTheyAreNotAsMarkup) {
  SeenBox seen;
  answerNextBox(seen, "OK");
  dialogs.message("Can not play <b>x</b>!");
  EXPECT_EQ(seen.text, "Can not play <b>x</b>!");
}

TEST_F(DialogsTest, InputBoxReturnsTheTextOnOkAndNothingOnCancel) {
  QString title, label, initial;
  QTimer::singleShot(0, [&] {
    processUntil([] { return qobject_cast<QInputDialog*>(QApplication::activeModalWidget()); },
                 2000);
    auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    title = d->windowTitle();
    label = d->labelText();
    initial = d->textValue();
    d->setTextValue("42");
    d->accept();
  });
  EXPECT_EQ(dialogs.inputBox("Please input frame number:", "", "7"),
            std::optional<std::string>("42"));
  EXPECT_EQ(title, "Please input frame number:");
  EXPECT_EQ(label, "");
  EXPECT_EQ(initial, "7");

  QTimer::singleShot(0, [] {
    processUntil([] { return qobject_cast<QInputDialog*>(QApplication::activeModalWidget()); },
                 2000);
    if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  EXPECT_EQ(dialogs.inputBox("Please input a new name", "", "film"), std::nullopt);
}

TEST(FileDialogFilters, PairsBecomeQtNameFiltersAndExtensionsBecomeSuffixes) {
  EXPECT_EQ(ui::qtNameFilters("Flash movie|*.swf|Reelvista movie list|*.flt|Flash_exe file|*.exe"),
            (QStringList{"Flash movie (*.swf)", "Reelvista movie list (*.flt)",
                         "Flash_exe file (*.exe)"}));
  EXPECT_EQ(ui::qtNameFilters("Movies (*.swf)|*.swf"), QStringList{"Movies (*.swf)"});
  EXPECT_EQ(ui::qtNameFilters("Both|*.swf;*.flt"), QStringList{"Both (*.swf *.flt)"});
  EXPECT_TRUE(ui::qtNameFilters("").isEmpty());
  EXPECT_TRUE(ui::qtNameFilters("dangling").isEmpty());
  EXPECT_EQ(ui::qtDefaultSuffix("*.swf"), "swf");
  EXPECT_EQ(ui::qtDefaultSuffix(".flt"), "flt");
  EXPECT_EQ(ui::qtDefaultSuffix(""), "");
}

}  // namespace
}  // namespace rv::test
