// Script machine loops: arithmetic, string building, property access, calls, arrays. Each loop
// runs as a frame script of a SWF 6 movie, compiled the way the authoring tool compiles it;
// prints the median time of five runs and operations per second.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "swf/author/action_assembler.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"
#include "swf/player/player.h"

namespace {

struct Loop {
  const char* name;
  long iterations;
  std::string body;  // runs with i in the loop; may use constants after 'i'
};

// for (i = 0; i < n; i++) { body }
std::string loop(long n, const std::string& body, const std::string& before = "") {
  return "constants 'i', 's', 'o', 'f', 'a', 'x', 'push', 'sort'\n" + before +
         "push c:0, 0\nsetVariable\nloop:\npush c:0\ngetVariable\npush " + std::to_string(n) +
         "\nless2\nnot\nif done\n" + body +
         "push c:0, c:0\ngetVariable\nincrement\nsetVariable\njump loop\ndone:\n";
}

double cpuMs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The processor time the first frame's script takes: on a shared machine wall time also counts
// the other programs' turns.
double runMs(const std::string& source) {
  swf::author::SwfWriter w(6, 100, 100, 12);
  auto code = swf::author::assembleActions(source);
  code.push_back(0);
  w.doAction(code);
  w.showFrame();
  w.end();
  auto movie = swf::loadMovieFromMemory(w.finish());
  swf::Player p;
  p.setScriptTimeLimit(600000);
  double t0 = cpuMs();
  p.load(movie, "bench.swf");  // runs the first frame's script
  return cpuMs() - t0;
}

}  // namespace

int main(int argc, char** argv) {
  // An optional divisor shortens every loop (for a quick look).
  long scale = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1;
  const long n = 10000000 / scale;
  std::vector<Loop> loops = {
      {"s += i (numbers)", n,
       "push c:1, c:1\ngetVariable\npush c:0\ngetVariable\nadd2\nsetVariable\n"},
      {"s += 'x' (string, 1e6)", 1000000 / scale,
       "push c:1, c:1\ngetVariable\npush 'x'\nadd2\nsetVariable\n"},
      {"o.x = o.x + 1 (members)", 2000000 / scale,
       "push c:2\ngetVariable\npush c:5, c:2\ngetVariable\npush c:5\ngetMember\npush 1\nadd2\n"
       "setMember\n"},
      {"f(i) (calls)", 1000000 / scale, "push c:0\ngetVariable\npush 1, c:3\ncallFunction\npop\n"},
      {"a.push(i) (arrays)", 1000000 / scale,
       "push c:0\ngetVariable\npush 1, c:4\ngetVariable\npush c:6\ncallMethod\npop\n"},
  };
  std::string setup =
      "push c:2, 0, 'Object'\nnewObject\nsetVariable\npush c:2\ngetVariable\npush c:5, 0\n"
      "setMember\nfunction f(v)\npush 'v'\ngetVariable\nreturn\nend\npush c:4, 0, 'Array'\n"
      "newObject\nsetVariable\n";
  // An optional second argument runs only the loops whose name contains it.
  std::string only = argc > 2 ? argv[2] : "";
  for (const Loop& l : loops) {
    if (std::string(l.name).find(only) == std::string::npos) continue;
    std::vector<double> times;
    for (int r = 0; r < 5; ++r) times.push_back(runMs(loop(l.iterations, l.body, setup)));
    std::sort(times.begin(), times.end());
    double median = times[2];
    std::printf("%-28s %10ld iterations  median %8.1f ms  %6.2f M iterations/s\n", l.name,
                l.iterations, median, l.iterations / median / 1000);
  }
  if (!only.empty()) return 0;
  // Sorting what the push loop built: 1e6 numbers, numerically.
  std::vector<double> times;
  std::string sortSrc =
      loop(1000000 / scale,
           "push c:0\ngetVariable\npush 1, c:4\ngetVariable\npush c:6\ncallMethod\npop\n", setup) +
      "push 16, 1, c:4\ngetVariable\npush c:7\ncallMethod\npop\n";
  double pushOnly = runMs(
      loop(1000000 / scale,
           "push c:0\ngetVariable\npush 1, c:4\ngetVariable\npush c:6\ncallMethod\npop\n", setup));
  for (int r = 0; r < 5; ++r) times.push_back(runMs(sortSrc) - pushOnly);
  std::sort(times.begin(), times.end());
  std::printf("%-28s %10ld elements    median %8.1f ms\n", "a.sort(NUMERIC)", 1000000 / scale,
              times[2]);
  return 0;
}
