#include "painting.h"

#include <cmath>

#include "tools/common/cairo_paths.h"

namespace rvskin {
using rv::tools::roundedRect;
namespace {

constexpr double kPi = 3.14159265358979323846;

void setRgb(cairo_t* cr, Rgb c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void cutRect(cairo_t* cr, double x, double y, double w, double h, double c) {
  cairo_move_to(cr, x + c, y);
  cairo_line_to(cr, x + w - c, y);
  cairo_line_to(cr, x + w, y + c);
  cairo_line_to(cr, x + w, y + h - c);
  cairo_line_to(cr, x + w - c, y + h);
  cairo_line_to(cr, x + c, y + h);
  cairo_line_to(cr, x, y + h - c);
  cairo_line_to(cr, x, y + c);
  cairo_close_path(cr);
}

void outline(cairo_t* cr, const Layout& l, double inset, int width) {
  const double size = l.cornerSize - inset * 0.6;
  if (l.corners == Corners::Rounded)
    roundedRect(cr, inset, inset, width - 2 * inset, l.height - 2 * inset, size);
  else
    cutRect(cr, inset, inset, width - 2 * inset, l.height - 2 * inset, size);
}

// A panel set into the body: darker, shadowed at its top, lit at its bottom edge.
void recess(cairo_t* cr, Box b, double radius, Rgb fill) {
  roundedRect(cr, b.x - 0.5, b.y - 0.5, b.w + 1, b.h + 1, radius);
  setRgb(cr, {1, 1, 1}, 0.10);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  roundedRect(cr, b.x, b.y, b.w, b.h, radius);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, b.y, 0, b.y + b.h);
  cairo_pattern_add_color_stop_rgb(g, 0, fill.r * 0.7, fill.g * 0.7, fill.b * 0.7);
  cairo_pattern_add_color_stop_rgb(g, 1, fill.r, fill.g, fill.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  setRgb(cr, {0, 0, 0}, 0.55);
  cairo_stroke(cr);
}

enum class Icon { Play, Pause, Open, Folder, Minimise, Fullscreen, Close, ShowList, HideList };

void drawIcon(cairo_t* cr, Icon icon, double cx, double cy, double s) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  switch (icon) {
    case Icon::Play:
      cairo_move_to(cr, cx - s * 0.32, cy - s * 0.42);
      cairo_line_to(cr, cx + s * 0.45, cy);
      cairo_line_to(cr, cx - s * 0.32, cy + s * 0.42);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case Icon::Pause:
      cairo_rectangle(cr, cx - s * 0.36, cy - s * 0.38, s * 0.25, s * 0.76);
      cairo_rectangle(cr, cx + s * 0.11, cy - s * 0.38, s * 0.25, s * 0.76);
      cairo_fill(cr);
      break;
    case Icon::Open:  // an eject mark: a triangle over a bar
      cairo_move_to(cr, cx - s * 0.4, cy + s * 0.08);
      cairo_line_to(cr, cx, cy - s * 0.4);
      cairo_line_to(cr, cx + s * 0.4, cy + s * 0.08);
      cairo_close_path(cr);
      cairo_fill(cr);
      cairo_rectangle(cr, cx - s * 0.4, cy + s * 0.2, s * 0.8, s * 0.18);
      cairo_fill(cr);
      break;
    case Icon::Folder:
      cairo_move_to(cr, cx - s * 0.45, cy - s * 0.3);
      cairo_line_to(cr, cx - s * 0.12, cy - s * 0.3);
      cairo_line_to(cr, cx - s * 0.02, cy - s * 0.18);
      cairo_line_to(cr, cx + s * 0.45, cy - s * 0.18);
      cairo_line_to(cr, cx + s * 0.45, cy + s * 0.36);
      cairo_line_to(cr, cx - s * 0.45, cy + s * 0.36);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    case Icon::Minimise:
      cairo_set_line_width(cr, s * 0.16);
      cairo_move_to(cr, cx - s * 0.3, cy + s * 0.22);
      cairo_line_to(cr, cx + s * 0.3, cy + s * 0.22);
      cairo_stroke(cr);
      break;
    case Icon::Fullscreen: {
      cairo_set_line_width(cr, s * 0.13);
      const double a = s * 0.32, b = s * 0.14;
      for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
          cairo_move_to(cr, cx + sx * a, cy + sy * (a - b));
          cairo_line_to(cr, cx + sx * a, cy + sy * a);
          cairo_line_to(cr, cx + sx * (a - b), cy + sy * a);
          cairo_stroke(cr);
        }
      break;
    }
    case Icon::Close:
      cairo_set_line_width(cr, s * 0.16);
      cairo_move_to(cr, cx - s * 0.26, cy - s * 0.26);
      cairo_line_to(cr, cx + s * 0.26, cy + s * 0.26);
      cairo_move_to(cr, cx + s * 0.26, cy - s * 0.26);
      cairo_line_to(cr, cx - s * 0.26, cy + s * 0.26);
      cairo_stroke(cr);
      break;
    case Icon::ShowList:
    case Icon::HideList: {
      // Three list lines and a chevron pointing where the panel goes.
      cairo_set_line_width(cr, s * 0.1);
      for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, cx - s * 0.4, cy + i * s * 0.22);
        cairo_line_to(cr, cx + s * 0.05, cy + i * s * 0.22);
      }
      cairo_stroke(cr);
      const double dir = icon == Icon::ShowList ? 1 : -1;
      const double tip = cx + s * (icon == Icon::ShowList ? 0.45 : 0.17);
      cairo_move_to(cr, tip - dir * s * 0.2, cy - s * 0.22);
      cairo_line_to(cr, tip, cy);
      cairo_line_to(cr, tip - dir * s * 0.2, cy + s * 0.22);
      cairo_stroke(cr);
      break;
    }
  }
}

void button(cairo_t* cr, const Layout& l, Box b, Icon icon, bool lit, bool round) {
  const double cx = b.x + b.w / 2.0, cy = b.y + b.h / 2.0;
  const double r = round ? std::min(b.w, b.h) / 2.0 - 0.5 : 5;
  auto shape = [&] {
    if (round) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    } else {
      roundedRect(cr, b.x + 0.5, b.y + 0.5, b.w - 1, b.h - 1, r);
    }
  };
  // Face: a soft vertical gradient; lit faces take the accent colour.
  const Rgb top = lit ? mix({0.55, 0.60, 0.66}, l.accent, 0.55) : Rgb{0.42, 0.45, 0.50};
  const Rgb bottom = lit ? mix({0.18, 0.20, 0.24}, l.accent, 0.45) : Rgb{0.17, 0.18, 0.21};
  cairo_pattern_t* g = cairo_pattern_create_linear(0, b.y, 0, b.y + b.h);
  cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
  shape();
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 1);
  setRgb(cr, {0, 0, 0}, 0.7);
  cairo_stroke(cr);
  // A thin highlight along the upper edge.
  if (round) {
    cairo_arc(cr, cx, cy, r - 1, kPi * 1.1, kPi * 1.9);
  } else {
    cairo_move_to(cr, b.x + 3, b.y + 1.5);
    cairo_line_to(cr, b.x + b.w - 3, b.y + 1.5);
  }
  setRgb(cr, {1, 1, 1}, lit ? 0.55 : 0.28);
  cairo_stroke(cr);
  setRgb(cr, lit ? Rgb{1, 1, 1} : Rgb{0.86, 0.88, 0.91});
  drawIcon(cr, icon, cx, cy, std::min(b.w, b.h) * 0.62);
}

void volumeBars(cairo_t* cr, const Layout& l, int level) {
  const Box v = l.volume;
  const double gap = 2, barW = (v.w - 4 * gap) / 5.0;
  for (int i = 0; i < 5; ++i) {
    const double h = v.h * (0.36 + 0.16 * i);
    const double x = v.x + i * (barW + gap), y = v.y + v.h - h;
    roundedRect(cr, x, y, barW, h, 1.5);
    if (i < level) {
      cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
      const Rgb hi = mix(l.accent, {1, 1, 1}, 0.35);
      cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
      cairo_pattern_add_color_stop_rgb(g, 1, l.accent.r, l.accent.g, l.accent.b);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
    } else {
      setRgb(cr, {0.30, 0.32, 0.36});
      cairo_fill_preserve(cr);
      setRgb(cr, {0, 0, 0}, 0.5);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
    }
  }
}

void groove(cairo_t* cr, const Layout& l) {
  const Box t = l.track;
  const double y = t.y + t.h / 2.0 - 2.5;
  // From the knob's centre at its first place to its centre at its last.
  const double from = t.x + 8 + l.knobWidth / 2.0 - 3;
  const double to = t.x + t.w - 5 + l.knobWidth / 2.0 + 3;
  roundedRect(cr, from, y, to - from, 5, 2.5);
  setRgb(cr, {0.05, 0.06, 0.07});
  cairo_fill_preserve(cr);
  setRgb(cr, l.accent, 0.35);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void label(cairo_t* cr, const char* text, double x, double y, double size, Rgb c, double alpha) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  setRgb(cr, c, alpha);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text);
}

double textWidth(cairo_t* cr, const char* text, double size) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  return e.x_advance;
}

void body(cairo_t* cr, const Layout& l, int width) {
  outline(cr, l, 0.5, width);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, l.height);
  cairo_pattern_add_color_stop_rgb(g, 0, l.bodyTop.r, l.bodyTop.g, l.bodyTop.b);
  cairo_pattern_add_color_stop_rgb(g, 0.22, mix(l.bodyTop, l.bodyBottom, 0.45).r,
                                   mix(l.bodyTop, l.bodyBottom, 0.45).g,
                                   mix(l.bodyTop, l.bodyBottom, 0.45).b);
  cairo_pattern_add_color_stop_rgb(g, 1, l.bodyBottom.r, l.bodyBottom.g, l.bodyBottom.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  setRgb(cr, {0, 0, 0}, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  outline(cr, l, 1.5, width);
  setRgb(cr, {1, 1, 1}, 0.16);
  cairo_stroke(cr);
}

}  // namespace

cairo_surface_t* paintWindow(const Layout& l, const Look& look) {
  const int width = look.listShown ? l.listWidth : l.width;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, l.height);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  body(cr, l, width);

  // The movie sits in a deep black well.
  const Box m = l.movie;
  recess(cr, {m.x - 3, m.y - 3, m.w + 6, m.h + 6}, 4, {0.02, 0.02, 0.03});
  cairo_rectangle(cr, m.x, m.y, m.w, m.h);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);

  // The name display, with the program's name engraved above it where there is room.
  recess(cr, l.nameDisplay, 6, {0.06, 0.09, 0.12});
  if (l.nameDisplay.y >= 24) {
    const char* brand = "REELVISTA";
    const double w = textWidth(cr, brand, 9);
    label(cr, brand, (l.width - w) / 2, 20, 9, {1, 1, 1}, 0.35);
  }

  button(cr, l, l.open, Icon::Open, look.lit, false);
  button(cr, l, l.opendir, Icon::Folder, look.lit, false);
  volumeBars(cr, l, look.volumeLevel);
  button(cr, l, l.minimise, Icon::Minimise, look.lit, true);
  button(cr, l, l.fullscreen, Icon::Fullscreen, look.lit, true);
  button(cr, l, l.close, Icon::Close, look.lit, true);

  recess(cr, l.readoutPanel, 5, {0.08, 0.10, 0.12});
  groove(cr, l);
  button(cr, l, l.play, Icon::Play, look.lit, true);
  button(cr, l, l.pause, Icon::Pause, look.lit, true);
  button(cr, l, l.listButton, look.listShown ? Icon::HideList : Icon::ShowList, false, false);

  if (look.listShown) {
    const int x0 = l.width - 4;
    cairo_move_to(cr, x0 + 0.5, 10);
    cairo_line_to(cr, x0 + 0.5, l.height - 10);
    setRgb(cr, {0, 0, 0}, 0.6);
    cairo_stroke(cr);
    cairo_move_to(cr, x0 + 1.5, 10);
    cairo_line_to(cr, x0 + 1.5, l.height - 10);
    setRgb(cr, {1, 1, 1}, 0.12);
    cairo_stroke(cr);
    const Box list = l.list, pre = l.preview;
    const char* heading = "PLAYLIST";
    const double hw = textWidth(cr, heading, 10);
    label(cr, heading, list.x + (list.w - hw) / 2, list.y - 10, 10, l.accent, 0.9);
    recess(cr, {list.x - 2, list.y - 2, list.w + 4, list.h + 4}, 3, {0.9, 0.9, 0.9});
    recess(cr, {pre.x - 2, pre.y - 2, pre.w + 4, pre.h + 4}, 3, {0.02, 0.02, 0.03});
    cairo_rectangle(cr, pre.x, pre.y, pre.w, pre.h);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
  }

  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}

cairo_surface_t* paintMask(const Layout& l, bool listShown) {
  const int width = listShown ? l.listWidth : l.width;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, l.height);
  cairo_t* cr = cairo_create(s);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  outline(cr, l, 0, width);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}

cairo_surface_t* paintKnob(const Layout& l) {
  // The knob is cut from a window with the knob drawn over the middle of its track, so it
  // carries the groove beneath it and fits anywhere along it.
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.knobWidth, l.knobHeight);
  cairo_surface_t* window = paintWindow(l, {});
  const int x = l.track.x + l.track.w / 2, y = l.track.y + (l.track.h - l.knobHeight) / 2;
  cairo_t* cr = cairo_create(s);
  cairo_set_source_surface(cr, window, -x, -y);
  cairo_paint(cr);
  const double w = l.knobWidth, h = l.knobHeight;
  roundedRect(cr, 1.5, 1.5, w - 3, h - 3, 3);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
  const Rgb hi = mix(l.accent, {1, 1, 1}, 0.55);
  cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(g, 1, l.accent.r * 0.6, l.accent.g * 0.6, l.accent.b * 0.6);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  setRgb(cr, {0, 0, 0}, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, w / 2, 5);
  cairo_line_to(cr, w / 2, h - 5);
  setRgb(cr, {1, 1, 1}, 0.6);
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(window);
  cairo_surface_flush(s);
  return s;
}

}  // namespace rvskin
