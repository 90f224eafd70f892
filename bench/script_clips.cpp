// 2,000 movie clips, each moved by its onEnterFrame handler, on a 1920×1080 stage: the medians
// of the processor time per frame spent in scripts (the frame step) and in drawing.
//
//   bench_script_clips [frames]

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame_timing.h"
#include "swf/author/action_assembler.h"
#include "swf/author/bit_writer.h"
#include "swf/author/shape_builder.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"

namespace {

using namespace swf::author;

constexpr int kClips = 2000;

// mover: this._x = (this._x + 3) % 1920, and down a little each frame.
const std::string kScript = R"(function mover()
push 'this'
getVariable
push '_x', 'this'
getVariable
push '_x'
getMember
push 3
add2
push 1920
modulo
setMember
push 'this'
getVariable
push '_y', 'this'
getVariable
push '_y'
getMember
push 1
add2
push 1080
modulo
setMember
end
push 0
store 1
pop
loop:
push 'd', r:1
add2
store 2
pop
push r:1, r:2, 'dot', 3, 'this'
getVariable
push 'attachMovie'
callMethod
store 3
pop
push r:3, 'onEnterFrame', 'mover'
getVariable
setMember
push r:3, '_x', r:1, 37
multiply
push 1920
modulo
setMember
push r:3, '_y', r:1, 1080
modulo
setMember
push r:1, 1
add2
store 1
pop
push r:1, )" + std::to_string(kClips) +
                      R"(
less2
if loop
)";

std::shared_ptr<const swf::Movie> makeMovie() {
  SwfWriter w(6, 1920, 1080, 30);
  ShapeBuilder s;
  s.setFill1(s.solidFill({40, 120, 220, 255}));
  s.ellipse(0, 0, 200, 160);
  w.defineShape(1, s);
  TagList sprite;
  sprite.placeObject2(placeNew(1, 1));
  sprite.showFrame();
  sprite.end();
  w.defineSprite(2, sprite);
  w.exportAsset(2, "dot");
  auto code = assembleActions(kScript);
  code.push_back(0);
  w.doAction(code);
  w.showFrame();
  w.end();
  return swf::loadMovieFromMemory(w.finish());
}

}  // namespace

int main(int argc, char** argv) {
  int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 120;
  swf::Player p;
  p.load(makeMovie(), "clips.swf");
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1920, 1080);
  std::vector<double> script, draw;
  for (int f = 0; f < frames; ++f) {
    double t0 = rvbench::threadMs();
    p.advance(1000.0 / 30);
    double t1 = rvbench::threadMs();
    cairo_t* cr = cairo_create(target);
    p.render(cr, 1920, 1080);
    cairo_surface_flush(target);
    cairo_destroy(cr);
    double t2 = rvbench::threadMs();
    script.push_back(t1 - t0);
    draw.push_back(t2 - t1);
  }
  cairo_surface_destroy(target);
  double s = rvbench::median(script), d = rvbench::median(draw);
  std::printf(
      "%d clips, %d frames at 1920x1080: script median %.2f ms, drawing median %.2f ms, "
      "together %.2f ms per frame\n",
      kClips, frames, s, d, s + d);
  return 0;
}
