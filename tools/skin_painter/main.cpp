// rv-skin-painter: draws the skins we ship.
//   rv-skin-painter NAME SKIN_DIR MASK_DIR
// writes skin.ini and the pictures of skin NAME into SKIN_DIR, and the window's two outlines as
// mask pictures mask1.png (playlist hidden) and mask2.png (shown) into MASK_DIR, for
// rv-region-writer to turn into the skin's region files.
#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "layouts.h"
#include "painting.h"

namespace rvskin {
namespace {

// A 24-bit Windows bitmap, bottom-up, rows padded to four bytes.
bool writeBmp(const std::string& path, cairo_surface_t* s) {
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int row = (w * 3 + 3) & ~3;
  const uint32_t pixels = static_cast<uint32_t>(row * h), fileSize = 54 + pixels;
  std::vector<unsigned char> out;
  auto put16 = [&](uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
  };
  auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  out.push_back('B');
  out.push_back('M');
  put32(fileSize);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<uint32_t>(w));
  put32(static_cast<uint32_t>(h));
  put16(1);
  put16(24);
  put32(0);
  put32(pixels);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int y = h - 1; y >= 0; --y) {
    const auto* p = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      out.push_back(p[x] & 0xFF);
      out.push_back((p[x] >> 8) & 0xFF);
      out.push_back((p[x] >> 16) & 0xFF);
    }
    for (int pad = w * 3; pad < row; ++pad) out.push_back(0);
  }
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(f);
}

cairo_surface_t* crop(cairo_surface_t* from, Box b) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, b.w, b.h);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_surface(cr, from, -b.x, -b.y);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}

class Writer {
 public:
  explicit Writer(std::string dir) : dir_(std::move(dir)) {}
  bool ok = true;

  // Takes over `s`.
  void bmp(const std::string& name, cairo_surface_t* s) {
    ok = writeBmp(dir_ + name, s) && ok;
    cairo_surface_destroy(s);
  }
  void png(const std::string& name, cairo_surface_t* s) {
    ok = cairo_surface_write_to_png(s, (dir_ + name).c_str()) == CAIRO_STATUS_SUCCESS && ok;
    cairo_surface_destroy(s);
  }
  void text(const std::string& name, const std::string& content) {
    std::ofstream f(dir_ + name, std::ios::binary | std::ios::trunc);
    f << content;
    ok = static_cast<bool>(f) && ok;
  }

 private:
  std::string dir_;
};

std::string hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

void section(std::ostringstream& ini, const char* name) { ini << "\n[" << name << "]\n"; }
void at(std::ostringstream& ini, int left, int top) {
  ini << "left=" << left << "\ntop=" << top << "\n";
}
void box(std::ostringstream& ini, Box b) {
  at(ini, b.x, b.y);
  ini << "width=" << b.w << "\nheight=" << b.h << "\n";
}
// A section naming a picture and where it goes.
void picture(std::ostringstream& ini, const std::string& name, const std::string& file, int left,
             int top) {
  section(ini, name.c_str());
  ini << "picture=" << file << "\n";
  at(ini, left, top);
}

std::string skinIni(const Layout& l) {
  std::ostringstream ini;
  ini << "; Reelvista skin \"" << l.name << "\", drawn by rv-skin-painter.\n";
  section(ini, "image1");
  ini << "picture=main.bmp\n";
  section(ini, "imagelist");
  ini << "picture=list.bmp\n";
  section(ini, "flashlist");
  box(ini, l.list);
  ini << "color=" << hex(l.listColor) << "\n";
  section(ini, "flash1");
  box(ini, l.movie);
  section(ini, "flashpreview");
  box(ini, l.preview);
  section(ini, "lblfilename");
  at(ini, l.nameLeft, l.nameTop);
  ini << "color=" << hex(l.labelColor) << "\nvisible=1\n";
  section(ini, "lbltime");
  at(ini, l.timeLeft, l.timeTop);
  ini << "color=" << hex(l.labelColor) << "\n";
  section(ini, "lblframe");
  at(ini, l.frameLeft, l.frameTop);
  ini << "color=" << hex(l.labelColor) << "\n";
  picture(ini, "imageopenfile", "openfile.bmp", l.open.x, l.open.y);
  picture(ini, "imageopendir", "opendir.bmp", l.opendir.x, l.opendir.y);
  for (int i = 1; i <= 5; ++i) {
    const std::string v = "v" + std::to_string(i);
    picture(ini, v, v + ".bmp", l.volume.x, l.volume.y);
  }
  section(ini, "imagejct0");
  ini << "picture=track.bmp\n";
  box(ini, l.track);
  picture(ini, "jctcontrol", "knob.bmp", l.track.x + 8, l.track.y + (l.track.h - l.knobHeight) / 2);
  picture(ini, "play2", "play2.bmp", l.play.x, l.play.y);
  picture(ini, "stop2", "stop2.bmp", l.pause.x, l.pause.y);
  const struct {
    const char* name;
    Box b;
  } spots[] = {{"play", l.play},
               {"stop", l.pause},
               {"open", l.open},
               {"opendir", l.opendir},
               {"listbtnon", l.listButton},
               {"listbtnoff", l.listButton},
               {"windowsmin", l.minimise},
               {"windowsmax", l.fullscreen},
               {"exit", l.close}};
  for (const auto& s : spots) {
    section(ini, s.name);
    box(ini, s.b);
  }
  const int barW = l.volume.w / 5;
  for (int i = 0; i < 5; ++i) {
    const std::string vc = "vc" + std::to_string(i + 1);
    section(ini, vc.c_str());
    const int right = i == 4 ? l.volume.x + l.volume.w : l.volume.x + (i + 1) * barW;
    box(ini, {l.volume.x + i * barW, l.volume.y, right - (l.volume.x + i * barW), l.volume.h});
  }
  return ini.str();
}

bool paintSkin(const Layout& l, const std::string& skinDir, const std::string& maskDir) {
  Writer skin(skinDir), masks(maskDir);
  cairo_surface_t* plain = paintWindow(l, {});
  cairo_surface_t* lit = paintWindow(l, {.lit = true});
  skin.bmp("main.bmp", cairo_surface_reference(plain));
  skin.bmp("list.bmp", paintWindow(l, {.listShown = true}));
  skin.bmp("play2.bmp", crop(lit, l.play));
  skin.bmp("stop2.bmp", crop(lit, l.pause));
  skin.bmp("openfile.bmp", crop(lit, l.open));
  skin.bmp("opendir.bmp", crop(lit, l.opendir));
  skin.bmp("track.bmp", crop(plain, l.track));
  skin.bmp("knob.bmp", paintKnob(l));
  for (int level = 1; level <= 5; ++level) {
    cairo_surface_t* v = paintWindow(l, {.volumeLevel = level});
    skin.bmp("v" + std::to_string(level) + ".bmp", crop(v, l.volume));
    cairo_surface_destroy(v);
  }
  cairo_surface_destroy(plain);
  cairo_surface_destroy(lit);
  skin.text("skin.ini", skinIni(l));
  masks.png("mask1.png", paintMask(l, false));
  masks.png("mask2.png", paintMask(l, true));
  return skin.ok && masks.ok;
}

}  // namespace
}  // namespace rvskin

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: rv-skin-painter NAME SKIN_DIR MASK_DIR\n");
    return 1;
  }
  const std::string name = argv[1];
  std::string skinDir = argv[2], maskDir = argv[3];
  if (skinDir.back() != '/') skinDir += '/';
  if (maskDir.back() != '/') maskDir += '/';
  for (const rvskin::Layout& l : rvskin::shippedSkins()) {
    if (l.name != name) continue;
    if (rvskin::paintSkin(l, skinDir, maskDir)) return 0;
    std::fprintf(stderr, "rv-skin-painter: cannot write skin %s\n", name.c_str());
    return 1;
  }
  std::fprintf(stderr, "rv-skin-painter: no skin named %s\n", name.c_str());
  return 1;
}
