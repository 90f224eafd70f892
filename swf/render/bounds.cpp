#include "swf/render/bounds.h"

#include <algorithm>

#include "swf/bitmaps/bitmap.h"
#include "swf/render/filters/apply_filters.h"
#include "swf/shapes/morph_shape.h"
#include "swf/shapes/script_drawing.h"
#include "swf/shapes/shape.h"
#include "swf/text/edit_text.h"
#include "swf/text/text.h"
#include "swf/video/video_character.h"

namespace swf {

namespace {

constexpr int kMaxDepth = 64;

void include(std::optional<Box>& acc, const Box& b) {
  if (!acc) {
    acc = b;
    return;
  }
  acc->x0 = std::min(acc->x0, b.x0);
  acc->y0 = std::min(acc->y0, b.y0);
  acc->x1 = std::max(acc->x1, b.x1);
  acc->y1 = std::max(acc->y1, b.y1);
}

}  // namespace

Box transformBox(const Rect& r, const Matrix& m) {
  double xs[2] = {double(r.xMin), double(r.xMax)}, ys[2] = {double(r.yMin), double(r.yMax)};
  std::optional<Box> box;
  for (double x : xs)
    for (double y : ys) {
      double dx = m.a * x + m.c * y + m.tx, dy = m.b * x + m.d * y + m.ty;
      include(box, {dx, dy, dx, dy});
    }
  return *box;
}

namespace {

// Gathers the extent of `obj` and its children into `acc`; an object's filters widen its own
// extent (and so its parents') by their reach, unless `ownFilters` is false.
void collect(const DisplayObject& obj, const Matrix& toDevice, std::optional<Box>& acc, int depth,
             double filterScale, bool ownFilters = true) {
  bool filtered = ownFilters && hasVisibleFilters(obj.filters.get());
  std::optional<Box> local;
  std::optional<Box>& into = filtered ? local : acc;
  if (obj.character) {
    if (auto r = characterBounds(obj)) include(into, transformBox(*r, toDevice));
  }
  if (obj.drawing)
    if (auto r = obj.drawing->bounds()) include(into, transformBox(*r, toDevice));
  if (depth < kMaxDepth)
    for (const auto& [d, child] : obj.children)
      collect(*child, toDevice * child->matrix, into, depth + 1, filterScale);
  if (filtered && local) {
    FilterReach r = filtersReach(*obj.filters, {filterScale, filterScale});
    // One more pixel each side: the filtered picture covers whole pixels around the object.
    include(acc, {local->x0 - r.left - 1, local->y0 - r.top - 1, local->x1 + r.right + 1,
                  local->y1 + r.bottom + 1});
  }
}

}  // namespace

std::optional<Rect> characterBounds(const DisplayObject& obj) {
  // A text field's bounds are its own: scripts resize it.
  if (auto* field = dynamic_cast<const TextFieldContent*>(&obj))
    if (const EditTextCharacter* def = field->definition()) return def->bounds;
  return obj.character ? characterBounds(*obj.character, obj.ratio) : std::nullopt;
}

std::optional<Rect> characterBounds(const Character& c, int ratio) {
  switch (c.kind()) {
    case CharacterKind::Shape:
      return static_cast<const ShapeCharacter&>(c).bounds;
    case CharacterKind::MorphShape:
      return static_cast<const MorphShapeCharacter&>(c).boundsAt(ratio);
    case CharacterKind::Text:
      return static_cast<const TextCharacter&>(c).bounds;
    case CharacterKind::EditText:
      return static_cast<const EditTextCharacter&>(c).bounds;
    case CharacterKind::Bitmap: {
      auto& b = static_cast<const BitmapCharacter&>(c);
      return Rect{0, b.width() * 20, 0, b.height() * 20};
    }
    case CharacterKind::Other:
      if (auto* v = dynamic_cast<const VideoCharacter*>(&c))
        return Rect{0, v->width * 20, 0, v->height * 20};
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<Box> objectBounds(const DisplayObject& obj, const Matrix& toDevice,
                                double filterScale) {
  std::optional<Box> acc;
  collect(obj, toDevice, acc, 0, filterScale);
  return acc;
}

std::optional<Box> unfilteredBounds(const DisplayObject& obj, const Matrix& toDevice,
                                    double filterScale) {
  std::optional<Box> acc;
  collect(obj, toDevice, acc, 0, filterScale, false);
  return acc;
}

}  // namespace swf
