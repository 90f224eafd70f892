// rv-desktop-files OUTDIR: writes what the desktop needs to show the player and its list files:
//   OUTDIR/icons/hicolor/NxN/apps/reelvista.png                       the program's icon
//   OUTDIR/icons/hicolor/NxN/mimetypes/application-x-reelvista-list.png  list files' icon
//   OUTDIR/mime/packages/reelvista.xml                                the list files' type
// The icons are drawn here, at each size, so small ones stay sharp.
// rv-desktop-files entry PROGRAM FILE: writes the desktop entry of an installed PROGRAM.
#include <cairo.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/desktop_entry.h"
#include "platform/user_files.h"
#include "tools/common/cairo_paths.h"

namespace {
using rv::tools::roundedRect;

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// A play triangle centred on (cx, cy), `h` high.
void playTriangle(cairo_t* cr, double cx, double cy, double h) {
  cairo_move_to(cr, cx - h * 0.36, cy - h / 2);
  cairo_line_to(cr, cx + h * 0.5, cy);
  cairo_line_to(cr, cx - h * 0.36, cy + h / 2);
  cairo_close_path(cr);
}

// The program: a dark reel with a red play triangle on a rounded tile.
void drawProgram(cairo_t* cr, double s) {
  cairo_pattern_t* tile = cairo_pattern_create_linear(0, 0, 0, s);
  cairo_pattern_add_color_stop_rgb(tile, 0, 0.20, 0.22, 0.28);
  cairo_pattern_add_color_stop_rgb(tile, 1, 0.08, 0.09, 0.12);
  roundedRect(cr, s * 0.04, s * 0.04, s * 0.92, s * 0.92, s * 0.18);
  cairo_set_source(cr, tile);
  cairo_fill(cr);
  cairo_pattern_destroy(tile);
  // Reel: a ring with holes, only where there are pixels enough to show them.
  cairo_set_line_width(cr, std::max(1.0, s * 0.06));
  cairo_set_source_rgb(cr, 0.85, 0.86, 0.90);
  cairo_arc(cr, s / 2, s / 2, s * 0.32, 0, 2 * M_PI);
  cairo_stroke(cr);
  if (s >= 32) {
    for (int i = 0; i < 6; ++i) {
      double a = i * M_PI / 3 + M_PI / 6;
      cairo_arc(cr, s / 2 + std::cos(a) * s * 0.32, s / 2 + std::sin(a) * s * 0.32, s * 0.035, 0,
                2 * M_PI);
      cairo_fill(cr);
    }
  }
  cairo_set_source_rgb(cr, 0.90, 0.18, 0.16);
  playTriangle(cr, s / 2 + s * 0.03, s / 2, s * 0.34);
  cairo_fill(cr);
}

// A list file: a sheet with lines and a small play triangle.
void drawList(cairo_t* cr, double s) {
  const double x = s * 0.16, y = s * 0.06, w = s * 0.68, h = s * 0.88;
  roundedRect(cr, x, y, w, h, s * 0.06);
  cairo_set_source_rgb(cr, 0.97, 0.97, 0.95);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, std::max(1.0, s / 32));
  cairo_set_source_rgb(cr, 0.35, 0.36, 0.40);
  cairo_stroke(cr);
  const int lines = s >= 32 ? 5 : 3;
  cairo_set_line_width(cr, std::max(1.0, s * 0.05));
  for (int i = 0; i < lines; ++i) {
    double ly = y + h * (0.2 + 0.6 * i / std::max(1, lines - 1));
    cairo_move_to(cr, x + w * 0.42, ly);
    cairo_line_to(cr, x + w * 0.85, ly);
  }
  cairo_set_source_rgb(cr, 0.45, 0.47, 0.52);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 0.90, 0.18, 0.16);
  playTriangle(cr, x + w * 0.22, y + h * 0.2, s * 0.16);
  cairo_fill(cr);
}

bool writeIcon(const std::string& path, int size, void (*draw)(cairo_t*, double)) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  draw(cr, size);
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!ok) std::fprintf(stderr, "rv-desktop-files: cannot write %s\n", path.c_str());
  return ok;
}

}  // namespace

int writeEntry(const std::string& program, const std::string& file) {
  auto exec = rv::execLine(program);
  std::string error;
  if (!exec) error = "a desktop entry cannot start " + program;
  if (exec &&
      rv::replaceFile(file, rv::desktopEntryText(*exec, "reelvista", rv::allTypes()), &error))
    return 0;
  std::fprintf(stderr, "rv-desktop-files: %s\n", error.c_str());
  return 1;
}

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "entry") return writeEntry(argv[2], argv[3]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: rv-desktop-files OUTDIR | rv-desktop-files entry PROGRAM FILE\n");
    return 1;
  }
  const std::string out = argv[1];
  std::string error;
  for (int size : kSizes) {
    const std::string dir =
        out + "/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/";
    if (!rv::makeDirectories(dir + "apps", &error) ||
        !rv::makeDirectories(dir + "mimetypes", &error) ||
        !writeIcon(dir + "apps/reelvista.png", size, drawProgram) ||
        !writeIcon(dir + "mimetypes/" + rv::kListIcon + ".png", size, drawList)) {
      if (!error.empty()) std::fprintf(stderr, "rv-desktop-files: %s\n", error.c_str());
      return 1;
    }
  }
  if (!rv::makeDirectories(out + "/mime/packages", &error) ||
      !rv::replaceFile(out + "/mime/packages/reelvista.xml", rv::mimePackageText(), &error)) {
    std::fprintf(stderr, "rv-desktop-files: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
