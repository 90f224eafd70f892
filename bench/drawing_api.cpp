// The drawing API under load: a 1920×1080 movie whose frame script clears its root and draws
// 500 curves (and one filled shape) each frame. Prints the medians over 60 frames of the
// processor time the script takes and of the time drawing the frame takes.

#include <cairo.h>

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

double cpuMs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// (i * k + t * m) % range, left on the stack.
std::string wave(int k, int m, int range) {
  return "push 'i'\ngetVariable\npush " + std::to_string(k) + "\nmultiply\npush 't'\n" +
         "getVariable\npush " + std::to_string(m) + "\nmultiply\nadd2\npush " +
         std::to_string(range) + "\nmodulo\n";
}

// clear(); lineStyle(2, 0x3366CC, 100); a filled square; moveTo(0, 500); then 500 curves.
std::string frameScript(int curves) {
  std::string s =
      "push 't', 't'\ngetVariable\nincrement\nsetVariable\n"
      "push 0, 'clear'\ncallFunction\npop\n"
      "push 100, 3368652, 2, 3, 'lineStyle'\ncallFunction\npop\n"
      "push 13421772, 1, 'beginFill'\ncallFunction\npop\n"
      "push 100, 100, 2, 'moveTo'\ncallFunction\npop\n"
      "push 100, 1800, 2, 'lineTo'\ncallFunction\npop\n"
      "push 1000, 1800, 2, 'lineTo'\ncallFunction\npop\n"
      "push 1000, 100, 2, 'lineTo'\ncallFunction\npop\n"
      "push 0, 'endFill'\ncallFunction\npop\n"
      "push 500, 0, 2, 'moveTo'\ncallFunction\npop\n"
      "push 'i', 0\nsetVariable\nloop:\npush 'i'\ngetVariable\npush " +
      std::to_string(curves) + "\nless2\nnot\nif done\n";
  // curveTo(cx, cy, x, y): the arguments go on the stack last first.
  s += wave(29, 3, 1080) + wave(17, 5, 1920) + wave(13, 1, 1080) + wave(7, 2, 1920);
  s += "push 4, 'curveTo'\ncallFunction\npop\n"
       "push 'i', 'i'\ngetVariable\nincrement\nsetVariable\njump loop\ndone:\n";
  return s;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int curves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
  int frames = argc > 2 ? std::max(3, std::atoi(argv[2])) : 60;
  swf::author::SwfWriter w(8, 1920, 1080, 30);
  auto code = swf::author::assembleActions(frameScript(curves));
  code.push_back(0);
  for (int f = 0; f < 2; ++f) {  // two frames, both drawing: the movie loops over them
    w.doAction(code);
    w.showFrame();
  }
  w.end();
  swf::Player p;
  p.load(swf::loadMovieFromMemory(w.finish()), "bench.swf");
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1920, 1080);
  cairo_t* cr = cairo_create(surface);
  std::vector<double> script, draw;
  for (int f = 0; f < frames; ++f) {
    double t0 = cpuMs();
    p.advance(1000.0 / 30);
    double t1 = cpuMs();
    p.render(cr, 1920, 1080);
    cairo_surface_flush(surface);
    double t2 = cpuMs();
    script.push_back(t1 - t0);
    draw.push_back(t2 - t1);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  double s = median(script), d = median(draw);
  std::printf(
      "%d curves a frame at 1920x1080, %d frames: script median %.2f ms, drawing median "
      "%.2f ms, together %.2f ms\n",
      curves, frames, s, d, s + d);
  return 0;
}
