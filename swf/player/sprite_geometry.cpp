// A sprite's geometry as scripts see it: bounds, coordinate spaces, hit tests, dragging
// and the colour transform that Color reads and writes.

#include <algorithm>
#include <cmath>

#include "swf/player/matrix_math.h"
#include "swf/player/sprite_instance.h"
#include "swf/render/bounds.h"
#include "swf/shapes/script_drawing.h"

namespace swf {
namespace {

constexpr int kMaxWalk = 256;

bool hitObject(const DisplayObject& o, const Matrix& toStage, double x, double y, int nesting) {
  if (nesting > kMaxWalk || !o.visible) return false;
  bool ownShape = o.character && o.character->kind() != CharacterKind::Sprite &&
                  o.character->kind() != CharacterKind::Button;
  bool drawn = o.drawing && !o.drawing->empty();
  if (ownShape || drawn) {
    if (auto inv = invert(toStage)) {
      double lx, ly;
      transformPoint(*inv, x, y, lx, ly);
      if (ownShape && hitTestCharacter(*o.character, lx, ly, o.ratio)) return true;
      if (drawn && hitTestDrawing(o.drawing->drawing(), lx, ly)) return true;
    }
  }
  for (const auto& [d, child] : o.children) {
    if (child->clipDepth) continue;
    if (hitObject(*child, toStage * child->matrix, x, y, nesting + 1)) return true;
  }
  return false;
}

}  // namespace

Matrix SpriteInstance::toStage() const {
  Matrix m = matrix;
  int guard = 0;
  for (const SpriteInstance* p = parentTimeline(); p && ++guard < kMaxWalk; p = p->parentTimeline())
    m = p->matrix * m;
  return m;
}

bool SpriteInstance::nodeBounds(avm1::DisplayNode* space, bool, double* box) {
  Matrix toSpace = toStage();
  if (auto* s = dynamic_cast<SpriteInstance*>(space)) {
    auto inv = invert(s->toStage());
    if (!inv) return false;
    toSpace = *inv * toSpace;
  }
  auto b = unfilteredBounds(*this, toSpace);
  if (!b) return false;
  box[0] = b->x0 / 20;
  box[1] = b->y0 / 20;
  box[2] = b->x1 / 20;
  box[3] = b->y1 / 20;
  return true;
}

void SpriteInstance::localToGlobal(double& x, double& y) {
  Matrix m = toStage();
  double sx, sy;
  transformPoint(m, x * 20, y * 20, sx, sy);
  x = sx / 20;
  y = sy / 20;
}

void SpriteInstance::globalToLocal(double& x, double& y) {
  auto inv = invert(toStage());
  if (!inv) return;
  double lx, ly;
  transformPoint(*inv, x * 20, y * 20, lx, ly);
  x = lx / 20;
  y = ly / 20;
}

bool SpriteInstance::hitTestPoint(double x, double y, bool shapes) {
  if (!shapes) {
    double box[4];
    return nodeBounds(nullptr, true, box) && x >= box[0] && x <= box[2] && y >= box[1] &&
           y <= box[3];
  }
  return hitObject(*this, toStage(), x * 20, y * 20, 0);
}

void SpriteInstance::startDrag(bool lockCenter, const double* rect) {
  auto& d = ctx_.drag;
  d.alive = lifeToken();
  d.clip = this;
  d.bounded = rect != nullptr;
  if (rect) {
    d.x0 = std::min(rect[0], rect[2]) * 20;
    d.y0 = std::min(rect[1], rect[3]) * 20;
    d.x1 = std::max(rect[0], rect[2]) * 20;
    d.y1 = std::max(rect[1], rect[3]) * 20;
  }
  // The pointer in the parent's space; the clip keeps its offset from it unless locked.
  double px = ctx_.mouseX, py = ctx_.mouseY;
  if (SpriteInstance* p = parentTimeline())
    if (auto inv = invert(p->toStage())) transformPoint(*inv, ctx_.mouseX, ctx_.mouseY, px, py);
  d.offsetX = lockCenter ? 0 : matrix.tx - px;
  d.offsetY = lockCenter ? 0 : matrix.ty - py;
  followPointer();
}

void SpriteInstance::followPointer() {
  auto& d = ctx_.drag;
  double px = ctx_.mouseX, py = ctx_.mouseY;
  if (SpriteInstance* p = parentTimeline())
    if (auto inv = invert(p->toStage())) transformPoint(*inv, ctx_.mouseX, ctx_.mouseY, px, py);
  double x = px + d.offsetX, y = py + d.offsetY;
  if (d.bounded) {
    x = std::clamp(x, d.x0, d.x1);
    y = std::clamp(y, d.y0, d.y1);
  }
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (matrix.tx != x || matrix.ty != y) ctx_.changed = true;
  matrix.tx = std::round(x);
  matrix.ty = std::round(y);
}

void SpriteInstance::stopDrag() {
  auto& d = ctx_.drag;
  if (d.clip != this && !d.alive.expired()) return;
  if (!d.alive.expired() && d.clip == this) dropTarget = findDropTarget();
  d.clip = nullptr;
  d.alive.reset();
}

void SpriteInstance::getColorTransform(double* v) {
  v[0] = cxform.rm * 100;
  v[1] = cxform.ra;
  v[2] = cxform.gm * 100;
  v[3] = cxform.ga;
  v[4] = cxform.bm * 100;
  v[5] = cxform.ba;
  v[6] = cxform.am * 100;
  v[7] = cxform.aa;
}

void SpriteInstance::setColorTransform(const double* v) {
  cxform.rm = v[0] / 100;
  cxform.ra = v[1];
  cxform.gm = v[2] / 100;
  cxform.ga = v[3];
  cxform.bm = v[4] / 100;
  cxform.ba = v[5];
  cxform.am = v[6] / 100;
  cxform.aa = v[7];
  ctx_.changed = true;
}

}  // namespace swf

namespace swf {
namespace {

// The topmost sprite under the stage point (twips), leaving out `skip` and what it holds.
SpriteInstance* spriteAt(DisplayObject& o, const Matrix& toStage, double x, double y,
                         const SpriteInstance* skip, int nesting) {
  if (nesting > kMaxWalk) return nullptr;
  for (auto it = o.children.rbegin(); it != o.children.rend(); ++it) {
    DisplayObject& child = *it->second;
    if (&child == skip || !child.visible || child.clipDepth) continue;
    Matrix m = toStage * child.matrix;
    auto* s = dynamic_cast<SpriteInstance*>(&child);
    if (!s) continue;
    if (SpriteInstance* inner = spriteAt(child, m, x, y, skip, nesting + 1)) return inner;
    if (hitObject(child, m, x, y, nesting + 1)) return s;
  }
  return nullptr;
}

}  // namespace

std::string SpriteInstance::findDropTarget() {
  SpriteInstance* root = levelTop();
  SpriteInstance* hit = spriteAt(*root, root->matrix, ctx_.mouseX, ctx_.mouseY, this, 0);
  return hit ? slashPathOf(hit) : std::string();
}

}  // namespace swf
