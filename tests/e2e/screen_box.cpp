// Prints where a screenshot is not black: "X Y WIDTH HEIGHT PIXELS" of the smallest rectangle
// holding every pixel that is not black, and how many such pixels there are. The scripts that
// read a compositor's screen back use it to find the player's window on a black desktop.
//   rv_screen_box SCREENSHOT.png

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SCREENSHOT.png\n", argv[0]);
    return 2;
  }
  cairo_surface_t* shot = cairo_image_surface_create_from_png(argv[1]);
  if (cairo_surface_status(shot) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "%s: not a PNG picture\n", argv[1]);
    return 1;
  }
  const int width = cairo_image_surface_get_width(shot);
  const int height = cairo_image_surface_get_height(shot);
  const int stride = cairo_image_surface_get_stride(shot);
  const unsigned char* data = cairo_image_surface_get_data(shot);
  int left = width, top = height, right = -1, bottom = -1;
  long lit = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, data + y * stride + 4 * x, sizeof pixel);
      if ((pixel & 0xffffff) == 0) continue;
      ++lit;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      if (y > bottom) bottom = y;
    }
  }
  cairo_surface_destroy(shot);
  if (lit == 0) left = top = 0;
  std::printf("%d %d %d %d %ld\n", left, top, right - left + 1, bottom - top + 1, lit);
  return 0;
}
