// rv-region-writer: makes a window outline file from a mask picture.
//   rv-region-writer MASK.png OUT.rgn
// Pixels more than half opaque belong to the outline. The file is written beside OUT and
// renamed, so a failed run leaves no half-written region.
#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "skins/region_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rv-region-writer MASK.png OUT.rgn\n");
    return 1;
  }
  cairo_surface_t* mask = cairo_image_surface_create_from_png(argv[1]);
  if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "rv-region-writer: cannot read the PNG picture %s\n", argv[1]);
    cairo_surface_destroy(mask);
    return 1;
  }
  cairo_surface_flush(mask);
  const int w = cairo_image_surface_get_width(mask), h = cairo_image_surface_get_height(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  const unsigned char* data = cairo_image_surface_get_data(mask);
  const cairo_format_t format = cairo_image_surface_get_format(mask);
  auto inside = [&](int x, int y) {
    const auto px = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
    if (format == CAIRO_FORMAT_RGB24) return (px & 0xFFFFFF) != 0;  // no alpha: not black
    return (px >> 24) > 127;
  };
  const std::vector<uint8_t> bytes = rv::regionFileBytes(rv::regionFromMask(w, h, inside));
  cairo_surface_destroy(mask);

  const std::string out = argv[2], part = out + ".part";
  {
    std::ofstream f(part, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    if (!f) {
      std::remove(part.c_str());
      std::fprintf(stderr, "rv-region-writer: cannot write %s\n", out.c_str());
      return 1;
    }
  }
  if (std::rename(part.c_str(), out.c_str()) != 0) {
    std::remove(part.c_str());
    std::fprintf(stderr, "rv-region-writer: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
