// Runs the conformance pictures: each movie plays its first frame and ten more frame intervals,
// is drawn at its own size and compared with the recorded picture. Every movie runs in a child
// process with a time limit, so a crash or a hang costs one test, not the run.

#include <cairo.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "child_run.h"
#include "image_compare.h"
#include "sound_conformance.h"
#include "swf/player/player.h"

namespace fs = std::filesystem;
using rv::conformance::compareImages;

namespace {

constexpr int kTolerance = 3;

struct Options {
  fs::path data, counts, saveDir;
  std::string only;
  bool update = false, verbose = false, listFailures = false;
  std::string suite = "all";  // image, trace, gnash or all
  double timeLimit = 20;
};

// What the child reports through its pipe.
struct Outcome {
  int loaded = 0;     // 1 when the movie loaded
  int noActions = 0;  // 1 when the file holds no DoAction, DoInitAction or PlaceObject3
  int passed = 0;
  int worst = 0;
  long pixelsOver = 0;
  char error[160] = {};
};

bool hasTag(const swf::Movie& m, int code) {
  auto it = m.tagCounts.find(code);
  return it != m.tagCounts.end() && it->second > 0;
}

void writePng(cairo_surface_t* s, const fs::path& p) { cairo_surface_write_to_png(s, p.c_str()); }

Outcome runOne(const fs::path& swfPath, const Options& opt) {
  Outcome out;
  cairo_surface_t* reference = nullptr;
  cairo_surface_t* frame = nullptr;
  try {
    swf::Player player;
    player.load(swfPath.string());
    out.loaded = 1;
    const swf::Movie& movie = *player.movie();
    out.noActions = !hasTag(movie, 12) && !hasTag(movie, 59) && !hasTag(movie, 70);
    double interval = 1000.0 / player.frameRate();
    for (int i = 0; i < 10; ++i) player.advance(interval);
    int w = player.stageWidth(), h = player.stageHeight();
    frame = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(w, 1), std::max(h, 1));
    cairo_t* cr = cairo_create(frame);
    player.render(cr, w, h);
    cairo_destroy(cr);
    reference = cairo_image_surface_create_from_png((swfPath.string() + ".png").c_str());
    auto cmp = compareImages(frame, reference, kTolerance);
    out.worst = cmp.sameSize ? cmp.worstDifference : 999;
    out.pixelsOver = cmp.pixelsOver;
    out.passed = cmp.sameSize && cmp.pixelsOver == 0;
    if (!cmp.sameSize) std::snprintf(out.error, sizeof out.error, "size %dx%d", w, h);
    if (!out.passed && !opt.saveDir.empty())
      writePng(frame, opt.saveDir / (swfPath.filename().string() + ".png"));
  } catch (const std::exception& e) {
    std::snprintf(out.error, sizeof out.error, "%s", e.what());
  }
  if (frame) cairo_surface_destroy(frame);
  if (reference) cairo_surface_destroy(reference);
  return out;
}

// Runs `fn` in a child; a crash or the time limit yields a default result with `error` set.
template <class R, class F>
R runIsolated(F fn, double timeLimit) {
  return rv::conformance::runInChild<R>(fn, timeLimit, [](const char* reason) {
    R o{};
    std::snprintf(o.error, sizeof o.error, "%s", reason);
    return o;
  });
}

// ---- traces ----

struct TraceOutcome {
  int passed = 0;
  int firstDifference = -1;  // line number
  char error[160] = {};
};

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The recorded trace movies ran in UTC with the clock stopped at this time (their dates say so).
constexpr double kTraceRecordingClock = 1035840244000;  // Mon Oct 28 21:24:04 2002 UTC

// ... on a screen of this size (what Stage.width and height say of a full-screen stage).
constexpr int kTraceRecordingScreen[2] = {1024, 768};

TraceOutcome runTrace(const fs::path& swfPath, const fs::path& saveDir, bool recordedClock) {
  TraceOutcome out;
  std::string traced;
  try {
    swf::Player player;
    if (recordedClock) player.wallClock = [] { return kTraceRecordingClock; };
    player.setScreenSize(kTraceRecordingScreen[0], kTraceRecordingScreen[1]);
    // FSCommand "quit" (any case) ends the movie at the end of that frame, as in the original
    // player.
    bool quit = false;
    player.onTrace = [&](const std::string& t) {
      if (traced.size() < (64u << 20)) traced += t + "\n";
    };
    player.onFSCommand = [&](const std::string& command, const std::string&) {
      if (strcasecmp(command.c_str(), "quit") == 0) quit = true;
    };
    player.load(swfPath.string());
    double interval = 1000.0 / player.frameRate();
    for (int i = 0; i < 10 && !quit; ++i) player.advance(interval);
  } catch (const std::exception& e) {
    std::snprintf(out.error, sizeof out.error, "%s", e.what());
  }
  std::string expected = readFile(swfPath.string() + ".trace");
  out.passed = traced == expected;
  if (!out.passed) {
    int line = 1;
    for (size_t i = 0; i < std::min(traced.size(), expected.size()) && traced[i] == expected[i];
         ++i)
      if (traced[i] == '\n') ++line;
    out.firstDifference = line;
    if (!saveDir.empty())
      std::ofstream(saveDir / (swfPath.filename().string() + ".trace")) << traced;
  }
  return out;
}

// Runs every movie with a recorded trace under `dir` (recursively when asked); returns passes.
long runTraceSuite(const std::string& suite, const fs::path& dir, bool recursive,
                   const Options& opt) {
  std::vector<fs::path> movies;
  auto consider = [&](const fs::path& p) {
    if (p.extension() != ".swf" || !fs::exists(p.string() + ".trace")) return;
    if (!opt.only.empty() && p.filename().string().find(opt.only) == std::string::npos) return;
    movies.push_back(p);
  };
  if (recursive) {
    for (const auto& e : fs::recursive_directory_iterator(dir)) consider(e.path());
  } else {
    for (const auto& e : fs::directory_iterator(dir)) consider(e.path());
  }
  std::sort(movies.begin(), movies.end());
  long passed = 0;
  auto started = std::chrono::steady_clock::now();
  for (const fs::path& m : movies) {
    TraceOutcome o = runIsolated<TraceOutcome>(
        [&] { return runTrace(m, opt.saveDir, suite == "trace"); }, opt.timeLimit);
    passed += o.passed;
    if (opt.verbose || (!o.passed && opt.listFailures)) {
      std::cout << (o.passed ? "pass " : "FAIL ") << fs::relative(m, dir).string();
      if (o.error[0])
        std::cout << "  (" << o.error << ")";
      else if (!o.passed)
        std::cout << "  (line " << o.firstDifference << ")";
      std::cout << '\n';
    }
  }
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << suite << ": " << passed << " of " << movies.size() << " pass (" << seconds
            << " s)\n";
  return passed;
}

std::map<std::string, long> readCounts(const fs::path& p) {
  std::map<std::string, long> counts;
  std::ifstream in(p);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string key;
    long v;
    if (ls >> key >> v) counts[key] = v;
  }
  return counts;
}

void writeCounts(const fs::path& p, const std::map<std::string, long>& counts) {
  std::ofstream out(p);
  out << "# Conformance tests passed; the conformance run fails when a count drops.\n";
  for (const auto& [k, v] : counts) out << k << ' ' << v << '\n';
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--data")
      o.data = value();
    else if (a == "--counts")
      o.counts = value();
    else if (a == "--save")
      o.saveDir = value();
    else if (a == "--only")
      o.only = value();
    else if (a == "--time-limit")
      o.timeLimit = std::atof(value().c_str());
    else if (a == "--update")
      o.update = true;
    else if (a == "--verbose")
      o.verbose = true;
    else if (a == "--failures")
      o.listFailures = true;
    else if (a == "--suite")
      o.suite = value();
    else
      return false;
  }
  return !o.data.empty() && o.timeLimit > 0;
}

// Compares every movie's picture with its recorded one.
void runImageSuite(const Options& opt, std::map<std::string, long>& reached) {
  fs::path imageDir = opt.data / "image";
  if (!opt.saveDir.empty()) fs::create_directories(opt.saveDir);
  std::vector<fs::path> movies;
  for (const auto& e : fs::directory_iterator(imageDir)) {
    fs::path p = e.path();
    if (p.extension() != ".swf" || !fs::exists(p.string() + ".png")) continue;
    if (!opt.only.empty() && p.filename().string().find(opt.only) == std::string::npos) continue;
    movies.push_back(p);
  }
  std::sort(movies.begin(), movies.end());

  long all = 0, allPassed = 0, plain = 0, plainPassed = 0;
  auto started = std::chrono::steady_clock::now();
  for (const fs::path& m : movies) {
    Outcome o = runIsolated<Outcome>([&] { return runOne(m, opt); }, opt.timeLimit);
    ++all;
    allPassed += o.passed;
    if (o.noActions) {
      ++plain;
      plainPassed += o.passed;
    }
    if (!o.passed || opt.verbose) {
      std::cout << (o.passed ? "pass " : "FAIL ") << m.filename().string();
      if (!o.passed) {
        if (o.error[0])
          std::cout << "  (" << o.error << ")";
        else
          std::cout << "  worst " << o.worst << ", " << o.pixelsOver << " pixels over";
      }
      if (o.noActions) std::cout << "  [no actions]";
      std::cout << '\n';
    }
  }
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << "image: " << allPassed << " of " << all << " pass; without actions: " << plainPassed
            << " of " << plain << " (" << seconds << " s)\n";
  reached["image.all"] = allPassed;
  reached["image.noactions"] = plainPassed;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!parseArgs(argc, argv, opt)) {
    std::cerr << "usage: rv-conformance --data DIR [--counts FILE] [--update] [--only TEXT]\n"
                 "                      [--suite image|trace|gnash|all] [--save DIR]\n"
                 "                      [--time-limit SECONDS] [--verbose] [--failures]\n";
    return 2;
  }
  if (!fs::is_directory(opt.data / "image") || !fs::is_directory(opt.data / "trace")) {
    std::cout << "conformance data not found at " << opt.data.string() << ": skipping\n";
    return 0;
  }
  // Local times in the recordings are UTC.
  setenv("TZ", "UTC", 1);
  tzset();
  std::map<std::string, long> reached;
  if (opt.suite == "all" || opt.suite == "image") runImageSuite(opt, reached);
  if (opt.suite == "all" || opt.suite == "trace")
    reached["trace.all"] = runTraceSuite("trace", opt.data / "trace", false, opt);
  if ((opt.suite == "all" || opt.suite == "gnash") && fs::is_directory(opt.data / "gnash"))
    reached["gnash.all"] = runTraceSuite("gnash", opt.data / "gnash", true, opt);

  // The sound streams run with the image suite, whose test is the plain "conformance".
  if (opt.suite == "all" || opt.suite == "image")
    rv::conformance::runSoundConformance(opt.data / "sound", opt.only, opt.timeLimit, opt.verbose,
                                         reached);
  if (opt.counts.empty() || !opt.only.empty()) return 0;
  std::map<std::string, long> committed = readCounts(opt.counts);
  if (opt.update) {
    for (const auto& [k, v] : reached) committed[k] = v;
    writeCounts(opt.counts, committed);
    std::cout << "counts written to " << opt.counts.string() << '\n';
    return 0;
  }
  int rc = 0;
  for (const auto& [k, v] : reached) {
    auto it = committed.find(k);
    if (it != committed.end() && v < it->second) {
      std::cout << k << " dropped from " << it->second << " to " << v << '\n';
      rc = 1;
    } else if (it != committed.end() && v > it->second) {
      std::cout << k << " rose from " << it->second << " to " << v
                << " (run with --update to keep it)\n";
    }
  }
  return rc;
}
