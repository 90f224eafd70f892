// The program entry, the about box, the dispatch point and the application-wide hooks.
#include <gtest/gtest.h>

#include "app/dispatch.h"
#include "app/program.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv {
namespace {

using test::fake;

TEST(ProgramTest, CreatesTheFourWindowsInOrderWithOnlyTheMainWindowShown) {
  test::ShellRig rig;
  rig.dir.writeAboutMovie();
  rig.dir.write("config/config.ini", "[variables]\nform6left=300\n");
  Program program(rig.dir.path(), rig.services());
  program.start({});
  EXPECT_EQ(rig.flashes.log.front(), "create Flash1");
  EXPECT_EQ(rig.flashes.countOf("create Flash3"), 1);
  EXPECT_EQ(rig.flashes.log.back(), "Flash3.Movie=" + rig.dir.path("config/about.swf"));
  EXPECT_TRUE(program.mainForm().shown);
  EXPECT_FALSE(program.aboutBox().visible);
  EXPECT_FALSE(program.optionsDialog().visible);
  EXPECT_FALSE(program.toolBar().visible);
  EXPECT_EQ(program.toolBar().left, 300);
  EXPECT_EQ(program.toolBar().top, 10);
  EXPECT_EQ(program.mainForm().aboutBox, &program.aboutBox());
  EXPECT_EQ(program.mainForm().toolBar, &program.toolBar());
  EXPECT_TRUE(rig.dialogs.log.empty());
}

TEST(ProgramTest, MissingAboutMovieIsFatalAfterTheMainWindow) {
  test::ShellRig rig;
  Program program(rig.dir.path(), rig.services());
  EXPECT_THROW(program.start({}), FatalExit);
  EXPECT_EQ(rig.dialogs.messages,
            std::vector<std::string>{"Config file was destroyed! Program must terminate."});
  EXPECT_TRUE(rig.window.shown);
}

TEST(ProgramTest, WrongFlashVersionIsFatalBeforeAnythingElse) {
  test::ShellRig rig;
  rig.dir.writeAboutMovie();
  rig.flashes.version = 0x00060000;
  Program program(rig.dir.path(), rig.services());
  EXPECT_THROW(program.start({}), FatalExit);
  EXPECT_EQ(rig.flashes.countOf("create Flash3"), 0);
  EXPECT_EQ(rig.dialogs.messages.size(), 1u);
}

TEST(ProgramTest, AStartUpErrorStillShowsTheWindowAndTheProgramRuns) {
  test::ShellRig rig;
  rig.dir.writeAboutMovie();
  rig.dir.write("config/listfile.flt", "x\n");
  Program program(rig.dir.path(), rig.services());
  program.start({});
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play !"});
  EXPECT_TRUE(rig.window.shown);
  EXPECT_FALSE(program.aboutBox().visible);
}

TEST(ProgramTest, AnUnplayableMovieOnTheCommandLineIsNamed) {
  test::ShellRig rig;
  rig.dir.writeAboutMovie();
  std::string bad = rig.dir.path("truncated.swf");
  rig.dir.write("truncated.swf", "FWS");
  rig.flashes.unplayable.insert(bad);
  Program program(rig.dir.path(), rig.services());
  program.start({bad});
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play " + bad + "!"});
  EXPECT_FALSE(program.mainForm().Flash1->hasMovie());
}

TEST(AboutBoxTest, OnlyTheExactCommandClosesItAndShowingKeepsTheMovie) {
  test::ShellRig rig;
  rig.dir.writeAboutMovie();
  AboutBox about(rig.dir.path(), rig.flashes);
  about.FormCreate();
  EXPECT_EQ(about.caption, "Form2");
  EXPECT_EQ(about.Flash3->width, 400);
  about.show();
  about.show();
  EXPECT_TRUE(about.visible);
  EXPECT_EQ(rig.flashes.countOf("Flash3.Movie=" + rig.dir.path("config/about.swf")), 1);
  about.Flash3->onFSCommand("AboutExit", "");
  EXPECT_TRUE(about.visible);
  about.Flash3->onFSCommand("aboutexit", "anything");
  EXPECT_FALSE(about.visible);

  rig.dir.remove("config/about.swf");
  about.show();
  EXPECT_TRUE(about.Flash3->hasMovie()) << "loaded once at start-up";
}

class HooksTest : public ::testing::Test {
 protected:
  test::ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
};

TEST_F(HooksTest, DispatchSortsOutEveryWayAHandlerCanEnd) {
  EXPECT_TRUE(dispatch(*form, [] {}));
  EXPECT_FALSE(dispatch(*form, [] { throw SilentAbort{}; }));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_FALSE(dispatch(*form, [] { throw AppError("x"); }));
  EXPECT_FALSE(dispatch(*form, [] { throw std::out_of_range("x"); }));
  EXPECT_FALSE(dispatch(*form, [] { throw 42; }));
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>(3, "Can not play !"));
  rig.dialogs.messages.clear();
  try {
    dispatch(*form, [] { throw FatalExit{"bye"}; });
    ADD_FAILURE() << "a fatal exit goes on to the program entry";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.message, "bye");
  }
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"bye"});
}

TEST_F(HooksTest, AppExceptionUnloadsAllThreeAndNamesTheMovie) {
  std::string a = rig.dir.movie("a.swf");
  form->flashlist.items = {a};
  form->playflash(a);
  form->flashpreview->setMovie(a);
  form->appexception();
  EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Can not play " + a + "!"});
  for (auto* c : {&form->Flash1, &form->Flash2, &form->flashpreview})
    EXPECT_TRUE(fake(*c).called("Movie=<unload>"));
  EXPECT_EQ(form->fileindex, 0);
  EXPECT_TRUE(form->ctl("play2").visible) << "the look is kept";

  // In full screen the name comes from Flash2.
  form->Flash2->setMovie(a);
  form->appexception();
  EXPECT_EQ(rig.dialogs.messages.back(), "Can not play " + a + "!");
}

TEST_F(HooksTest, AppMessageInMainWindowOnlyView) {
  form->easyviewmode = true;
  rig.window.cursorX_ = 40;
  rig.window.cursorY_ = 50;
  EXPECT_TRUE(form->appmessage(InputMessage::RightButtonDown));
  EXPECT_FALSE(form->appmessage(InputMessage::LeftButtonDown));
  EXPECT_EQ(rig.window.calls, (std::vector<std::string>{"popup 40,50", "move"}));
  EXPECT_TRUE(form->appmessage(InputMessage::LeftButtonDoubleClick));
}

TEST_F(HooksTest, DoubleClickInFullScreenShowsTheToolBarOnTop) {
  ToolBar bar(rig.dir.path());
  form->toolBar = &bar;
  form->Flash1->visible = false;
  form->item("fullscreen").checked = true;
  EXPECT_TRUE(form->appmessage(InputMessage::LeftButtonDoubleClick));
  EXPECT_TRUE(bar.visible);
  EXPECT_TRUE(bar.topmost);
  EXPECT_EQ(bar.left, 226);
  form->toolBar = nullptr;
}

}  // namespace
}  // namespace rv
