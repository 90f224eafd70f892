#include "swf/render/text_fonts.h"

#include "swf/render/cairo_util.h"
#include "swf/render/shape_painter.h"
#include "swf/text/field_text.h"
#include "swf/text/text_content.h"

namespace swf {

namespace {

// Without a layout an embedded font says nothing of its heights: these shares of the size.
constexpr double kAscentShare = 0.8, kDescentShare = 0.2;

cairo_font_options_t* desktopOptions(bool antialias) {
  cairo_font_options_t* opts = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(opts, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  return opts;
}

cairo_font_face_t* desktopFace(const std::string& name, bool bold, bool italic) {
  return cairo_toy_font_face_create(desktopFamily(name).c_str(),
                                    italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                    bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
}

}  // namespace

std::string desktopFamily(const std::string& name) {
  if (name.empty() || name == "_sans") return "sans-serif";
  if (name == "_serif") return "serif";
  if (name == "_typewriter") return "monospace";
  return name;
}

void selectDesktopFont(cairo_t* cr, const std::string& name, bool bold, bool italic, double size,
                       bool antialias) {
  cairo_font_face_t* face = desktopFace(name, bold, italic);
  cairo_set_font_face(cr, face);
  cairo_font_face_destroy(face);
  cairo_font_options_t* opts = desktopOptions(antialias);
  cairo_set_font_options(cr, opts);
  cairo_font_options_destroy(opts);
  cairo_set_font_size(cr, size);
}

FieldFonts::FieldFonts(const DrawState& s, const EditTextCharacter& field)
    : state_(s), field_(field) {}

FieldFonts::~FieldFonts() {
  for (auto& [key, f] : faces_)
    if (f.desktop) cairo_scaled_font_destroy(f.desktop);
}

FieldFonts::Face FieldFonts::makeFace(const CharFormat& format) const {
  Face f;
  const FontCharacter* font = fontForRun(field_, format);
  if (field_.useOutlines && font && !font->glyphs.empty() && font->emSize > 0) {
    f.embedded = font;
    f.scale = format.size / font->emSize;
    f.metrics.ascent = font->hasLayout ? font->ascent * f.scale : format.size * kAscentShare;
    f.metrics.descent = font->hasLayout ? font->descent * f.scale : format.size * kDescentShare;
    return f;
  }
  // Desktop fonts are measured in the field's twips; drawing scales them with the field.
  // Of a list of names, the first is asked for: fontconfig stands in for it when missing.
  cairo_font_face_t* face = desktopFace(fontNames(format.font).front(), format.bold, format.italic);
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, format.size, format.size);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* opts = desktopOptions(state_.antialias);
  f.desktop = cairo_scaled_font_create(face, &size, &identity, opts);
  cairo_font_options_destroy(opts);
  cairo_font_face_destroy(face);
  if (cairo_scaled_font_status(f.desktop) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(f.desktop);
    f.desktop = nullptr;
    return f;
  }
  cairo_font_extents_t fe;
  cairo_scaled_font_extents(f.desktop, &fe);
  f.metrics = {fe.ascent, fe.descent};
  return f;
}

FieldFonts::Face& FieldFonts::face(const CharFormat& format) {
  if (&format == lastFormat_) return *lastFace_;
  auto key = std::make_tuple(format.font, format.size, format.bold, format.italic);
  auto it = faces_.find(key);
  if (it == faces_.end()) {
    // A size of nothing draws nothing (and would make Cairo's font matrix singular).
    Face f = format.size > 0 ? makeFace(format) : Face{};
    it = faces_.emplace(std::move(key), std::move(f)).first;
  }
  lastFormat_ = &format;
  lastFace_ = &it->second;
  return it->second;
}

const std::pair<unsigned long, double>& FieldFonts::desktopGlyph(Face& f, char32_t c) {
  auto it = f.glyphs.find(c);
  if (it != f.glyphs.end()) return it->second;
  std::pair<unsigned long, double> g{0, 0};
  std::string text = encodeUtf8(std::u32string(1, c));
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(f.desktop, 0, 0, text.c_str(), int(text.size()), &glyphs,
                                       &count, nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
      count > 0) {
    cairo_text_extents_t te;
    cairo_scaled_font_glyph_extents(f.desktop, glyphs, 1, &te);
    g = {glyphs[0].index, te.x_advance};
  }
  cairo_glyph_free(glyphs);
  return f.glyphs.emplace(c, g).first->second;
}

FontMetrics FieldFonts::metrics(const CharFormat& format) { return face(format).metrics; }

double FieldFonts::advance(const CharFormat& format, char32_t c) {
  Face& f = face(format);
  if (f.embedded) {
    int g = f.embedded->glyphFor(c);
    // A no-break space is a space to fonts that were embedded without one.
    if (g < 0 && c == U'\u00a0') g = f.embedded->glyphFor(U' ');
    if (g < 0) return 0;
    const Glyph& glyph = f.embedded->glyphs[size_t(g)];
    if (f.embedded->hasLayout) return glyph.advance * f.scale;
    return (glyph.bounds.xMax > 0 ? glyph.bounds.xMax : f.embedded->emSize / 2) * f.scale;
  }
  if (!f.desktop || c < U' ') return 0;
  return desktopGlyph(f, c).second;
}

double FieldFonts::kerning(const CharFormat& format, char32_t left, char32_t right) {
  // Desktop fonts are not kerned: the player spaces device text by advances alone.
  Face& f = face(format);
  return f.embedded ? f.embedded->kerning(left, right) * f.scale : 0;
}

void FieldFonts::draw(const DrawState& s, const CharFormat& format,
                      std::span<const PlacedChar> chars, double baseline) {
  Face& f = face(format);
  if (f.embedded) {
    for (const PlacedChar& c : chars) {
      int g = c.code < U' ' ? -1 : f.embedded->glyphFor(c.code);
      if (g < 0) continue;
      DrawState gs = s;
      gs.toDevice = s.toDevice * Matrix{f.scale, 0, 0, f.scale, c.x, baseline};
      paintShape(gs, f.embedded->glyphs[size_t(g)].shape, format.color);
    }
    return;
  }
  if (!f.desktop) return;
  RGBA color = s.maskMode ? RGBA{0, 0, 0, 255} : s.cxform.apply(format.color);
  if (color.a == 0 || !setMatrix(s.cr, s.toDevice)) return;
  glyphRun_.clear();
  for (const PlacedChar& c : chars)
    if (c.code > U' ') glyphRun_.push_back({desktopGlyph(f, c.code).first, c.x, baseline});
  if (glyphRun_.empty()) return;
  cairo_set_scaled_font(s.cr, f.desktop);
  setSourceColor(s.cr, color);
  cairo_show_glyphs(s.cr, glyphRun_.data(), int(glyphRun_.size()));
}

}  // namespace swf
