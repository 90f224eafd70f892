// Our own blending of groups must match what Cairo's compositing gives for the same modes,
// wherever the group and its target sit in device space.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "swf/render/blend_composite.h"

namespace {

using swf::PixelBlend;

struct Surface {
  cairo_surface_t* s;
  explicit Surface(int w, int h) : s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)) {}
  ~Surface() { cairo_surface_destroy(s); }
  uint32_t* row(int y) {
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) +
                                       y * cairo_image_surface_get_stride(s));
  }
};

// Random premultiplied pixels, with fully clear and fully opaque ones among them.
void fillRandom(Surface& surf, unsigned seed) {
  std::mt19937 rng(seed);
  cairo_surface_flush(surf.s);
  int w = cairo_image_surface_get_width(surf.s), h = cairo_image_surface_get_height(surf.s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t a = rng() % 4 == 0 ? 0 : rng() % 3 == 0 ? 255 : rng() % 256;
      auto c = [&] { return a ? rng() % (a + 1) : 0; };
      surf.row(y)[x] = a << 24 | c() << 16 | c() << 8 | c();
    }
  cairo_surface_mark_dirty(surf.s);
}

cairo_operator_t cairoOperator(PixelBlend m) {
  switch (m) {
    case PixelBlend::Multiply:
      return CAIRO_OPERATOR_MULTIPLY;
    case PixelBlend::Screen:
      return CAIRO_OPERATOR_SCREEN;
    case PixelBlend::Lighten:
      return CAIRO_OPERATOR_LIGHTEN;
    case PixelBlend::Darken:
      return CAIRO_OPERATOR_DARKEN;
    case PixelBlend::Difference:
      return CAIRO_OPERATOR_DIFFERENCE;
    case PixelBlend::Overlay:
      return CAIRO_OPERATOR_OVERLAY;
    case PixelBlend::HardLight:
      return CAIRO_OPERATOR_HARD_LIGHT;
    case PixelBlend::Invert:
      break;
  }
  return CAIRO_OPERATOR_DIFFERENCE;
}

// Draws a random group over a random target, under an offset clip and optionally inside an
// enclosing group, either through Cairo or through our blending; returns the final picture.
Surface* drawScene(PixelBlend mode, bool ours, bool nested) {
  auto* out = new Surface(61, 47);
  fillRandom(*out, 1);
  cairo_t* cr = cairo_create(out->s);
  if (nested) {
    cairo_rectangle(cr, 3, 5, 50, 40);
    cairo_clip(cr);
    cairo_push_group(cr);
    cairo_set_source_surface(cr, out->s, 0, 0);  // the group starts as a copy of the target
    cairo_paint(cr);
  }
  cairo_save(cr);
  cairo_rectangle(cr, 7, 9, 37, 29);
  cairo_clip(cr);
  cairo_push_group(cr);
  Surface content(61, 47);
  fillRandom(content, 2 + int(mode));
  cairo_set_source_surface(cr, content.s, 0, 0);
  cairo_paint(cr);
  cairo_pattern_t* group = cairo_pop_group(cr);
  if (ours) {
    EXPECT_TRUE(swf::compositeBlendGroup(cr, group, mode));
  } else if (mode == PixelBlend::Invert) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_mask(cr, group);
  } else {
    cairo_set_source(cr, group);
    cairo_set_operator(cr, cairoOperator(mode));
    cairo_paint(cr);
  }
  cairo_pattern_destroy(group);
  cairo_restore(cr);
  if (nested) {
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(out->s);
  return out;
}

int worstChannelDifference(Surface& a, Surface& b) {
  int worst = 0;
  for (int y = 0; y < 47; ++y)
    for (int x = 0; x < 61; ++x)
      for (int shift = 0; shift < 32; shift += 8)
        worst = std::max(
            worst, std::abs(int(a.row(y)[x] >> shift & 255) - int(b.row(y)[x] >> shift & 255)));
  return worst;
}

TEST(DrawBlendPixels, MatchesCairoForEveryModeAtTopLevelAndInsideAGroup) {
  for (PixelBlend mode :
       {PixelBlend::Multiply, PixelBlend::Screen, PixelBlend::Lighten, PixelBlend::Darken,
        PixelBlend::Difference, PixelBlend::Overlay, PixelBlend::HardLight, PixelBlend::Invert})
    for (bool nested : {false, true}) {
      std::unique_ptr<Surface> ours(drawScene(mode, true, nested));
      std::unique_ptr<Surface> cairos(drawScene(mode, false, nested));
      EXPECT_LE(worstChannelDifference(*ours, *cairos), 2)
          << "mode " << int(mode) << (nested ? " nested" : "");
    }
}

TEST(DrawBlendPixels, LeavesAClipItCannotFollowToCairo) {
  Surface target(20, 20);
  cairo_t* cr = cairo_create(target.s);
  cairo_arc(cr, 10, 10, 6, 0, 7);
  cairo_clip(cr);
  cairo_push_group(cr);
  cairo_paint(cr);
  cairo_pattern_t* group = cairo_pop_group(cr);
  EXPECT_FALSE(swf::compositeBlendGroup(cr, group, PixelBlend::Multiply));
  cairo_pattern_destroy(group);
  cairo_destroy(cr);
}

}  // namespace
