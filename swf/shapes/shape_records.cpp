#include "swf/shapes/shape_records.h"

namespace swf {

static void readRecords(BitReader& r, const StyleFormat& f, const ParseContext& ctx,
                        unsigned fillBits, unsigned lineBits, ShapeRecords& out);

ShapeRecords readShapeRecords(BitReader& r, const StyleFormat& f, const ParseContext& ctx) {
  ShapeRecords out;
  r.align();
  if (r.atEnd()) return out;
  unsigned fillBits = r.ub(4), lineBits = r.ub(4);
  // Many files end a shape without its end record, or cut a record short: what was read in full
  // is still drawn.
  try {
    readRecords(r, f, ctx, fillBits, lineBits, out);
  } catch (const ReadError&) {
  }
  r.align();
  return out;
}

static void readRecords(BitReader& r, const StyleFormat& f, const ParseContext& ctx,
                        unsigned fillBits, unsigned lineBits, ShapeRecords& out) {
  for (;;) {
    ShapeRecord rec;
    if (r.flag()) {
      bool straight = r.flag();
      unsigned n = r.ub(4) + 2;
      if (straight) {
        rec.type = ShapeRecord::Type::Straight;
        if (r.flag()) {
          rec.adx = r.sb(n);
          rec.ady = r.sb(n);
        } else if (r.flag()) {
          rec.ady = r.sb(n);
        } else {
          rec.adx = r.sb(n);
        }
      } else {
        rec.type = ShapeRecord::Type::Curve;
        rec.cdx = r.sb(n);
        rec.cdy = r.sb(n);
        rec.adx = r.sb(n);
        rec.ady = r.sb(n);
      }
      out.records.push_back(rec);
      continue;
    }
    unsigned flags = r.ub(5);
    if (flags == 0) break;  // end of shape
    bool newStyles = flags & 0x10;
    rec.hasLine = flags & 0x08;
    rec.hasFill1 = flags & 0x04;
    rec.hasFill0 = flags & 0x02;
    rec.hasMove = flags & 0x01;
    if (rec.hasMove) {
      unsigned n = r.ub(5);
      rec.moveX = r.sb(n);
      rec.moveY = r.sb(n);
    }
    if (rec.hasFill0) rec.fill0 = r.ub(fillBits);
    if (rec.hasFill1) rec.fill1 = r.ub(fillBits);
    if (rec.hasLine) rec.line = r.ub(lineBits);
    if (newStyles && f.shapeVersion >= 2) {
      StyleArrays s;
      s.fills = readFillStyles(r, f, ctx);
      s.lines = readLineStyles(r, f, ctx);
      rec.newStyles = int(out.newStyles.size());
      out.newStyles.push_back(std::move(s));
      fillBits = r.ub(4);
      lineBits = r.ub(4);
    }
    out.records.push_back(rec);
  }
}

Edge edgeFrom(const ShapeRecord& rec, double& x, double& y) {
  Edge e;
  e.x0 = x;
  e.y0 = y;
  e.curve = rec.type == ShapeRecord::Type::Curve;
  if (e.curve) {
    e.cx = x + rec.cdx;
    e.cy = y + rec.cdy;
    e.x1 = e.cx + rec.adx;
    e.y1 = e.cy + rec.ady;
  } else {
    e.x1 = x + rec.adx;
    e.y1 = y + rec.ady;
    e.cx = (e.x0 + e.x1) / 2;
    e.cy = (e.y0 + e.y1) / 2;
  }
  x = e.x1;
  y = e.y1;
  return e;
}

std::vector<EdgeLayer> buildEdgeLayers(const ShapeRecords& shape, StyleArrays initial) {
  std::vector<EdgeLayer> layers;
  layers.push_back({std::move(initial), {}});
  double x = 0, y = 0;
  uint32_t fill0 = 0, fill1 = 0, line = 0;
  for (const ShapeRecord& rec : shape.records) {
    switch (rec.type) {
      case ShapeRecord::Type::StyleChange:
        if (rec.newStyles >= 0) {
          layers.push_back({shape.newStyles[size_t(rec.newStyles)], {}});
          fill0 = fill1 = line = 0;
        }
        if (rec.hasFill0) fill0 = rec.fill0;
        if (rec.hasFill1) fill1 = rec.fill1;
        if (rec.hasLine) line = rec.line;
        if (rec.hasMove) {
          x = rec.moveX;
          y = rec.moveY;
        }
        break;
      case ShapeRecord::Type::Straight:
      case ShapeRecord::Type::Curve: {
        const StyleArrays& s = layers.back().styles;
        Edge e = edgeFrom(rec, x, y);
        e.fill0 = fill0 <= s.fills.size() ? fill0 : 0;
        e.fill1 = fill1 <= s.fills.size() ? fill1 : 0;
        e.line = line <= s.lines.size() ? line : 0;
        if (e.fill0 || e.fill1 || e.line) layers.back().edges.push_back(e);
        break;
      }
    }
  }
  return layers;
}

}  // namespace swf
