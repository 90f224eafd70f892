// Timings of the player's spine, medians on this machine:
//   - one status tick with a movie loaded (engine control, real movie),
//   - start-up of the main window restoring a movie (FormCreate; no drawing),
//   - shutdown writing every setting and the persisted playlist (FormClose).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "playback/engine_flash_control.h"
#include "swf/author/swf_writer.h"
#include "tests/shell/fakes/shell_rig.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string makeMovie(const rv::test::TempProgramDir& dir, const std::string& rel, int frames) {
  swf::author::SwfWriter w(5, 320, 240, 12);
  for (int f = 0; f < frames; ++f) w.showFrame();
  auto bytes = w.finish();
  dir.write(rel, std::string(bytes.begin(), bytes.end()));
  return dir.path(rel);
}

}  // namespace

int main() {
  rv::test::ShellRig rig;
  rv::EngineFlashFactory engines;
  rv::Services services = rig.services();
  services.flashFactory = &engines;
  const std::string movie = makeMovie(rig.dir, "movies/bench.swf", 1000);
  rig.dir.write("config/listfile.flt", "1\n" + movie + "\n");
  rig.dir.write("config/config.ini", "[variables]\nfileindex=0\n");

  // Start-up with a restored movie.
  std::vector<double> startUs;
  for (int i = 0; i < 30; ++i) {
    rv::MainForm form(rig.dir.path(), services);
    auto t0 = Clock::now();
    form.FormCreate({});
    startUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }

  rv::MainForm form(rig.dir.path(), services);
  form.FormCreate({});
  form.playClick();

  // Ticks: batches of 10,000, the movie moving on between ticks as the widget would move it.
  auto& player = dynamic_cast<rv::EngineFlashControl&>(*form.Flash1).player();
  std::vector<double> tickUs;
  for (int batch = 0; batch < 15; ++batch) {
    double total = 0;
    for (int i = 0; i < 10000; ++i) {
      player.advance(10);
      auto t0 = Clock::now();
      form.Timer1Timer();
      total += std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    }
    tickUs.push_back(total / 10000);
  }

  std::vector<double> closeMs;
  for (int i = 0; i < 15; ++i) {
    auto t0 = Clock::now();
    form.FormClose();
    closeMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }

  std::printf("%-50s %9.2f us\n", "status tick, 1000-frame movie playing", median(tickUs));
  std::printf("%-50s %9.2f us\n", "FormCreate restoring a movie (no drawing)", median(startUs));
  std::printf("%-50s %9.2f ms\n", "FormClose (settings + playlist, fsync'd)", median(closeMs));
  return 0;
}
