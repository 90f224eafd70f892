#pragma once
// Builds the small movies the engine's tests need, with our own authoring code.

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "swf/author/action_builder.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"

namespace rvtest {

using namespace swf::author;

// A fresh scratch directory for the running test; the process id keeps two copies of the test
// binary (ctest -j, a sanitizer run beside a plain one) out of each other's files.
inline std::filesystem::path scratchDir(const std::string& prefix) {
  auto dir = std::filesystem::path(::testing::TempDir()) /
             (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
              std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// A filled square of `size` twips at the origin, in `color`.
inline ShapeBuilder square(int size, swf::RGBA color = {255, 0, 0, 255}) {
  ShapeBuilder s;
  s.setFill1(s.solidFill(color));
  s.rectangle(0, 0, size, size);
  return s;
}

inline swf::Matrix at(double x, double y) {
  swf::Matrix m;
  m.tx = x;
  m.ty = y;
  return m;
}

inline std::shared_ptr<const swf::Movie> parse(const std::vector<uint8_t>& bytes) {
  return swf::loadMovieFromMemory(bytes);
}

inline void show(swf::Player& p, const std::vector<uint8_t>& bytes) {
  p.load(parse(bytes), "test.swf");
}

// One line per object: depth, character, matrix, colour transform and the other properties
// a timeline sets. Nested children are listed under their parent.
inline void describe(const swf::DisplayObject& o, std::ostringstream& out, int indent) {
  for (const auto& [depth, child] : o.children) {
    const auto& m = child->matrix;
    const auto& c = child->cxform;
    out << std::string(indent, ' ') << depth << ": #" << child->characterId << " [" << m.a << ' '
        << m.b << ' ' << m.c << ' ' << m.d << ' ' << m.tx << ' ' << m.ty << "] {" << c.rm << ' '
        << c.gm << ' ' << c.bm << ' ' << c.am << ' ' << c.ra << ' ' << c.ga << ' ' << c.ba << ' '
        << c.aa << "} r" << child->ratio << " n'" << child->name << "' clip" << child->clipDepth
        << (child->visible ? "" : " hidden") << '\n';
    if (!dynamic_cast<const swf::SpriteInstance*>(child.get())) describe(*child, out, indent + 2);
  }
}

inline std::string displayList(const swf::Player& p) {
  std::ostringstream out;
  if (p.root()) describe(*p.root(), out, 0);
  return out.str();
}

// Advances by exactly one frame interval.
inline bool step(swf::Player& p) { return p.advance(1000.0 / p.frameRate()); }

// Pixel (x, y) of the player's picture drawn at 100 × 100 pixels.
inline swf::RGBA pixelAt(const swf::Player& p, int x, int y) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100);
  cairo_t* cr = cairo_create(s);
  p.render(cr, 100, 100);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  uint32_t px = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) +
                                                  cairo_image_surface_get_stride(s) * y)[x];
  cairo_surface_destroy(s);
  return {uint8_t(px >> 16), uint8_t(px >> 8), uint8_t(px), uint8_t(px >> 24)};
}

}  // namespace rvtest
