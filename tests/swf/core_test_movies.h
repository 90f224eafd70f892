#pragma once
// Builds the small movies the engine's tests need, with our own authoring code.

#include <cstdint>
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

}  // namespace rvtest
