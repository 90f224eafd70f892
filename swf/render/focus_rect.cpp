#include "swf/render/focus_rect.h"

#include <algorithm>
#include <cmath>

#include "swf/render/cairo_util.h"

namespace swf {

namespace {

// The original player's antialiasing samples 17 columns and 15 rows in each pixel, so the edges
// of its frame cover a pixel in those steps; ours are put on the same steps.
double onSamples(double v, double steps) {
  double whole = std::floor(v);
  return whole + std::round((v - whole) * steps) / steps;
}

}  // namespace

void drawFocusFrame(cairo_t* cr, const Box& box) {
  Box d{onSamples(box.x0, 17), onSamples(box.y0, 15), onSamples(box.x1, 17), onSamples(box.y1, 15)};
  double w = d.x1 - d.x0, h = d.y1 - d.y0;
  if (!(w > 0 && h > 0) || !std::isfinite(w) || !std::isfinite(h)) return;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cr, d.x0, d.y0, w, h);
  // A frame wider than half the box fills it.
  double inset = std::min({kFocusFrameWidth, w / 2, h / 2});
  if (inset < w / 2 && inset < h / 2)
    cairo_rectangle(cr, d.x0 + inset, d.y0 + inset, w - 2 * inset, h - 2 * inset);
  setSourceColor(cr, RGBA{255, 255, 0, 255});
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace swf
