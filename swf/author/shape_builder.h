#pragma once
// Builds DefineShape bodies and glyph outlines: fill and line styles, then a pen that moves,
// draws straight and curved edges and switches styles. Coordinates are in twips.

#include <cstdint>
#include <vector>

#include "swf/author/bit_writer.h"
#include "swf/model/geometry.h"

namespace swf::author {

struct GradientStop {
  uint8_t ratio = 0;
  RGBA color;
};

class ShapeBuilder {
 public:
  // Style indexes are 1-based, as in the file; 0 means none.
  int solidFill(RGBA c);
  // The gradient square spans -16384..16384 in its own space; `m` maps it onto the shape.
  int linearGradient(const Matrix& m, std::vector<GradientStop> stops);
  int radialGradient(const Matrix& m, std::vector<GradientStop> stops);
  int bitmapFill(uint16_t bitmapId, const Matrix& m, bool repeat, bool smooth);
  int lineStyle(int widthTwips, RGBA c);

  void moveTo(int x, int y);
  void lineTo(int x, int y);
  void curveTo(int cx, int cy, int x, int y);
  void setFill0(int style);
  void setFill1(int style);
  void setLine(int style);

  // Convenience: a closed rectangle, clockwise, filled on its inside with fill style 1 side.
  void rectangle(int x, int y, int w, int h);
  // Convenience: a closed ellipse made of eight quadratic curves, clockwise.
  void ellipse(int cx, int cy, int rx, int ry);

  Rect bounds() const;
  // The body of DefineShape `version` (1..4) after the id.
  void writeShapeWithStyle(BitWriter& w, int version) const;
  // A glyph: one implicit fill style, no lines (DefineFont2/3).
  void writeGlyph(BitWriter& w) const;

 private:
  struct Fill {
    int type = 0;
    RGBA color;
    Matrix matrix;
    std::vector<GradientStop> stops;
    uint16_t bitmapId = 0;
  };
  struct Line {
    int width = 20;
    RGBA color;
  };
  struct Record {
    enum Kind { Move, Straight, Curve, Style } kind;
    int x = 0, y = 0, cx = 0, cy = 0;       // absolute
    int fill0 = -1, fill1 = -1, line = -1;  // -1: unchanged
  };

  void writeRecords(BitWriter& w, unsigned fillBits, unsigned lineBits) const;
  void grow(int x, int y, int pad);
  Record& styleRecord();

  std::vector<Fill> fills_;
  std::vector<Line> lines_;
  std::vector<Record> records_;
  int penX_ = 0, penY_ = 0;
  bool empty_ = true;
  Rect bounds_;
  int maxLineWidth_ = 0;
};

}  // namespace swf::author
