#pragma once
// Writes SWF files: a tag list per timeline (the movie's own and each sprite's), the
// definitions the engine reads, and the container with or without compression.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "swf/author/bit_writer.h"
#include "swf/author/shape_builder.h"
#include "swf/io/swf_container.h"
#include "swf/model/geometry.h"
#include "swf/movie/filters.h"

namespace swf::author {

struct PlaceParams {
  int depth = 1;
  bool move = false;
  std::optional<uint16_t> character;
  std::optional<Matrix> matrix;
  std::optional<ColorTransform> cxform;
  std::optional<int> ratio;
  std::optional<std::string> name;
  std::optional<int> clipDepth;
  // Clip events (onClipEvent): event flags and their actions, written as SWF 6 and later
  // files hold them.
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> clipEvents;
  // PlaceObject3 only.
  std::optional<int> blendMode;
  std::optional<FilterList> filters;
};

// A new character at an empty depth.
inline PlaceParams placeNew(int depth, uint16_t character, std::optional<Matrix> m = std::nullopt) {
  PlaceParams p;
  p.depth = depth;
  p.character = character;
  p.matrix = m;
  return p;
}

// Changes to what a depth already holds.
inline PlaceParams placeMove(int depth, std::optional<Matrix> m = std::nullopt) {
  PlaceParams p;
  p.depth = depth;
  p.move = true;
  p.matrix = m;
  return p;
}

// The control tags of one timeline.
class TagList {
 public:
  void tag(int code, std::span<const uint8_t> body);
  void tag(int code, const BitWriter& body) { tag(code, body.data()); }

  void showFrame();
  void placeObject2(const PlaceParams& p);
  void placeObject3(const PlaceParams& p);  // with blend mode and filters when set
  void placeObject(uint16_t character, int depth, const Matrix& m);  // PlaceObject 1
  void removeObject2(int depth);
  void removeObject(uint16_t character, int depth);  // RemoveObject 1
  void frameLabel(const std::string& label);
  void doAction(std::span<const uint8_t> actions);
  void end();

  int frames() const { return frames_; }
  const std::vector<uint8_t>& data() const { return data_; }

 private:
  std::vector<uint8_t> data_;
  int frames_ = 0;
};

struct GlyphDef {
  uint16_t code = 0;     // the character it shows
  ShapeBuilder outline;  // EM square of 1024 units, baseline at y = 0, y down
  int advance = 0;       // in EM units
};

// A DefineFont2 kerning record: `adjustment` EM units between `left` and `right`.
struct KerningDef {
  uint16_t left = 0, right = 0;
  int adjustment = 0;
};

// What else a DefineFont2 can say of its font.
struct FontStyleDef {
  bool bold = false, italic = false;
  std::vector<KerningDef> kerning;
};

struct TextGlyph {
  int index = 0;    // into the font's glyphs
  int advance = 0;  // twips
};

struct TextLine {
  uint16_t font = 0;
  int height = 240;  // twips
  RGBA color;
  int x = 0, y = 0;  // baseline start, twips
  std::vector<TextGlyph> glyphs;
};

struct EditTextDef {
  Rect bounds;
  std::optional<uint16_t> font;
  int height = 240;
  RGBA color;
  std::string variable;
  std::string text;
  bool readOnly = true, noSelect = true, border = false, multiline = false, wordWrap = false;
  bool useOutlines = true;
  int align = 0;  // 0 left, 1 right, 2 centre, 3 justify
  bool html = false, password = false;
  int leftMargin = 0, rightMargin = 0, indent = 0, leading = 0;  // twips
};

struct ButtonPart {
  ButtonPart() = default;
  ButtonPart(uint8_t states, uint16_t character, int depth = 1, Matrix matrix = {},
             ColorTransform cxform = {})
      : states(states), character(character), depth(depth), matrix(matrix), cxform(cxform) {}

  uint8_t states = 0;  // ButtonStateFlag bits
  uint16_t character = 0;
  int depth = 1;
  Matrix matrix;
  ColorTransform cxform;
  std::optional<FilterList> filters;  // DefineButton2 only
  int blendMode = 0;                  // DefineButton2 only
};

struct ButtonHandler {
  uint16_t conditions = 0;  // ButtonCondition bits
  std::vector<uint8_t> actions;
};

class SwfWriter : public TagList {
 public:
  SwfWriter(int version, int widthPx, int heightPx, double frameRate);

  void setBackgroundColor(RGBA c);
  void defineShape(uint16_t id, const ShapeBuilder& shape, int version = 3);
  // Pixels are straight (not premultiplied) ARGB, row by row.
  void defineBitsLossless2(uint16_t id, int width, int height, std::span<const uint32_t> argb);
  void defineFont2(uint16_t id, const std::string& name, const std::vector<GlyphDef>& glyphs,
                   int ascent, int descent, const FontStyleDef& style = {});
  void defineText(uint16_t id, const Rect& bounds, const std::vector<TextLine>& records,
                  bool withAlpha = false);
  void defineEditText(uint16_t id, const EditTextDef& glyph);
  void defineSprite(uint16_t id, const TagList& sprite);  // `sprite` must end with end()
  // Makes character `id` reachable by `name` (attachMovie, attachSound).
  void exportAsset(uint16_t id, const std::string& name);
  void defineButton2(uint16_t id, const std::vector<ButtonPart>& records,
                     const std::vector<ButtonHandler>& actions, bool trackAsMenu = false);

  // The whole file; ends the root timeline if end() was not called.
  std::vector<uint8_t> finish(Compression compression = Compression::None);

 private:
  int version_;
  Rect stage_;
  double frameRate_;
  bool ended_ = false;
};

}  // namespace swf::author
