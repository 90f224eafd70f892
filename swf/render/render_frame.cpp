#include "swf/render/render_frame.h"

#include <cmath>

#include "swf/render/bounds.h"
#include "swf/render/cairo_util.h"
#include "swf/render/character_painter.h"

namespace swf {

namespace {

// Deeper nesting than this is not drawn: it keeps a hostile movie from exhausting the stack.
constexpr int kMaxNesting = 128;

using ChildIter = std::map<int, std::unique_ptr<DisplayObject>>::const_iterator;

void drawObject(const DrawState& parent, const DisplayObject& obj, int nesting);

void drawMasked(const DrawState& s, const DisplayObject& mask, ChildIter first, ChildIter last,
                int nesting);

// Draws children in depth order; a mask takes the children up to its clip depth with it.
void drawRange(const DrawState& s, ChildIter it, ChildIter end, int nesting) {
  while (it != end) {
    const DisplayObject& obj = *it->second;
    ++it;
    if (obj.clipDepth > 0) {
      ChildIter last = it;
      while (last != end && last->first <= obj.clipDepth) ++last;
      drawMasked(s, obj, it, last, nesting);
      it = last;
    } else {
      drawObject(s, obj, nesting);
    }
  }
}

void drawObject(const DrawState& parent, const DisplayObject& obj, int nesting) {
  if (!obj.visible || nesting > kMaxNesting) return;
  DrawState s = parent;
  s.toDevice = parent.toDevice * obj.matrix;
  if (!s.maskMode) s.cxform = parent.cxform * obj.cxform;
  if (obj.character) paintCharacter(s, obj);
  if (!obj.children.empty()) drawRange(s, obj.children.begin(), obj.children.end(), nesting + 1);
}

void drawMasked(const DrawState& s, const DisplayObject& mask, ChildIter first, ChildIter last,
                int nesting) {
  if (first == last) return;  // a mask with nothing under it draws nothing
  cairo_t* cr = s.cr;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  // Both groups only need to cover the mask.
  if (auto box = objectBounds(mask, s.toDevice * mask.matrix)) {
    double x0 = std::floor(box->x0) - 1, y0 = std::floor(box->y0) - 1;
    double x1 = std::ceil(box->x1) + 1, y1 = std::ceil(box->y1) + 1;
    if (!(x1 > x0 && y1 > y0)) {
      cairo_restore(cr);
      return;
    }
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_clip(cr);
  }
  cairo_push_group(cr);
  drawRange(s, first, last, nesting);
  cairo_identity_matrix(cr);
  PatternPtr content(cairo_pop_group(cr));
  cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
  // The mask draws whether or not it is visible itself: only its coverage is used.
  DrawState ms = s;
  ms.maskMode = true;
  ms.toDevice = s.toDevice * mask.matrix;
  if (mask.character) paintCharacter(ms, mask);
  if (!mask.children.empty())
    drawRange(ms, mask.children.begin(), mask.children.end(), nesting + 1);
  cairo_identity_matrix(cr);
  PatternPtr coverage(cairo_pop_group(cr));
  cairo_set_source(cr, content.get());
  cairo_mask(cr, coverage.get());
  cairo_restore(cr);
}

}  // namespace

void renderFrame(cairo_t* cr, const DisplayObject& root, const RenderOptions& options) {
  cairo_save(cr);
  cairo_matrix_t base;
  cairo_get_matrix(cr, &base);
  Matrix toDevice =
      Matrix{base.xx, base.yx, base.xy, base.yy, base.x0, base.y0} * options.stageToDevice;
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
  DrawState rootState = s;
  rootState.toDevice = toDevice * root.matrix;
  rootState.cxform = root.cxform;
  if (root.character) paintCharacter(rootState, root);
  drawRange(rootState, root.children.begin(), root.children.end(), 0);
  cairo_restore(cr);
}

}  // namespace swf
