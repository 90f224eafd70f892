// Entering and leaving full screen with a movie playing, as the user does it (Ctrl+F, then
// Escape): from the command to the movie drawn in its new control (Flash2 at the screen's size,
// then Flash1 in the skinned window), through the whole program as it runs (AppShell).
// Reports the median of each, and checks that the movie kept its frame and kept playing.
//   bench_ui_view_switch [movie.swf] [rounds]
// Runs on the platform QT_QPA_PLATFORM names (offscreen when unset); under Xvfb
// (xvfb-run -s "-screen 0 1920x1080x24") it measures a real X server at full HD.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "ui/app_shell.h"
#include "ui/flash_widget.h"
#include "ui/main_window.h"

namespace fs = std::filesystem;

namespace {

class QuietMixer : public rv::Mixer {
 public:
  uint32_t volume() override { return 0x80008000; }
  void setVolume(uint32_t) override {}
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Switched {
  double ms = 0;
  bool kept = false;  // the movie is at the frame it had, and plays
};

// Runs the view command and waits until `widget` has painted a new picture.
Switched switchTo(rv::ui::AppShell& shell, const char* item, rv::ui::FlashWidget* widget) {
  rv::MainForm& form = shell.form();
  const int frame = form.visibleFlash().currentFrame();
  const int before = widget->repaintCount();
  QElapsedTimer t;
  t.start();
  shell.runner()([&] { form.item(item).invoke(); });
  const bool kept = form.visibleFlash().currentFrame() == frame && form.visibleFlash().isPlaying();
  shell.syncAll();
  while (widget->repaintCount() == before && t.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return {static_cast<double>(t.nsecsElapsed()) / 1e6, kept};
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string movie = argc > 1 ? argv[1] : std::string(RV_PROGRAM_DIR) + "/demo/demo.swf";
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;
  QApplication app(argc, argv);

  // A program directory of its own, so the settings of the real one stay untouched.
  const fs::path dir = fs::temp_directory_path() / ("rv-bench-views-" + std::to_string(getpid()));
  fs::create_directories(dir / "config");
  fs::copy_file(fs::path(RV_PROGRAM_DIR) / "config/about.swf", dir / "config/about.swf");

  std::vector<double> enter, leave;
  int kept = 0;
  {
    rv::ui::AppShell shell(dir.string() + "/", std::make_unique<QuietMixer>());
    shell.start({movie});
    rv::MainForm& form = shell.form();
    if (!form.Flash1->hasMovie()) {
      std::fprintf(stderr, "cannot play %s\n", movie.c_str());
      return 1;
    }
    rv::ui::FlashWidget* f1 = shell.mainWindow().flashWidget("Flash1");
    rv::ui::FlashWidget* f2 = shell.mainWindow().flashWidget("Flash2");
    for (int i = 0; i < rounds + 1; ++i) {
      // Let the movie run a little between switches, as it does for a user.
      QElapsedTimer wait;
      wait.start();
      while (wait.elapsed() < 150) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      const Switched in = switchTo(shell, "fullscreen", f2);
      const Switched out = switchTo(shell, "normalview", f1);
      kept += in.kept && out.kept;
      if (i == 0) continue;  // the first round fills the caches
      enter.push_back(in.ms);
      leave.push_back(out.ms);
    }
    const QSize full = shell.mainWindow().screen()->geometry().size();
    std::printf("screen %dx%d, movie %s, %d rounds\n", full.width(), full.height(), movie.c_str(),
                rounds);
  }
  std::printf("enter full screen: median %.1f ms\n", median(enter));
  std::printf("leave full screen: median %.1f ms\n", median(leave));
  std::printf("frame and play state kept in %d of %d round trips\n", kept, rounds + 1);
  fs::remove_all(dir);
  return 0;
}
