#include "swf/render/text_painter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "swf/render/cairo_util.h"
#include "swf/render/shape_painter.h"
#include "swf/render/text_fonts.h"
#include "swf/text/field_text.h"
#include "swf/text/text_content.h"
#include "swf/text/text_layout.h"

namespace swf {

namespace {

// The text field's inner margin, in twips (2 pixels).
constexpr double kGutter = 40;

// Underlines, relative to the size of their text, and at least a pixel thick.
constexpr double kUnderlineOffset = 0.1, kUnderlineThickness = 0.06, kMinUnderline = 20;

void drawUnderlines(const DrawState& s, const LaidLine& line) {
  size_t i = 0;
  while (i < line.visible) {
    const CharFormat* f = line.chars[i].format;
    size_t j = i + 1;
    while (j < line.visible && *line.chars[j].format == *f) ++j;
    if (f->underline && f->size > 0) {
      double x0 = line.chars[i].x;
      double x1 = line.chars[j - 1].x + line.chars[j - 1].advance;
      double thickness = std::max(kMinUnderline, f->size * kUnderlineThickness);
      RGBA c = s.maskMode ? RGBA{0, 0, 0, 255} : s.cxform.apply(f->color);
      if (c.a > 0 && x1 > x0 && setMatrix(s.cr, s.toDevice)) {
        setSourceColor(s.cr, c);
        cairo_rectangle(s.cr, x0, line.baseline + f->size * kUnderlineOffset, x1 - x0, thickness);
        cairo_fill(s.cr);
      }
    }
    i = j;
  }
}

// A field that is neither rotated nor skewed has its box on whole device pixels: its origin
// rounds to the nearest pixel and its size to whole pixels, the background fills the pixels
// inside and the border is a one-pixel line on the pixels the edges fall in, its right and
// bottom side just outside the background.
struct PixelBox {
  double x0, y0, x1, y1;
};

std::optional<PixelBox> pixelBox(const Matrix& m, const Rect& b) {
  if (m.b != 0 || m.c != 0) return std::nullopt;
  double xa = std::floor(m.a * b.xMin + m.tx + 0.5), ya = std::floor(m.d * b.yMin + m.ty + 0.5);
  double xb = xa + std::round(m.a * b.width()), yb = ya + std::round(m.d * b.height());
  return PixelBox{std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb)};
}

void fillBackground(cairo_t* cr, const Matrix& toDevice, const Rect& b) {
  if (auto p = pixelBox(toDevice, b)) {
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, p->x0, p->y0, p->x1 - p->x0, p->y1 - p->y0);
  } else {
    cairo_rectangle(cr, b.xMin, b.yMin, b.width(), b.height());
  }
  cairo_fill(cr);
  setMatrix(cr, toDevice);
}

void strokeBorder(cairo_t* cr, const Matrix& toDevice, const Rect& b) {
  if (auto p = pixelBox(toDevice, b)) {
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, p->x0 + 0.5, p->y0 + 0.5, p->x1 - p->x0, p->y1 - p->y0);
  } else {
    cairo_rectangle(cr, b.xMin, b.yMin, b.width(), b.height());
    cairo_identity_matrix(cr);
  }
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  setMatrix(cr, toDevice);
}

// Drops the lines above `first` and moves the rest up to the top of the text area; lines that
// do not end above `bottom` go (the first shown always stays).
void scrollLines(std::vector<LaidLine>& lines, int first, double top, double bottom) {
  first = std::min<int>(first, int(lines.size()) - 1);
  if (first <= 0) return;
  double shift = lines[size_t(first)].baseline - lines[size_t(first)].ascent - top;
  lines.erase(lines.begin(), lines.begin() + first);
  for (LaidLine& l : lines) l.baseline -= shift;
  size_t keep = 1;
  while (keep < lines.size() && lines[keep].baseline + lines[keep].descent <= bottom) ++keep;
  lines.resize(keep);
}

// The selection as a translucent band and the caret as a one-pixel line. Characters count through
// the lines in order, one more for each paragraph's end.
void drawCaretAndSelection(const DrawState& s, const std::vector<LaidLine>& lines,
                           const TextFieldContent& field) {
  int caret = field.caret(), b = field.selectionBegin(), e = field.selectionEnd();
  cairo_t* cr = s.cr;
  if (!setMatrix(cr, s.toDevice)) return;
  setSourceColor(cr, s.cxform.apply(RGBA{0, 0, 0, 255}));
  int index = 0;
  for (const LaidLine& line : lines) {
    double top = line.baseline - line.ascent, height = line.ascent + line.descent;
    double lineEnd = line.chars.empty() ? 0 : line.chars.back().x + line.chars.back().advance;
    double x0 = line.chars.empty() ? 0 : line.chars.front().x;
    auto xAt = [&](int i) {
      int k = i - index;
      if (k <= 0) return x0;
      if (size_t(k) >= line.chars.size()) return line.chars.empty() ? x0 : lineEnd;
      return line.chars[size_t(k)].x;
    };
    int count = int(line.chars.size());
    if (e > b && b <= index + count && e > index) {
      double xa = xAt(std::max(b, index)), xb = xAt(std::min(e, index + count));
      setSourceColor(cr, s.cxform.apply(RGBA{51, 120, 255, 96}));
      cairo_rectangle(cr, xa, top, std::max(xb - xa, 20.0), height);
      cairo_fill(cr);
      setSourceColor(cr, s.cxform.apply(RGBA{0, 0, 0, 255}));
    }
    if (caret >= index && caret <= index + count) {
      double x = xAt(caret);
      cairo_rectangle(cr, x, top, 20, height);
      cairo_fill(cr);
      caret = -2;  // drawn
    }
    index += count;
    // A line that ends its paragraph takes the paragraph's break as one more character.
    if (line.chars.empty() || line.visible == line.chars.size()) ++index;
  }
}

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
          selectDesktopFont(s.cr, run.font->name, run.font->bold, run.font->italic, run.height,
                            s.antialias);
          setSourceColor(s.cr, c);
          cairo_move_to(s.cr, x, run.y);
          cairo_show_text(s.cr, encodeUtf8(std::u32string(1, char32_t(glyph.code))).c_str());
        }
      }
      x += g.advance;
    }
  }
}

void paintEditText(const DrawState& s, const EditTextCharacter& fileField,
                   const DisplayObject& obj) {
  auto* dynamicText = dynamic_cast<const TextFieldContent*>(&obj);
  const EditTextCharacter& field =
      dynamicText && dynamicText->definition() ? *dynamicText->definition() : fileField;
  cairo_t* cr = s.cr;
  // Fields drawn with the desktop's fonts are not mirrored, and draw opaque whatever alpha their
  // colour transform gives.
  if (!field.useOutlines && (s.toDevice.a < 0 || s.toDevice.d < 0)) return;
  DrawState opaque = s;
  if (!field.useOutlines) {
    opaque.cxform.am = 1;
    opaque.cxform.aa = 0;
  }
  const DrawState& ds = opaque;
  if (!setMatrix(cr, s.toDevice)) return;
  const Rect& b = field.bounds;
  cairo_save(cr);
  if (field.background && !s.maskMode) {
    setSourceColor(cr, ds.cxform.apply(field.backgroundColor));
    fillBackground(cr, s.toDevice, b);
  }
  if (field.border && !s.maskMode) {
    setSourceColor(cr, ds.cxform.apply(field.borderColor));
    strokeBorder(cr, s.toDevice, b);
  }
  cairo_rectangle(cr, b.xMin, b.yMin, b.width(), b.height());
  cairo_clip(cr);

  StyledText fromFile;
  if (!dynamicText) fromFile = fieldStyledText(field, field.initialText);
  const StyledText& text = dynamicText ? dynamicText->shownText() : fromFile;
  LayoutBox box;
  box.left = b.xMin + kGutter;
  box.top = b.yMin + kGutter;
  box.width = b.width() - 2 * kGutter;
  box.bottom = b.yMax - kGutter;
  box.wordWrap = field.wordWrap;
  FieldFonts fonts(ds, field);
  int first = dynamicText ? dynamicText->firstLine() : 0;
  if (first > 0) box.bottom = std::numeric_limits<double>::infinity();
  std::vector<LaidLine> lines = layoutText(text, box, fonts);
  if (first > 0) scrollLines(lines, first, box.top, b.yMax - kGutter);
  if (dynamicText && dynamicText->caret() >= 0 && !s.maskMode)
    drawCaretAndSelection(ds, lines, *dynamicText);
  for (const LaidLine& line : lines) {
    if (line.bullet) {
      PlacedChar bullet{kBullet, line.bulletX, 0, line.bullet};
      fonts.draw(ds, *line.bullet, {&bullet, 1}, line.baseline);
    }
    for (size_t i = 0; i < line.chars.size();) {
      size_t j = i + 1;
      while (j < line.chars.size() && line.chars[j].format == line.chars[i].format) ++j;
      fonts.draw(ds, *line.chars[i].format, std::span(line.chars).subspan(i, j - i), line.baseline);
      i = j;
    }
    drawUnderlines(ds, line);
  }
  cairo_restore(cr);
}

}  // namespace swf
