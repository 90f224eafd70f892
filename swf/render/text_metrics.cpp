#include "swf/render/text_metrics.h"

#include <algorithm>
#include <limits>

#include "swf/render/text_fonts.h"
#include "swf/text/field_text.h"
#include "swf/text/text_layout.h"

namespace swf {

FieldMetrics measureField(const EditTextCharacter& field, const StyledText& text) {
  FieldMetrics m;
  // Fonts are measured in field twips; the surface only lends fontconfig a context.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  DrawState s;
  s.cr = cr;
  {
    FieldFonts fonts(s, field);
    LayoutBox box;
    box.left = 0;
    box.top = 0;
    box.width = field.bounds.width() - 2 * kFieldGutter;
    box.wordWrap = field.wordWrap;
    box.bottom = std::numeric_limits<double>::infinity();
    std::vector<LaidLine> lines = layoutText(text, box, fonts);
    double visibleHeight = field.bounds.height() - 2 * kFieldGutter;
    for (const LaidLine& l : lines) {
      double right = l.visible ? l.chars[l.visible - 1].x + l.chars[l.visible - 1].advance : 0;
      double left = l.visible ? l.chars.front().x : 0;
      m.textWidth = std::max(m.textWidth, right - std::min(left, 0.0));
      m.lineBottoms.push_back(l.baseline + l.descent);
    }
    m.lines = int(lines.size());
    // A field without text has no text height, though its empty line still counts for
    // scrolling: autoSize shrinks it to its gutters.
    bool empty = text.plainText().empty();
    m.textHeight = m.lineBottoms.empty() || empty ? 0 : m.lineBottoms.back();
    m.linesShown = 0;
    for (double b : m.lineBottoms)
      if (b <= visibleHeight + 1) ++m.linesShown;
    m.linesShown = std::max(m.linesShown, 1);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return m;
}

}  // namespace swf
