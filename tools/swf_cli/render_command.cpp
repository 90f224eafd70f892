#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "commands.h"
#include "option_parsing.h"
#include "swf/player/player.h"

namespace rvswf {

int renderCommand(const std::vector<std::string>& args) {
  std::string file, out;
  int frames = 10, width = 0, height = 0, quality = 1;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    if (a == "-o") {
      out = value();
    } else if (a == "--frames") {
      frames = parsePositive(value(), "frame count", 1000000);
    } else if (a == "--size") {
      const std::string& s = value();
      size_t x = s.find('x');
      if (x == std::string::npos) throw UsageError("bad size '" + s + "' (want WxH)");
      width = parsePositive(s.substr(0, x), "width", 16384);
      height = parsePositive(s.substr(x + 1), "height", 16384);
      if (width == 0 || height == 0) throw UsageError("bad size '" + s + "'");
    } else if (a == "--quality") {
      const std::string& q = value();
      if (q == "low")
        quality = 0;
      else if (q == "high")
        quality = 1;
      else
        throw UsageError("bad quality '" + q + "' (want low or high)");
    } else if (file.empty() && (a.empty() || a[0] != '-')) {
      file = a;
    } else {
      throw UsageError("unexpected argument '" + a + "'");
    }
  }
  if (file.empty() || out.empty()) throw UsageError("render needs FILE and -o OUT.png");

  swf::Player player;
  player.load(loadNamed(file), file);
  player.setQuality(quality);
  for (int i = 0; i < frames; ++i) player.advance(1000.0 / player.frameRate());
  if (width == 0) {
    width = std::max(player.stageWidth(), 1);
    height = std::max(player.stageHeight(), 1);
  }
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot make a picture of that size");
  cairo_t* cr = cairo_create(surface.get());
  player.render(cr, width, height);
  cairo_destroy(cr);
  cairo_surface_flush(surface.get());
  // Written beside the target and renamed, so a failure never leaves half a picture.
  std::string tmp = out + ".part";
  if (cairo_surface_write_to_png(surface.get(), tmp.c_str()) != CAIRO_STATUS_SUCCESS) {
    std::remove(tmp.c_str());
    throw std::runtime_error("cannot write " + out);
  }
  if (std::rename(tmp.c_str(), out.c_str()) != 0) {
    std::remove(tmp.c_str());
    throw std::runtime_error("cannot write " + out);
  }
  return 0;
}

}  // namespace rvswf
