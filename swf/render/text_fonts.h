#pragma once
// The fonts text fields are measured and drawn with: the glyph outlines of the movie's fonts,
// or desktop fonts found through fontconfig, one per format a field's runs use.

#include <cairo.h>

#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "swf/render/draw_state.h"
#include "swf/text/edit_text.h"
#include "swf/text/text_layout.h"

namespace swf {

// The desktop font family standing in for a font name ("_sans", "_serif", "_typewriter" are the
// player's own names for the desktop's default faces).
std::string desktopFamily(const std::string& name);

// Makes the desktop font for `name` in the given style current on `cr`, `size` user units to
// the em, with unhinted metrics so that advances scale with the drawing.
void selectDesktopFont(cairo_t* cr, const std::string& name, bool bold, bool italic, double size,
                       bool antialias);

// One field's fonts for one drawing: measures for the layout, then draws its characters.
class FieldFonts : public TextMeasure {
 public:
  FieldFonts(const DrawState& s, const EditTextCharacter& field);
  ~FieldFonts() override;
  FieldFonts(const FieldFonts&) = delete;
  FieldFonts& operator=(const FieldFonts&) = delete;

  FontMetrics metrics(const CharFormat& format) override;
  double advance(const CharFormat& format, char32_t c) override;
  double kerning(const CharFormat& format, char32_t left, char32_t right) override;

  // Draws characters of one format on a line whose baseline is at `baseline`, field twips.
  void draw(const DrawState& s, const CharFormat& format, std::span<const PlacedChar> chars,
            double baseline);

 private:
  struct Face {
    const FontCharacter* embedded = nullptr;
    double scale = 1;  // twips per font unit of the embedded font
    cairo_scaled_font_t* desktop = nullptr;
    FontMetrics metrics;
    // Desktop glyphs met so far: glyph index and advance in twips.
    std::unordered_map<char32_t, std::pair<unsigned long, double>> glyphs;
  };

  Face& face(const CharFormat& format);
  Face makeFace(const CharFormat& format) const;
  const std::pair<unsigned long, double>& desktopGlyph(Face& f, char32_t c);

  const DrawState& state_;
  const EditTextCharacter& field_;
  std::map<std::tuple<std::string, double, bool, bool>, Face> faces_;
  std::vector<cairo_glyph_t> glyphRun_;     // reused from draw to draw
  const CharFormat* lastFormat_ = nullptr;  // runs repeat one format for many characters
  Face* lastFace_ = nullptr;
};

}  // namespace swf
