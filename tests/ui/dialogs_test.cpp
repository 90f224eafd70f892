// The boxes as the user sees them: captions, icons and buttons, and what each answer returns.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "app/dispatch.h"
#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"
#include "ui/lossless_text.h"
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

// Answers the next input box with what `edit` makes of the text it offers.
void answerNextInput(const std::function<QString(const QString&)>& edit) {
  QTimer::singleShot(0, [edit] {
    processUntil([] { return qobject_cast<QInputDialog*>(QApplication::activeModalWidget()); },
                 2000);
    if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
      d->setTextValue(edit(d->textValue()));
      d->accept();
    }
  });
}

TEST(LosslessTextTest, WhatTheUserLeavesAloneKeepsItsBytes) {
  struct Case {
    std::string bytes;
    std::function<QString(const QString&)> edit;
    std::string expected;
  } cases[] = {
      {"caf\xe9", [](const QString& t) { return t; }, "caf\xe9"},
      {"caf\xe9", [](const QString& t) { return t + "2"; },
       "caf\xe9"
       "2"},
      {"\xe9t\xe9 x", [](const QString& t) { return t.mid(1); }, "t\xe9 x"},
      {"a\xe9z",
       [](const QString& t) { return t.left(1) + QString::fromUtf8("\xc3\xa9") + t.mid(2); },
       "a\xc3\xa9z"},
      {"\xff\xfe", [](const QString&) { return QStringLiteral("new"); }, "new"},
      // A character of two UTF-16 units is kept or replaced whole.
      {"x\xf0\x9f\x98\x80",
       [](const QString& t) { return t.left(1) + QString::fromUtf8("\xf0\x9f\x98\x81"); },
       "x\xf0\x9f\x98\x81"},
      {"\xf0\x9f\x98\x80\xe9",
       [](const QString& t) { return QString::fromUtf8("\xf0\x9f\x88\x80") + t.mid(2); },
       "\xf0\x9f\x88\x80\xe9"},
      {"\xc3\xa9t\xc3\xa9", [](const QString& t) { return t; }, "\xc3\xa9t\xc3\xa9"},
  };
  for (const Case& c : cases) {
    const ui::LosslessText text(c.bytes);
    EXPECT_EQ(text.bytesOf(c.edit(text.shown())), c.expected) << c.bytes;
  }
  EXPECT_EQ(ui::LosslessText("caf\xe9").shown(), QString::fromUtf8("caf\xef\xbf\xbd"));
}

// "Edit movie entry..." through the real input box, down to the file and the saved list.
TEST(LosslessTextTest, AMovieNameThatIsNotUtf8SurvivesEditMovieEntry) {
  qtApp();
  ShellRig rig;
  ui::QtDialogs dialogs;
  Services services = rig.services();
  services.dialogs = &dialogs;
  const std::string name = "caf\xe9.swf", movie = rig.dir.movie(name);
  rig.dir.write("config/listfile.flt", "1\n" + movie + "\n");
  MainForm form(rig.dir.path(), services);
  ASSERT_TRUE(dispatch(form, [&] { form.FormCreate({}); }));
  form.flashlist.itemIndex = 0;

  answerNextInput([](const QString& t) { return t; });
  ASSERT_TRUE(dispatch(form, [&] { form.chagefilenameClick(); }));
  ASSERT_TRUE(dispatch(form, [&] { form.FormClose(); }));
  EXPECT_TRUE(rig.dir.exists(name));
  EXPECT_FALSE(rig.dir.exists("caf\xef\xbf\xbd.swf"));
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\r\n" + movie + "\r\n");

  answerNextInput([](const QString& t) { return t + "2"; });
  ASSERT_TRUE(dispatch(form, [&] { form.chagefilenameClick(); }));
  ASSERT_TRUE(dispatch(form, [&] { form.FormClose(); }));
  EXPECT_TRUE(
      rig.dir.exists("caf\xe9"
                     "2.swf"));
  EXPECT_EQ(rig.dir.read("config/listfile.flt"), "1\r\n" +
                                                     rig.dir.path("caf\xe9"
                                                                  "2.swf") +
                                                     "\r\n");
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
