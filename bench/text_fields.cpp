// Times drawing HTML text fields at 1920×1080 (show all): a stage of wrapped, mixed-format
// paragraphs in desktop fonts, the same in an embedded font with kerning, and one long field.
// Reports the median milliseconds per frame (CPU time of the drawing thread).
//
//   bench_text_fields [--reps N]

#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "frame_timing.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"
#include "swf/player/player.h"

using namespace swf::author;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

const char* kParagraph =
    "<p align='justify'><font size='14' color='#203040'><b>QUICK</b> BROWN FOX</font> JUMPS "
    "OVER THE <i>LAZY</i> DOG <u>AGAIN</u> AND AGAIN, &amp; THEN <font color='#a02020'>RESTS "
    "A WHILE</font> BEFORE IT RUNS BACK ACROSS THE FIELD.</p>";

// Capital letters as boxes of their own widths, with a kerning pair for every AV-like couple.
void defineBoxFont(SwfWriter& w) {
  std::vector<GlyphDef> glyphs;
  FontStyleDef style;
  for (char c = 'A'; c <= 'Z'; ++c) {
    GlyphDef g;
    g.code = uint16_t(c);
    int width = 500 + (c - 'A') * 13;
    g.outline.setFill1(1);
    g.outline.rectangle(40, -700, width, 700);
    g.advance = width + 80;
    glyphs.push_back(std::move(g));
    style.kerning.push_back({uint16_t(c), uint16_t('A' + (c - 'A' + 5) % 26), -60});
  }
  GlyphDef space;
  space.code = ' ';
  space.advance = 300;
  glyphs.push_back(std::move(space));
  w.defineFont2(1, "Boxes", glyphs, 900, 200, style);
}

std::vector<uint8_t> fieldsMovie(bool embedded, int columns, int rows) {
  SwfWriter w(8, 800, 600, 24);
  defineBoxFont(w);
  std::string text;
  for (int i = 0; i < 3; ++i) text += kParagraph;
  int cellW = 16000 / columns, cellH = 12000 / rows;
  uint16_t id = 10;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c, ++id) {
      EditTextDef f;
      f.bounds = swf::Rect{0, cellW - 100, 0, cellH - 100};
      f.font = 1;
      f.height = 240;
      f.html = f.multiline = f.wordWrap = f.border = true;
      f.useOutlines = embedded;
      f.text = embedded ? text : "<font face='_sans'>" + text + "</font>";
      w.defineEditText(id, f);
      w.placeObject2(
          placeNew(id - 9, id, swf::Matrix{1, 0, 0, 1, double(c * cellW), double(r * cellH)}));
    }
  }
  w.showFrame();
  return w.finish();
}

double medianFrameMs(const std::vector<uint8_t>& file, const char* name, int reps,
                     cairo_surface_t* target) {
  swf::Player p;
  p.load(swf::loadMovieFromMemory(file), name);
  return rvbench::timeFrames(p, target, kWidth, kHeight, reps).median;
}

}  // namespace

int main(int argc, char** argv) {
  int reps = 15;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::string(argv[i]) == "--reps") reps = std::max(1, std::atoi(argv[i + 1]));
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  struct Case {
    const char* name;
    bool embedded;
    int columns, rows;
  } cases[] = {
      {"text: 12 HTML fields, desktop fonts", false, 4, 3},
      {"text: 12 HTML fields, embedded font with kerning", true, 4, 3},
      {"text: 1 full-stage HTML field, desktop fonts", false, 1, 1},
  };
  for (const Case& c : cases) {
    double ms = medianFrameMs(fieldsMovie(c.embedded, c.columns, c.rows), c.name, reps, target);
    std::printf("%-55s %8.2f ms\n", c.name, ms);
  }
  cairo_surface_destroy(target);
}
