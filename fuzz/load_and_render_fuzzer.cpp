// Fuzzes loading a movie from memory, a few frames of playing, input, and one rendered frame.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "swf/movie/movie.h"
#include "swf/player/player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::shared_ptr<const swf::Movie> movie;
  try {
    movie = swf::loadMovieFromMemory(std::span<const uint8_t>(data, size));
  } catch (const swf::LoadError&) {
    return 0;
  }
  swf::Player player;
  player.load(movie, "fuzz.swf");
  for (int i = 0; i < 3; ++i) player.advance(1000.0 / player.frameRate());
  player.mouseMove(10, 10);
  player.mouseDown(10, 10);
  player.mouseUp(10, 10);
  // A small surface keeps each run fast; the scale still exercises every path.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 48);
  cairo_t* cr = cairo_create(surface);
  player.render(cr, 64, 48);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return 0;
}
