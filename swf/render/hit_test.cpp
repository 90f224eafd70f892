// Whether a point in a character's own twips falls on what the character draws.
#include <cairo.h>

#include "swf/bitmaps/bitmap.h"
#include "swf/movie/character.h"
#include "swf/shapes/morph_shape.h"
#include "swf/shapes/script_drawing.h"
#include "swf/shapes/shape.h"
#include "swf/text/edit_text.h"
#include "swf/text/text.h"
#include "swf/video/video_character.h"

namespace swf {

namespace {

cairo_t* scratch() {
  static cairo_t* cr = [] {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* c = cairo_create(s);
    cairo_surface_destroy(s);
    return c;
  }();
  return cr;
}

bool inRect(const Rect& r, double x, double y) {
  return x >= r.xMin && x <= r.xMax && y >= r.yMin && y <= r.yMax;
}

// Whether the flattened current path encloses (x, y), by crossings to the left of the point.
// Edges are half open, as in the original player: a point on a left or top edge (a fill's
// top-left corner) is outside, one on a right or bottom edge inside.
bool pathEncloses(cairo_t* cr, double x, double y, bool nonZero) {
  cairo_path_t* path = cairo_copy_path_flat(cr);
  int winding = 0;
  double sx = 0, sy = 0, px = 0, py = 0;
  auto edge = [&](double x0, double y0, double x1, double y1) {
    if ((y0 <= y) == (y1 <= y)) return;
    double xc = x0 + (y - y0) * (x1 - x0) / (y1 - y0);
    if (xc < x) winding += y1 > y0 ? 1 : -1;
  };
  for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
    const cairo_path_data_t* p = &path->data[i];
    switch (p->header.type) {
      case CAIRO_PATH_MOVE_TO:
        edge(px, py, sx, sy);
        sx = px = p[1].point.x;
        sy = py = p[1].point.y;
        break;
      case CAIRO_PATH_LINE_TO:
        edge(px, py, p[1].point.x, p[1].point.y);
        px = p[1].point.x;
        py = p[1].point.y;
        break;
      case CAIRO_PATH_CLOSE_PATH:
        edge(px, py, sx, sy);
        px = sx;
        py = sy;
        break;
      default:
        break;
    }
  }
  edge(px, py, sx, sy);
  cairo_path_destroy(path);
  return nonZero ? winding != 0 : (winding & 1) != 0;
}

bool hitShape(const ShapeDrawing& d, double x, double y) {
  cairo_t* cr = scratch();
  cairo_identity_matrix(cr);
  cairo_set_fill_rule(cr, d.nonZeroWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  for (const DrawLayer& layer : d.layers) {
    for (const DrawLayer::Fill& f : layer.fills) {
      cairo_new_path(cr);
      f.path.emit(cr);
      if (pathEncloses(cr, x, y, d.nonZeroWinding)) return true;
    }
    for (const DrawLayer::Stroke& st : layer.strokes) {
      cairo_new_path(cr);
      st.path.emit(cr);
      cairo_set_line_width(cr, std::max(layer.styles.lines[st.style].width, 20.0));
      if (cairo_in_stroke(cr, x, y)) return true;
    }
  }
  cairo_new_path(cr);
  return false;
}

}  // namespace

bool hitTestDrawing(const ShapeDrawing& d, double x, double y) { return hitShape(d, x, y); }

bool hitTestCharacter(const Character& c, double x, double y, int ratio) {
  switch (c.kind()) {
    case CharacterKind::Shape: {
      auto& shape = static_cast<const ShapeCharacter&>(c);
      return inRect(shape.bounds, x, y) && hitShape(shape.drawing, x, y);
    }
    case CharacterKind::MorphShape:
      return hitShape(static_cast<const MorphShapeCharacter&>(c).drawingAt(ratio), x, y);
    case CharacterKind::Text:
      return inRect(static_cast<const TextCharacter&>(c).bounds, x, y);
    case CharacterKind::EditText:
      return inRect(static_cast<const EditTextCharacter&>(c).bounds, x, y);
    case CharacterKind::Bitmap: {
      auto& b = static_cast<const BitmapCharacter&>(c);
      return inRect(Rect{0, b.width() * 20, 0, b.height() * 20}, x, y);
    }
    case CharacterKind::Other:
      if (auto* v = dynamic_cast<const VideoCharacter*>(&c))
        return inRect(Rect{0, v->width * 20, 0, v->height * 20}, x, y);
      return false;
    default:
      return false;
  }
}

}  // namespace swf
