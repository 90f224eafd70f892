#include "swf/render/render_frame.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "swf/render/blend_composite.h"
#include "swf/render/bounds.h"
#include "swf/render/cairo_util.h"
#include "swf/render/character_painter.h"
#include "swf/render/filters/filtered_draw.h"
#include "swf/render/script_masks.h"
#include "swf/shapes/shape.h"

namespace swf {

namespace {

// Deeper nesting than this is not drawn: it keeps a hostile movie from exhausting the stack.
constexpr int kMaxNesting = 128;
// Each mask or blend mode draws into an offscreen group as large as what it covers; past this
// many groups inside one another, masks hide what they mask and blend modes draw as normal,
// so that nested masks cannot take memory without bound.
constexpr int kMaxGroups = 12;

void drawObject(const DrawState& parent, const DisplayObject& obj, int nesting);
void drawChildren(const DrawState& s, const DisplayObject& parent, int nesting);

// A mask in effect among a container's children: its coverage (already narrowed by the masks
// that were in effect where it stands) applies up to its clip depth.
struct ActiveMask {
  int clipDepth;
  PatternPtr coverage;  // alpha, in device space
  std::optional<Box> box;
};

std::optional<Box> intersect(const std::optional<Box>& a, const std::optional<Box>& b) {
  if (!a) return b;
  if (!b) return a;
  return Box{std::max(a->x0, b->x0), std::max(a->y0, b->y0), std::min(a->x1, b->x1),
             std::min(a->y1, b->y1)};
}

// Limits drawing to a device box, grown to whole pixels; returns false when it is empty.
bool clipToBox(cairo_t* cr, const std::optional<Box>& box) {
  if (!box) return true;
  double x0 = std::floor(box->x0) - 1, y0 = std::floor(box->y0) - 1;
  double x1 = std::ceil(box->x1) + 1, y1 = std::ceil(box->y1) + 1;
  if (!(x1 > x0 && y1 > y0)) return false;
  cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
  cairo_clip(cr);
  return true;
}

// Draws the coverage of `mask` placed by `toDevice` into an alpha group; the target's clip
// should already be narrowed to where it matters.
PatternPtr paintCoverage(const DrawState& s, const DisplayObject& mask, const Matrix& toDevice,
                         int nesting) {
  cairo_t* cr = s.cr;
  // The mask draws whether or not it is visible itself: only its coverage is used.
  DrawState ms = s;
  ms.maskMode = true;
  ms.toDevice = toDevice;
  ++ms.groups;
  cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
  if (nesting <= kMaxNesting) {
    paintOwnContent(ms, mask);
    drawChildren(ms, mask, nesting + 1);
  }
  cairo_identity_matrix(cr);
  return PatternPtr(cairo_pop_group(cr));
}

ActiveMask makeMask(const DrawState& s, const DisplayObject& mask, const ActiveMask* within,
                    int nesting) {
  cairo_t* cr = s.cr;
  ActiveMask m{mask.clipDepth, nullptr,
               objectBounds(mask, s.toDevice * mask.matrix, s.pixelsPerStagePixel())};
  if (within) m.box = intersect(m.box, within->box);
  if (s.groups >= kMaxGroups) return m;  // no coverage: what it masks is not drawn
  cairo_save(cr);
  cairo_identity_matrix(cr);
  if (clipToBox(cr, m.box)) {
    m.coverage = paintCoverage(s, mask, s.toDevice * mask.matrix, nesting);
    if (within && within->coverage) {
      cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
      cairo_set_source(cr, m.coverage.get());
      cairo_mask(cr, within->coverage.get());
      m.coverage.reset(cairo_pop_group(cr));
    }
  }
  cairo_restore(cr);
  return m;
}

// Children drawn under one mask are gathered in a group, then painted through the mask.
class MaskedGroup {
 public:
  explicit MaskedGroup(cairo_t* cr) : cr_(cr) {}
  ~MaskedGroup() { close(); }

  void open(const ActiveMask& m) {
    if (mask_ == &m) return;
    close();
    mask_ = &m;
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    visible_ = m.coverage && clipToBox(cr_, m.box);
    if (visible_) cairo_push_group(cr_);
  }
  bool visible() const { return visible_; }
  void close() {
    if (!mask_) return;
    if (visible_) {
      cairo_identity_matrix(cr_);
      PatternPtr content(cairo_pop_group(cr_));
      cairo_set_source(cr_, content.get());
      cairo_mask(cr_, mask_->coverage.get());
    }
    cairo_restore(cr_);
    mask_ = nullptr;
    visible_ = false;
  }

 private:
  cairo_t* cr_;
  const ActiveMask* mask_ = nullptr;
  bool visible_ = false;
};

void drawChildren(const DrawState& s, const DisplayObject& parent, int nesting) {
  if (parent.children.empty()) return;
  std::vector<std::unique_ptr<ActiveMask>> masks;  // in the order they were placed
  MaskedGroup group(s.cr);
  for (const auto& [depth, child] : parent.children) {
    const DisplayObject& obj = *child;
    auto expired = [d = depth](const auto& m) { return m->clipDepth < d; };
    if (std::any_of(masks.begin(), masks.end(), expired)) {
      group.close();  // before its mask goes
      std::erase_if(masks, expired);
    }
    const ActiveMask* current = masks.empty() ? nullptr : masks.back().get();
    if (obj.clipDepth > 0) {
      group.close();
      masks.push_back(std::make_unique<ActiveMask>(makeMask(s, obj, current, nesting)));
      continue;
    }
    if (!current) {
      drawObject(s, obj, nesting);
      continue;
    }
    group.open(*current);
    if (group.visible()) {
      DrawState inGroup = s;
      ++inGroup.groups;
      drawObject(inGroup, obj, nesting);
    }
  }
}

// PlaceObject3 blend modes.
enum BlendMode {
  kLayer = 2,
  kMultiply,
  kScreen,
  kLighten,
  kDarken,
  kDifference,
  kAdd,
  kSubtract,
  kInvert,
  kAlpha,
  kErase,
  kOverlay,
  kHardLight
};

cairo_operator_t operatorFor(int mode) {
  switch (mode) {
    case kMultiply:
      return CAIRO_OPERATOR_MULTIPLY;
    case kScreen:
      return CAIRO_OPERATOR_SCREEN;
    case kLighten:
      return CAIRO_OPERATOR_LIGHTEN;
    case kDarken:
      return CAIRO_OPERATOR_DARKEN;
    case kDifference:
      return CAIRO_OPERATOR_DIFFERENCE;
    case kAdd:
      return CAIRO_OPERATOR_ADD;
    case kOverlay:
      return CAIRO_OPERATOR_OVERLAY;
    case kHardLight:
      return CAIRO_OPERATOR_HARD_LIGHT;
    default:
      return CAIRO_OPERATOR_OVER;
  }
}

// Whether the object comes down to one shape made of fills only (through containers holding
// just it): its fills do not overlap, so blending each as it is drawn is blending the whole.
bool isSingleFillShape(const DisplayObject& obj, int depth = 0) {
  if (depth > 8 || obj.clipDepth > 0 || (depth > 0 && (!obj.visible || obj.blendMode > 1)))
    return false;
  if (obj.character) {
    if (!obj.children.empty() || obj.character->kind() != CharacterKind::Shape) return false;
    const auto& d = static_cast<const ShapeCharacter&>(*obj.character).drawing;
    return d.layers.size() == 1 && d.layers[0].strokes.empty();
  }
  return obj.children.size() == 1 && isSingleFillShape(*obj.children.begin()->second, depth + 1);
}

void drawUnfiltered(const DrawState& s, const DisplayObject& obj, int nesting) {
  paintOwnContent(s, obj);
  drawChildren(s, obj, nesting + 1);
}

void drawContent(const DrawState& s, const DisplayObject& obj, int nesting) {
  if (mayFilter(s, obj) &&
      drawFiltered(s, obj, [&](const DrawState& fs) { drawUnfiltered(fs, obj, nesting); }))
    return;
  drawUnfiltered(s, obj, nesting);
}

// The modes blended by our own pixel code rather than Cairo's slower generic compositing.
std::optional<PixelBlend> pixelBlendFor(int mode) {
  switch (mode) {
    case kMultiply:
      return PixelBlend::Multiply;
    case kScreen:
      return PixelBlend::Screen;
    case kLighten:
      return PixelBlend::Lighten;
    case kDarken:
      return PixelBlend::Darken;
    case kDifference:
      return PixelBlend::Difference;
    case kOverlay:
      return PixelBlend::Overlay;
    case kHardLight:
      return PixelBlend::HardLight;
    case kInvert:
      return PixelBlend::Invert;
    default:
      return std::nullopt;
  }
}

void paintWhiteDifference(cairo_t* cr) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
  cairo_paint(cr);
}

// Draws the object into a group of its own, then combines the group with what is below.
void drawBlended(const DrawState& s, const DisplayObject& obj, int mode, int nesting) {
  cairo_t* cr = s.cr;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  // Alpha and erase act on the whole layer below them, not only where the object is.
  bool wholeLayer = mode == kAlpha || mode == kErase;
  if (!wholeLayer && !clipToBox(cr, objectBounds(obj, s.toDevice, s.pixelsPerStagePixel()))) {
    cairo_restore(cr);
    return;
  }
  cairo_push_group(cr);
  DrawState inner = s;
  inner.inLayer = true;
  ++inner.groups;
  drawContent(inner, obj, nesting);
  cairo_identity_matrix(cr);
  PatternPtr group(cairo_pop_group(cr));
  if (auto direct = pixelBlendFor(mode); direct && compositeBlendGroup(cr, group.get(), *direct)) {
    cairo_restore(cr);
    return;
  }
  switch (mode) {
    case kInvert:
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
      cairo_mask(cr, group.get());
      break;
    case kSubtract:  // below − object, as 1 − ((1 − below) + object)
      paintWhiteDifference(cr);
      cairo_set_source(cr, group.get());
      cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
      cairo_paint(cr);
      paintWhiteDifference(cr);
      break;
    case kAlpha:
    case kErase:
      cairo_set_source(cr, group.get());
      if (s.inLayer)  // only a layer below can take the object's alpha
        cairo_set_operator(cr, mode == kAlpha ? CAIRO_OPERATOR_DEST_IN : CAIRO_OPERATOR_DEST_OUT);
      cairo_paint(cr);
      break;
    default:
      cairo_set_source(cr, group.get());
      cairo_set_operator(cr, operatorFor(mode));
      cairo_paint(cr);
      break;
  }
  cairo_restore(cr);
}

// Draws an object at its place `s` with its blend mode.
void drawPlaced(const DrawState& s, const DisplayObject& obj, int nesting) {
  int mode = obj.blendMode;
  bool blended = !s.maskMode && mode >= kLayer && mode <= kHardLight;
  // Add and layer blend as the fills are drawn when nothing overlaps; the other modes either
  // need the whole layer or are combined faster by our own pixel code than by Cairo's fills.
  bool blendsAsDrawn = mode == kAdd || mode == kLayer;
  if (blended && blendsAsDrawn && isSingleFillShape(obj)) {
    DrawState direct = s;
    direct.fillOperator = operatorFor(mode);
    drawContent(direct, obj, nesting);
  } else if (blended && s.groups < kMaxGroups)
    drawBlended(s, obj, mode, nesting);
  else
    drawContent(s, obj, nesting);
}

// An object masked by a script: drawn into a group that is shown through the mask's coverage.
void drawScriptMasked(const DrawState& s, const DisplayObject& obj, const DisplayObject& mask,
                      const Matrix& maskToDevice, int nesting) {
  if (s.groups >= kMaxGroups) return;  // as with timeline masks: too deep, not drawn
  cairo_t* cr = s.cr;
  auto box = intersect(objectBounds(obj, s.toDevice, s.pixelsPerStagePixel()),
                       objectBounds(mask, maskToDevice, s.pixelsPerStagePixel()));
  cairo_save(cr);
  cairo_identity_matrix(cr);
  if (clipToBox(cr, box)) {
    PatternPtr coverage = paintCoverage(s, mask, maskToDevice, nesting);
    cairo_push_group(cr);
    DrawState inner = s;
    ++inner.groups;
    drawPlaced(inner, obj, nesting);
    cairo_identity_matrix(cr);
    PatternPtr content(cairo_pop_group(cr));
    cairo_set_source(cr, content.get());
    cairo_mask(cr, coverage.get());
  }
  cairo_restore(cr);
}

void drawObject(const DrawState& parent, const DisplayObject& obj, int nesting) {
  if (!obj.visible || nesting > kMaxNesting) return;
  DrawState s = parent;
  s.toDevice = parent.toDevice * obj.matrix;
  if (!s.maskMode) s.cxform = parent.cxform * obj.cxform;
  if (s.scriptMasks && !s.maskMode && !s.scriptMasks->empty()) {
    if (s.scriptMasks->isMask(obj)) return;  // a mask shows only through what it masks
    Matrix maskToDevice;
    if (const DisplayObject* mask = s.scriptMasks->maskOf(obj, maskToDevice)) {
      drawScriptMasked(s, obj, *mask, maskToDevice, nesting);
      return;
    }
  }
  drawPlaced(s, obj, nesting);
}

}  // namespace

// A 256th of a pixel to the left.
constexpr double kSampleNudge = 1.0 / 256;

void renderFrame(cairo_t* cr, const DisplayObject& root, const RenderOptions& options) {
  cairo_save(cr);
  cairo_matrix_t base;
  cairo_get_matrix(cr, &base);
  Matrix toDevice =
      Matrix{base.xx, base.yx, base.xy, base.yy, base.x0, base.y0} * options.stageToDevice;
  // Cairo's rasteriser counts a sample lying exactly on an edge as inside on one side only, so
  // a diagonal through pixel corners came out a shade heavier on one side than the other. A
  // nudge far below what shows moves every edge off the sample rows.
  toDevice.tx -= kSampleNudge;
  RGBA bg = options.background;
  bg.a = 255;
  setSourceColor(cr, bg);
  cairo_paint(cr);
  cairo_set_antialias(cr, options.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  DrawState s;
  s.cr = cr;
  s.toDevice = toDevice;
  s.stageScale = std::sqrt(std::fabs(toDevice.a * toDevice.d - toDevice.b * toDevice.c));
  s.antialias = options.antialias;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_clip_extents(cr, &s.clipX0, &s.clipY0, &s.clipX1, &s.clipY1);
  cairo_restore(cr);
  DrawState rootState = s;
  rootState.toDevice = toDevice * root.matrix;
  ScriptMasks masks;
  masks.collect(root, rootState.toDevice);
  rootState.scriptMasks = &masks;
  rootState.cxform = root.cxform;
  paintOwnContent(rootState, root);
  drawChildren(rootState, root, 0);
  cairo_restore(cr);
}

void renderObject(cairo_t* cr, const DisplayObject& obj, const Matrix& toDevice,
                  const ColorTransform& cxform, bool antialias, const DisplayObject* maskRoot,
                  const Matrix& maskRootToDevice) {
  cairo_save(cr);
  cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  DrawState s;
  s.cr = cr;
  s.toDevice = toDevice;
  s.cxform = cxform;
  s.stageScale = std::sqrt(std::fabs(toDevice.a * toDevice.d - toDevice.b * toDevice.c));
  s.antialias = antialias;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_clip_extents(cr, &s.clipX0, &s.clipY0, &s.clipX1, &s.clipY1);
  cairo_restore(cr);
  ScriptMasks masks;
  if (maskRoot) masks.collect(*maskRoot, maskRootToDevice);
  s.scriptMasks = &masks;
  Matrix maskToDevice;
  if (masks.isMask(obj)) {
    // a mask shows only through what it masks
  } else if (const DisplayObject* mask = masks.maskOf(obj, maskToDevice)) {
    drawScriptMasked(s, obj, *mask, maskToDevice, 0);
  } else {
    drawContent(s, obj, 0);
  }
  cairo_restore(cr);
}

}  // namespace swf
