// The whole program in this process, on a copy of the built program directory: started with a
// movie on its command line, driven by keys, closed with Ctrl+X; the files it leaves are read.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_form.h"
#include "app/options_dialog.h"
#include "platform/mixer.h"
#include "tests/shell/fakes/scoped_env.h"
#include "tests/ui/qt_test_app.h"
#include "ui/app_shell.h"
#include "ui/flash_widget.h"
#include "ui/main_window.h"
#include "ui/options_window.h"
#include "ui/side_windows.h"

namespace fs = std::filesystem;

namespace rv::test {
namespace {

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class CopiedProgramDir {
 public:
  CopiedProgramDir() {
    std::string tmpl = (fs::temp_directory_path() / "rv-e2e-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
    root_ = tmpl;
    fs::copy(RV_PROGRAM_DIR, root_, fs::copy_options::recursive);
  }
  ~CopiedProgramDir() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  std::string dir() const { return root_.string() + "/"; }
  fs::path path(const std::string& rel) const { return root_ / rel; }

 private:
  fs::path root_;
};

// Any box the program opens is recorded and closed, so a failure shows up as text instead of
// a test that hangs on a modal loop.
class BoxWatcher {
 public:
  BoxWatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text().toStdString());
        box->done(0);
      }
    });
    timer_.start(20);
  }
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

bool hasLine(const std::string& text, const std::string& line) {
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    if (l == line) return true;
  }
  return false;
}

TEST(EndToEnd, MovieOnTheCommandLinePlaysAndCtrlXSavesTheSession) {
  qtApp();
  if (!fs::exists(fs::path(RV_PROGRAM_DIR) / "config/about.swf") ||
      !fs::exists(fs::path(RV_PROGRAM_DIR) / "demo/demo.swf"))
    GTEST_SKIP() << "the program directory has not been built (target rv_program_dir)";
  CopiedProgramDir program;
  const std::string movie = program.dir() + "demo/demo.swf";
  BoxWatcher boxes;

  ui::AppShell shell(program.dir(), makeSoftwareMixer());
  shell.start({movie});
  ui::MainWindow& window = shell.mainWindow();
  ASSERT_TRUE(processUntil([&] { return window.isVisible(); }));

  MainForm& form = shell.form();
  ASSERT_TRUE(form.Flash1->hasMovie());
  EXPECT_EQ(form.Flash1->movie(), movie);
  EXPECT_EQ(window.pos(), QPoint(100, 100));
  EXPECT_EQ(window.size(), QSize(form.clientWidth(), form.clientHeight()));

  // The movie runs on the program's clock and is painted.
  ui::FlashWidget* flash1 = window.flashWidget("Flash1");
  ASSERT_NE(flash1, nullptr);
  const int firstFrame = form.Flash1->currentFrame();
  EXPECT_TRUE(processUntil([&] { return form.Flash1->currentFrame() > firstFrame; }, 3000));
  EXPECT_TRUE(processUntil([&] { return flash1->repaintCount() > 0; }, 2000));
  EXPECT_TRUE(processUntil([&] { return form.ctl("Lblframe").caption != "0/0"; }, 2000));

  // "About..." shows the about movie; its OK button sends "aboutexit", which hides the box.
  shell.runner()([&] { form.aboutClick(); });
  shell.syncAll();
  ui::AboutWindow* about = shell.aboutWindow();
  ASSERT_TRUE(processUntil([&] { return about->isVisible(); }));
  processFor(200);
  const QPoint ok(200, 260);  // the button at the bottom of the about movie
  pressMouse(about->windowHandle(), ok, Qt::LeftButton);
  releaseMouse(about->windowHandle(), ok, Qt::LeftButton);
  EXPECT_TRUE(processUntil([&] { return !about->isVisible(); }, 2000));
  EXPECT_FALSE(shell.program().aboutBox().visible);

  // Ctrl+P pauses through the menu's shortcut; the window keeps the paused look.
  typeKey(window.windowHandle(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_FALSE(form.item("playstop").checked);
  EXPECT_TRUE(form.flashpaused);

  typeKey(window.windowHandle(), Qt::Key_X, Qt::ControlModifier);
  ASSERT_TRUE(processUntil([&] { return !window.isVisible(); }));
  EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();

  const std::string config = readFile(program.path("config/config.ini"));
  EXPECT_TRUE(hasLine(config, "left=100")) << config;
  EXPECT_TRUE(hasLine(config, "fileindex=0")) << config;
  EXPECT_TRUE(hasLine(config, "movieloop=1")) << config;
  EXPECT_TRUE(hasLine(config, "view=normalview")) << config;
  EXPECT_TRUE(hasLine(config, "playmode=default")) << config;
  // The shipped (empty) playlist file exists, so the list is written back into it.
  const std::string list = readFile(program.path("config/listfile.flt"));
  EXPECT_TRUE(hasLine(list, "1")) << list;
  EXPECT_TRUE(hasLine(list, movie)) << list;
}

// As a new user would: "Option..." associates both kinds of files with the program (what a file
// manager opens, asked of xdg-mime), unticking gives movies back; F3 collects the cache's movies.
TEST(EndToEnd, OptionsAssociateAndTheCacheSearchCollects) {
  qtApp();
  if (!fs::exists(fs::path(RV_PROGRAM_DIR) / "config/about.swf"))
    GTEST_SKIP() << "the program directory has not been built (target rv_program_dir)";
  CopiedProgramDir program;
  ScopedEnv env;
  for (const char* v : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
    env.set(v, program.dir() + "xdg/" + v);
  env.set("XDG_DATA_DIRS", program.dir() + "xdg/none");
  env.set("XDG_CONFIG_DIRS", program.dir() + "xdg/none");
  env.unset("XDG_CURRENT_DESKTOP");
  fs::create_directories(program.path("xdg/XDG_CACHE_HOME/site"));
  fs::copy_file(program.path("demo/demo.swf"), program.path("xdg/XDG_CACHE_HOME/site/a.swf"));
  BoxWatcher boxes;

  ui::AppShell shell(program.dir(), makeSoftwareMixer(), program.dir() + "reelvista");
  shell.start({});
  MainForm& form = shell.form();
  ui::OptionsWindow& options = *shell.optionsWindow();
  auto box = [&](const char* name) { return qobject_cast<QCheckBox*>(options.control(name)); };
  auto ok = [&] { qobject_cast<QPushButton*>(options.control("Button2"))->click(); };
  auto query = [](const char* type) {
    std::string out;
    if (FILE* p =
            popen((std::string("xdg-mime query default ") + type + " 2>/dev/null").c_str(), "r")) {
      char buf[256];
      while (fgets(buf, sizeof buf, p)) out += buf;
      pclose(p);
    }
    return out;
  };
  const bool haveXdgMime = std::system("command -v xdg-mime >/dev/null") == 0;

  shell.runner()([&] { form.item("option1").invoke(); });
  shell.syncAll();
  ASSERT_TRUE(processUntil([&] { return options.isVisible(); }));
  EXPECT_FALSE(box("swffile")->isChecked());
  box("swffile")->setChecked(true);
  box("listfile")->setChecked(true);
  box("cachelistclear")->setChecked(false);
  ok();
  EXPECT_TRUE(processUntil([&] { return !options.isVisible(); }));
  if (haveXdgMime) {
    EXPECT_EQ(query("application/x-shockwave-flash"), "reelvista.desktop\n");
    EXPECT_EQ(query("application/x-reelvista-list"), "reelvista.desktop\n");
  }

  shell.runner()([&] { form.listItem("option2").invoke(); });
  shell.syncAll();
  ASSERT_TRUE(processUntil([&] { return options.isVisible(); }));
  EXPECT_TRUE(box("swffile")->isChecked());
  EXPECT_FALSE(box("cachelistclear")->isChecked());
  box("swffile")->setChecked(false);
  ok();
  if (haveXdgMime) {
    EXPECT_EQ(query("application/x-shockwave-flash"), "");
    EXPECT_EQ(query("application/x-reelvista-list"), "reelvista.desktop\n");
  }

  shell.runner()([&] { form.IE2Click(); });
  const std::string cached = program.dir() + "xdg/XDG_CACHE_HOME/site/a.swf";
  EXPECT_EQ(form.flashlist.items, std::vector<std::string>{cached});
  EXPECT_EQ(form.Flash1->movie(), cached);
  EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
}

}  // namespace
}  // namespace rv::test
