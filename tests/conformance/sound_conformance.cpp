// The recorded streams were made by a player that reached 44.1 kHz by repeating samples: each
// recorded value pair holds one sample of the sound at its own rate, taken at every second
// sample. Two rules compare with them:
// - exact: the sound decoded at its own rate, at every second sample, equals the recording;
// - correlated: our resampled 44.1 kHz output, read at the instants of the recorded samples,
//   correlates with the recording at 0.99 or better (silence matches only silence).
#include "sound_conformance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

#include "child_run.h"
#include "swf/player/player.h"
#include "swf/sound/sound_engine.h"

namespace fs = std::filesystem;

namespace rv::conformance {
namespace {

constexpr int kFrames = 10;  // the run: the first frame, then ten more intervals
constexpr double kMinCorrelation = 0.99;

struct SoundOutcome {
  int exact = 0, correlated = 0;
  double correlation = 0;
  long mismatches = 0;
  char error[120] = {};
};

std::vector<int16_t> readRaw(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> v(bytes.size() / 2);
  for (size_t i = 0; i < v.size(); ++i)
    v[i] = int16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
  return v;
}

SoundOutcome runOne(const fs::path& swf, const fs::path& raw) {
  SoundOutcome out;
  try {
    std::vector<float> made;
    swf::Player player;
    player.onAudio = [&](const float* s, size_t n) { made.insert(made.end(), s, s + 2 * n); };
    player.load(swf.string());
    for (int i = 0; i <= kFrames; ++i) player.advance(1000.0 / player.frameRate());
    std::vector<int16_t> rec = readRaw(raw);

    // The first channel of the sounds started, at their own rate, one after another.
    std::vector<int16_t> own;
    double rate = 0;
    for (uint16_t id : player.sound().startedSounds()) {
      auto clip = player.sound().clip(id);
      if (!clip) continue;
      size_t n = clip->ensure(swf::sound::kMaxClipFrames);
      rate = clip->rate();
      for (size_t i = 0; i < n; ++i) own.push_back(clip->frame(i)[0]);
    }
    if (rec.empty()) {
      bool silent = std::all_of(made.begin(), made.end(), [](float v) { return v == 0; });
      out.exact = out.correlated = silent && own.empty();
      if (!silent) std::snprintf(out.error, sizeof out.error, "sound where none was recorded");
      return out;
    }
    // Exact: recorded value j holds our sample j rounded up to odd.
    size_t n = std::min(rec.size(), own.size());
    for (size_t j = 1; j < n; j += 2) out.mismatches += rec[j] != own[j];
    out.exact = own.size() == rec.size() && out.mismatches == 0;

    // Correlated: recorded value j sits at source sample (j | 1), i.e. output frame
    // (j | 1) * 44100 / rate; the best of a few frames' lag.
    double best = -1;
    if (rate > 0) {
      for (int lag = -4; lag <= 4; ++lag) {
        double sxy = 0, sxx = 0, syy = 0;
        for (size_t j = 1; j < rec.size(); j += 2) {
          long at = long(std::lround(double(j) * swf::sound::kOutputRate / rate)) + lag;
          double x = at >= 0 && size_t(at) * 2 < made.size() ? made[size_t(at) * 2] : 0;
          double y = rec[j] / 32768.0;
          sxy += x * y;
          sxx += x * x;
          syy += y * y;
        }
        if (sxx > 0 && syy > 0) best = std::max(best, sxy / std::sqrt(sxx * syy));
      }
    }
    out.correlation = best;
    out.correlated = best >= kMinCorrelation;
  } catch (const std::exception& e) {
    std::snprintf(out.error, sizeof out.error, "%s", e.what());
  }
  return out;
}

}  // namespace

void runSoundConformance(const fs::path& dir, const std::string& only, double timeLimit,
                         bool verbose, std::map<std::string, long>& reached) {
  if (!fs::is_directory(dir)) return;
  std::vector<std::pair<fs::path, fs::path>> tests;
  for (const auto& e : fs::directory_iterator(dir)) {
    std::string name = e.path().filename().string();
    if (e.path().extension() != ".raw") continue;
    size_t swfEnd = name.find(".swf.");
    if (swfEnd == std::string::npos) continue;
    fs::path swf = dir / name.substr(0, swfEnd + 4);
    if (!fs::exists(swf)) continue;
    if (!only.empty() && name.find(only) == std::string::npos) continue;
    tests.emplace_back(swf, e.path());
  }
  std::sort(tests.begin(), tests.end());
  long exact = 0, correlated = 0;
  for (const auto& [swf, raw] : tests) {
    SoundOutcome o =
        runInChild<SoundOutcome>([&] { return runOne(swf, raw); }, timeLimit,
                                 [](const char* reason) {
                                   SoundOutcome f;
                                   std::snprintf(f.error, sizeof f.error, "%s", reason);
                                   return f;
                                 });
    exact += o.exact;
    correlated += o.correlated;
    if (verbose || !o.exact || !o.correlated) {
      std::cout << (o.exact && o.correlated ? "pass " : "FAIL ") << raw.filename().string()
                << "  exact " << (o.exact ? "yes" : "no") << " (" << o.mismatches
                << " differ), correlation " << o.correlation;
      if (o.error[0]) std::cout << "  (" << o.error << ")";
      std::cout << '\n';
    }
  }
  std::cout << "sound: " << exact << " of " << tests.size() << " exact, " << correlated
            << " correlated\n";
  reached["sound.exact"] = exact;
  reached["sound.correlated"] = correlated;
}

}  // namespace rv::conformance
