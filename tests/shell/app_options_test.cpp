// The options dialog through the shell, with recorded associations.
#include <gtest/gtest.h>

#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "platform/associations.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

class RecordedAssociations : public Associations {
 public:
  bool flash = false, list = false;
  std::string failure;  // what every change answers
  std::vector<std::string> calls;
  bool flashFilesAssociated() override { return flash; }
  bool listFilesAssociated() override { return list; }
  std::string associateFlashFiles(bool on) override {
    calls.push_back(std::string("flash=") + (on ? "1" : "0"));
    return failure;
  }
  std::string associateListFiles(bool on) override {
    calls.push_back(std::string("list=") + (on ? "1" : "0"));
    return failure;
  }
};

class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() {
    rig.dir.write("config/config.ini", "[variables]\n");
    dialog.window = &rig.window;
  }
  SettingsFile settings() { return SettingsFile(rig.dir.path("config/config.ini")); }

  test::ShellRig rig;
  RecordedAssociations assoc;
  OptionsDialog dialog{rig.dir.path("config/config.ini"), rig.dialogs, &assoc};
};

TEST_F(OptionsTest, LayoutIsTheDesignedOne) {
  const auto& l = OptionsDialog::layout();
  ASSERT_EQ(l.size(), 10u);
  EXPECT_EQ(dialog.caption, "Option");
  EXPECT_STREQ(l[1].caption, "IE cache file more than ");
  EXPECT_STREQ(l[4].caption, "Clear playlist before search IE cache ");
  EXPECT_EQ(l[2].left, 167);
  EXPECT_EQ(l[9].top, 260);
  EXPECT_STREQ(l[7].parent, "GroupBox2");
}

TEST_F(OptionsTest, ShowingLoadsSettingsAndChecksOnlyMatchingAssociations) {
  settings().writeString("variables", "cachefilesize", " 12abc");
  settings().writeBool("variables", "cachelistclear", false);
  dialog.listfile = true;  // left checked in this run
  assoc.flash = true;
  dialog.show();
  EXPECT_TRUE(dialog.visible);
  EXPECT_TRUE(rig.window.called("show"));
  EXPECT_EQ(dialog.Editiecache, "12abc");
  EXPECT_FALSE(dialog.cachelistclear);
  EXPECT_TRUE(dialog.listhaveplaymode);
  EXPECT_TRUE(dialog.swffile);
  EXPECT_TRUE(dialog.listfile);  // not unchecked by a mismatch
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(OptionsTest, AMissingSettingsFileIsReportedAndTheDialogClosesOnDefaults) {
  rig.dir.remove("config/config.ini");
  dialog.Editiecache = "7";
  dialog.show();
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Config file was destroyed!"});
  EXPECT_FALSE(dialog.visible);
  EXPECT_FALSE(rig.window.called("show"));
  EXPECT_EQ(dialog.Editiecache, "0");
  EXPECT_TRUE(dialog.cachelistclear);
}

TEST_F(OptionsTest, OkStoresValuesAsTypedThenAssociationsThenCloses) {
  dialog.show();
  dialog.Editiecache = "not a number";
  dialog.cachelistclear = false;
  dialog.listhaveplaymode = true;
  dialog.swffile = true;
  dialog.Button2Click();
  EXPECT_EQ(settings().readString("variables", "cachefilesize", ""), "not a number");
  EXPECT_EQ(settings().readString("variables", "cachelistclear", ""), "0");
  EXPECT_EQ(settings().readString("variables", "listhaveplaymode", ""), "1");
  EXPECT_EQ(assoc.calls, (std::vector<std::string>{"flash=1", "list=0"}));
  EXPECT_FALSE(dialog.visible);
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(OptionsTest, ARefusedAssociationIsToldAndTheDialogClosesAnyway) {
  assoc.failure = "no UTF-8";
  dialog.show();
  dialog.Button2Click();
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_NE(rig.dialogs.messages[0].find("no UTF-8"), std::string::npos);
  EXPECT_FALSE(dialog.visible);
}

TEST_F(OptionsTest, CloseButtonChangesNothing) {
  dialog.show();
  dialog.Editiecache = "99";
  dialog.close();
  EXPECT_EQ(settings().readString("variables", "cachefilesize", "none"), "none");
  EXPECT_TRUE(assoc.calls.empty());
}

TEST_F(OptionsTest, OptionMenuItemsShowTheDialog) {
  auto form = rig.form();
  form->options = &dialog;
  form->option2Click();
  EXPECT_TRUE(dialog.visible);
}

}  // namespace
}  // namespace rv
