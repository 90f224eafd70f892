#include "swf/player/button_hit_test.h"

#include "swf/movie/sprite.h"
#include "swf/player/matrix_math.h"
#include "swf/player/placement.h"

namespace swf {
namespace {

constexpr int kMaxHitNesting = 16;

// (x, y) in the character's own coordinates. A sprite in a hit state counts with its first frame.
bool hitCharacter(const Character& c, double x, double y, int nesting) {
  if (c.kind() != CharacterKind::Sprite) return hitTestCharacter(c, x, y, 0);
  if (nesting >= kMaxHitNesting) return false;
  const auto& tl = static_cast<const SpriteCharacter&>(c).timeline;
  if (tl.frames.empty()) return false;
  DepthState state;
  DepthList touched;
  applyDisplayCommands(tl.frames[0], tl.swfVersion, state, touched);
  for (const auto& [depth, p] : state) {
    if (!p.character || p.clipDepth) continue;
    auto inv = invert(p.matrix);
    if (!inv) continue;
    double lx, ly;
    transformPoint(*inv, x, y, lx, ly);
    if (hitCharacter(*p.character, lx, ly, nesting + 1)) return true;
  }
  return false;
}

bool hitButton(const ButtonInstance& b, const Matrix& toStage, double x, double y) {
  for (const ButtonRecord& rec : b.button().records) {
    if (!(rec.states & kButtonHit) || !rec.character) continue;
    auto inv = invert(toStage * rec.matrix);
    if (!inv) continue;
    double lx, ly;
    transformPoint(*inv, x, y, lx, ly);
    if (hitCharacter(*rec.character, lx, ly, 0)) return true;
  }
  return false;
}

ButtonInstance* find(DisplayObject& node, const Matrix& toStage, double x, double y, int nesting) {
  if (nesting > kMaxNesting + 2) return nullptr;
  for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
    DisplayObject& child = *it->second;
    if (!child.visible || child.clipDepth) continue;
    Matrix m = toStage * child.matrix;
    if (auto* b = dynamic_cast<ButtonInstance*>(&child)) {
      if (hitButton(*b, m, x, y)) return b;
      continue;
    }
    if (!child.children.empty())
      if (ButtonInstance* b = find(child, m, x, y, nesting + 1)) return b;
  }
  return nullptr;
}

}  // namespace

ButtonInstance* findButtonAt(DisplayObject& root, double x, double y) {
  return find(root, root.matrix, x, y, 0);
}

}  // namespace swf
