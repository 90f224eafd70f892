// Memory under a movie that makes cyclic garbage: every frame builds pairs of objects that refer
// to each other and drops them. Runs for a given time (default 10 minutes) as fast as the
// machine allows, samples the resident memory each second, and compares the end with the value
// after the first minute.
//
//   bench_avm1_cyclic_memory [seconds] [pairs-per-frame]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "swf/author/action_assembler.h"
#include "swf/author/swf_writer.h"
#include "swf/avm1/vm.h"
#include "swf/movie/movie.h"
#include "swf/player/player.h"

namespace {

double residentMb() {
  std::ifstream f("/proc/self/statm");
  long pages = 0, resident = 0;
  f >> pages >> resident;
  return resident * 4096.0 / (1 << 20);
}

std::string frameScript(long pairs) {
  return "push 0\nstore 1\npop\nloop:\npush r:1, " + std::to_string(pairs) +
         "\nless2\nnot\nif done\n"
         "push 0, 'Object'\nnewObject\nstore 2\npop\npush 0, 'Object'\nnewObject\nstore 3\npop\n"
         "push r:2, 'other', r:3\nsetMember\npush r:3, 'other', r:2\nsetMember\n"
         "push r:1\nincrement\nstore 1\npop\njump loop\ndone:\n";
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 600;
  long pairs = argc > 2 ? std::atol(argv[2]) : 20000;
  swf::author::SwfWriter w(6, 100, 100, 30);
  for (int frame = 0; frame < 2; ++frame) {
    auto code = swf::author::assembleActions(frameScript(pairs));
    code.push_back(0);
    w.doAction(code);
    w.showFrame();
  }
  w.end();
  swf::Player p;
  p.load(swf::loadMovieFromMemory(w.finish()), "cycles.swf");
  using Clock = std::chrono::steady_clock;
  auto start = Clock::now(), nextSample = start;
  double afterMinute = -1, peak = 0, last = 0;
  long frames = 0;
  while (true) {
    p.advance(1000.0 / 30);
    ++frames;
    auto now = Clock::now();
    double t = std::chrono::duration<double>(now - start).count();
    if (now >= nextSample) {
      nextSample += std::chrono::seconds(1);
      last = residentMb();
      peak = std::max(peak, last);
      if (afterMinute < 0 && t >= std::min(60.0, seconds / 2)) afterMinute = last;
      if (long(t) % 30 == 0)
        std::printf("%6.0f s  %8.1f MB resident  %6.2f M objects/s\n", t, last,
                    frames * pairs * 2 / t / 1e6);
      std::fflush(stdout);
    }
    if (t >= seconds) {
      std::printf(
          "%.0f s, %ld frames, %.2f M objects/s; resident after the first minute %.1f MB, at the "
          "end %.1f MB (%+.1f MB), peak %.1f MB, live cells %zu\n",
          t, frames, frames * pairs * 2 / t / 1e6, afterMinute, last, last - afterMinute, peak,
          p.scripts()->liveCells());
      return last - afterMinute <= 10 ? 0 : 1;
    }
  }
}
