#include "swf/render/text_painter.h"

#include <cairo-ft.h>

#include <string>

#include "swf/render/cairo_util.h"
#include "swf/render/shape_painter.h"
#include "swf/text/text_content.h"

namespace swf {

namespace {

// The text field's inner margin, in twips (2 pixels).
constexpr double kGutter = 40;

std::string desktopFamily(const std::string& name) {
  if (name.empty() || name == "_sans") return "sans-serif";
  if (name == "_serif") return "serif";
  if (name == "_typewriter") return "monospace";
  return name;
}

std::string utf8(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) {
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xc0 | (c >> 6));
      out += char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
      out += char(0xe0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3f));
      out += char(0x80 | (c & 0x3f));
    } else {
      out += char(0xf0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3f));
      out += char(0x80 | ((c >> 6) & 0x3f));
      out += char(0x80 | (c & 0x3f));
    }
  }
  return out;
}

// Makes the desktop font standing in for `font` (or the default sans) current, `size` twips to
// the em in the current user space.
void selectDesktopFont(const DrawState& s, const FontCharacter* font, double size) {
  cairo_t* cr = s.cr;
  bool bold = font && font->bold, italic = font && font->italic;
  cairo_select_font_face(cr, desktopFamily(font ? font->name : "").c_str(),
                         italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_font_options_t* opts = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(opts, s.antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cr, opts);
  cairo_font_options_destroy(opts);
  cairo_set_font_size(cr, size);
}

// How a line of a text field is measured and drawn: with embedded glyphs or a desktop font.
class FieldFont {
 public:
  FieldFont(const DrawState& s, const EditTextCharacter& f) : s_(s), field_(f) {
    embedded_ = f.font && !f.font->glyphs.empty() && f.useOutlines;
    if (embedded_) {
      scale_ = f.fontHeight / f.font->emSize;
      ascent_ = f.font->hasLayout ? f.font->ascent * scale_ : f.fontHeight * 0.8;
      descent_ = f.font->hasLayout ? f.font->descent * scale_ : f.fontHeight * 0.2;
      return;
    }
    selectDesktopFont(s, f.font.get(), f.fontHeight);
    cairo_font_extents_t fe;
    cairo_font_extents(s.cr, &fe);
    ascent_ = fe.ascent;
    descent_ = fe.descent;
  }

  double ascent() const { return ascent_; }
  double descent() const { return descent_; }

  double width(const std::u32string& text) const {
    if (embedded_) {
      double w = 0;
      for (char32_t c : text) w += advance(c);
      return w;
    }
    cairo_text_extents_t te;
    cairo_text_extents(s_.cr, utf8(text).c_str(), &te);
    return te.x_advance;
  }

  // Draws a line with its baseline starting at (x, y) in the field's twips.
  void draw(const DrawState& s, const std::u32string& text, double x, double y, RGBA color) const {
    if (embedded_) {
      for (char32_t c : text) {
        int g = field_.font->glyphFor(c);
        if (g >= 0) {
          DrawState gs = s;
          gs.toDevice = s.toDevice * Matrix{scale_, 0, 0, scale_, x, y};
          paintShape(gs, field_.font->glyphs[size_t(g)].shape, color);
        }
        x += advance(c);
      }
      return;
    }
    if (!setMatrix(s.cr, s.toDevice)) return;
    RGBA c = s.maskMode ? RGBA{0, 0, 0, 255} : s.cxform.apply(color);
    if (c.a == 0) return;
    setSourceColor(s.cr, c);
    cairo_move_to(s.cr, x, y);
    cairo_show_text(s.cr, utf8(text).c_str());
  }

 private:
  double advance(char32_t c) const {
    int g = field_.font->glyphFor(c);
    if (g < 0) return 0;
    const Glyph& glyph = field_.font->glyphs[size_t(g)];
    if (field_.font->hasLayout) return glyph.advance * scale_;
    return (glyph.bounds.xMax > 0 ? glyph.bounds.xMax : field_.font->emSize / 2) * scale_;
  }

  const DrawState& s_;
  const EditTextCharacter& field_;
  bool embedded_ = false;
  double scale_ = 1, ascent_ = 0, descent_ = 0;
};

}  // namespace

void paintText(const DrawState& s, const TextCharacter& text) {
  Matrix base = s.toDevice * text.matrix;
  for (const TextRun& run : text.runs) {
    if (!run.font || run.font->emSize <= 0) continue;
    double scale = run.height / run.font->emSize;
    double x = run.x;
    for (const GlyphEntry& g : run.glyphs) {
      if (g.index < run.font->glyphs.size()) {
        const Glyph& glyph = run.font->glyphs[g.index];
        if (!glyph.shape.layers.empty()) {
          DrawState gs = s;
          gs.toDevice = base * Matrix{scale, 0, 0, scale, x, run.y};
          paintShape(gs, glyph.shape, run.color);
        } else if (glyph.code > ' ' && setMatrix(s.cr, base)) {
          // A font without outlines names a desktop font: its codes are drawn with that.
          RGBA c = s.maskMode ? RGBA{0, 0, 0, 255} : s.cxform.apply(run.color);
          selectDesktopFont(s, run.font.get(), run.height);
          setSourceColor(s.cr, c);
          cairo_move_to(s.cr, x, run.y);
          cairo_show_text(s.cr, utf8(std::u32string(1, char32_t(glyph.code))).c_str());
        }
      }
      x += g.advance;
    }
  }
}

void paintEditText(const DrawState& s, const EditTextCharacter& field, const DisplayObject& obj) {
  cairo_t* cr = s.cr;
  if (!setMatrix(cr, s.toDevice)) return;
  const Rect& b = field.bounds;
  cairo_save(cr);
  if (field.border && !s.maskMode) {
    setSourceColor(cr, s.cxform.apply(RGBA{255, 255, 255, 255}));
    cairo_rectangle(cr, b.xMin, b.yMin, b.width(), b.height());
    cairo_fill(cr);
    setSourceColor(cr, s.cxform.apply(RGBA{0, 0, 0, 255}));
    cairo_rectangle(cr, b.xMin, b.yMin, b.width(), b.height());
    cairo_identity_matrix(cr);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    setMatrix(cr, s.toDevice);
  }
  cairo_rectangle(cr, b.xMin, b.yMin, b.width(), b.height());
  cairo_clip(cr);

  auto* dynamicText = dynamic_cast<const TextFieldContent*>(&obj);
  std::string bytes = dynamicText ? dynamicText->currentText() : field.initialText;
  if (field.html) bytes = htmlToPlainText(bytes);
  std::u32string text = decodeText(bytes, field.swfVersion);
  if (field.password) text.assign(text.size(), U'*');

  FieldFont font(s, field);
  double inner = b.width() - 2 * kGutter - field.leftMargin - field.rightMargin;
  auto lines = layoutLines(text, field.multiline, field.wordWrap ? inner : 0,
                           [&font](const std::u32string& t) { return font.width(t); });
  double y = b.yMin + kGutter + font.ascent();
  double lineHeight = font.ascent() + font.descent() + field.leading;
  for (size_t i = 0; i < lines.size(); ++i) {
    double indent = i == 0 ? field.indent : 0;
    double left = b.xMin + kGutter + field.leftMargin + indent;
    double w = font.width(lines[i]);
    double room = inner - indent;
    double x = left;
    if (field.align == TextAlign::Right) x = left + room - w;
    if (field.align == TextAlign::Center) x = left + (room - w) / 2;
    font.draw(s, lines[i], x, y, field.color);
    y += lineHeight;
    if (y - font.ascent() > b.yMax) break;
  }
  cairo_restore(cr);
}

}  // namespace swf
