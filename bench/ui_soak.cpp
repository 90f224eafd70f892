// An evening of unattended playback: the whole player (offscreen) plays a playlist of every movie
// under a directory in the "MTV_List" play mode (the whole list, again and again), and a timer
// moves to the next movie every few hundred milliseconds. After each pass over the list it
// reports resident memory, open file descriptors and threads; the run ends with the first pass
// that ends after the time asked, and fails when memory grew more than 10 % over the first
// pass (resident memory; the heap in use under the sanitizers), or descriptors or threads grew at
// all. It also reports the longest the timer was held up. Boxes the player opens (a movie it cannot
// play) are counted and closed.
//
//   bench_ui_soak MOVIE_DIR [--minutes M] [--per-movie-ms N] [--broken-every K]
//                 [--report-jumps-mb MB]
//
// --broken-every 2 puts a movie that cannot load before every movie, so every second entry fails.
// --report-jumps-mb names the movie playing when resident memory rose by more than MB since the
// last advance. A MOVIE_DIR that does not exist ends the program with status 77 (skipped).

#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/mixer.h"
#include "ui/app_shell.h"

namespace fs = std::filesystem;

namespace {

// Memory the program holds, as its allocator counts it: resident memory also holds what the
// allocator keeps after a free (the sanitizers' quarantine among it), so a growth of resident
// memory alone does not tell a leak from the allocator's own keeping.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

long heapInUseKb() {
  if (__sanitizer_get_current_allocated_bytes)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
  const struct mallinfo2 m = mallinfo2();
  return static_cast<long>((m.uordblks + m.hblkhd) / 1024);
}

struct Sample {
  long rssKb = 0, heapKb = 0;
  int fds = 0, threads = 0;
};

Sample sample() {
  Sample s;
  s.heapKb = heapInUseKb();
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) s.rssKb = std::atol(line.c_str() + 6);
    if (line.rfind("Threads:", 0) == 0) s.threads = std::atoi(line.c_str() + 8);
  }
  std::error_code ec;
  for (auto it = fs::directory_iterator("/proc/self/fd", ec); it != fs::directory_iterator();
       it.increment(ec))
    ++s.fds;
  return s;
}

std::vector<std::string> moviesUnder(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() == ".swf") out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: %s MOVIE_DIR [--minutes M] [--per-movie-ms N] [--broken-every K]\n",
                 argv[0]);
    return 2;
  }
  const std::string movieDir = argv[1];
  // The test suite runs a short form over data that a clone may not have.
  std::error_code missing;
  if (!fs::is_directory(movieDir, missing)) {
    std::printf("no movies at %s: skipping\n", movieDir.c_str());
    return 77;
  }
  double minutes = 10;
  int perMovieMs = 200, brokenEvery = 0;
  long jumpKb = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--minutes") minutes = std::atof(argv[i + 1]);
    if (a == "--per-movie-ms") perMovieMs = std::atoi(argv[i + 1]);
    if (a == "--broken-every") brokenEvery = std::atoi(argv[i + 1]);
    if (a == "--report-jumps-mb") jumpKb = std::atol(argv[i + 1]) * 1024;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);

  // A copy of the program directory, so the settings and list of the real one stay as they are.
  char tmpl[] = "/tmp/rv-soak-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const fs::path root = tmpl;
  fs::copy(RV_PROGRAM_DIR, root, fs::copy_options::recursive);
  // Each broken entry is a file of its own: the list finds a movie by its first equal entry.
  std::vector<std::string> list;
  for (const std::string& m : moviesUnder(movieDir)) {
    if (brokenEvery > 0 && list.size() % static_cast<size_t>(brokenEvery) == 0) {
      list.push_back((root / ("broken" + std::to_string(list.size()) + ".swf")).string());
      std::ofstream(list.back()) << "FWS\x08 not a movie";
    }
    list.push_back(m);
  }
  if (list.empty()) return 1;
  const std::string listFile = (root / "soak.flt").string();
  {
    std::ofstream out(listFile, std::ios::binary);
    out << "mtv_list\r\n" << list.size() << "\r\n";
    for (const auto& m : list) out << m << "\r\n";
  }

  rv::ui::AppShell shell(root.string() + "/", rv::makeSoftwareMixer());
  shell.start({listFile});
  rv::MainForm& form = shell.form();

  int boxes = 0, passes = 0, loads = 0;
  long longestTickMs = 0;
  QTimer closeBoxes;
  QObject::connect(&closeBoxes, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      ++boxes;
      box->done(0);
    }
  });
  closeBoxes.start(20);

  std::vector<Sample> afterPass;
  Sample last;
  QElapsedTimer clock;
  clock.start();
  QElapsedTimer sinceAdvance;
  sinceAdvance.start();
  auto report = [&](const char* what) {
    Sample s = sample();
    std::printf(
        "%s %d: %.1f min, %d loads, %d boxes, RSS %ld kB, heap %ld kB, fds %d, threads %d\n", what,
        passes, clock.elapsed() / 60000.0, loads, boxes, s.rssKb, s.heapKb, s.fds, s.threads);
    std::fflush(stdout);
    return s;
  };
  report("start");

  // The list's next movie, or the first again after the last: one pass more.
  QTimer advance;
  long rssBefore = 0;
  QObject::connect(&advance, &QTimer::timeout, [&] {
    longestTickMs = std::max<long>(longestTickMs, sinceAdvance.elapsed() - perMovieMs);
    const int count = static_cast<int>(form.flashlist.items.size());
    if (jumpKb > 0) {
      // Which movies make resident memory jump (the player may have moved past several).
      const long rss = sample().rssKb;
      if (rss - rssBefore > jumpKb && form.fileindex >= 0 && form.fileindex < count)
        std::printf("RSS %+ld kB to %ld kB while playing up to %s\n", rss - rssBefore, rss,
                    form.flashlist.items[static_cast<size_t>(form.fileindex)].c_str());
      rssBefore = rss;
    }
    // The run ends with a pass, so that its last sample is taken where the first pass's was
    // (some movies hold hundreds of megabytes while they play), unless a pass takes longer
    // than the whole run was asked to. Measured inside the loop, not after the windows began
    // to go.
    const double elapsedMin = clock.elapsed() / 60000.0;
    bool passEnded = false;
    shell.runner()([&] {
      const int next = form.fileindex + 1;
      if (next <= 0 || next >= count) {
        if (next >= count) {
          ++passes;
          afterPass.push_back(report("pass"));
          passEnded = true;
        }
        if (passEnded && elapsedMin > minutes) return;
        form.playflash(form.flashlist.items.front());
      } else {
        form.playflash(form.flashlist.items[static_cast<size_t>(next)]);
      }
    });
    if ((passEnded && elapsedMin > minutes) || elapsedMin > 2 * minutes) {
      last = passEnded ? afterPass.back() : report("end");
      app.quit();
      return;
    }
    ++loads;
    shell.syncAll();
    sinceAdvance.restart();
  });
  advance.start(perMovieMs);
  app.exec();

  const Sample end = last;
  int failures = 0;
  if (!afterPass.empty()) {
    const Sample& first = afterPass.front();
    const double growth = 100.0 * (end.rssKb - first.rssKb) / first.rssKb;
    std::printf(
        "RSS after pass 1 %ld kB, at the end %ld kB (%+.1f %%); heap in use %ld -> %ld kB; fds %d "
        "-> %d; threads %d -> %d; longest late advance %ld ms\n",
        first.rssKb, end.rssKb, growth, first.heapKb, end.heapKb, first.fds, end.fds, first.threads,
        end.threads, longestTickMs);
    // Under the sanitizers resident memory also holds their own books, which grow by design
    // (every allocation's call stack is kept for good, freed memory waits in a quarantine):
    // there the memory the program holds is what must not grow.
    const bool sanitized = __sanitizer_get_current_allocated_bytes != nullptr;
    const double heapGrowth = 100.0 * (end.heapKb - first.heapKb) / first.heapKb;
    if (sanitized) std::printf("sanitized build: heap in use %+.1f %%\n", heapGrowth);
    if ((sanitized ? heapGrowth : growth) > 10) ++failures;
    if (end.fds > first.fds || end.threads > first.threads) ++failures;
  } else {
    std::printf("no full pass in %.1f minutes\n", minutes);
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  std::printf("%s\n", failures ? "FAILED" : "soak passed");
  return failures ? 1 : 0;
}
