#include "swf/shapes/morph_shape.h"

#include <cmath>

namespace swf {

namespace {

struct MorphFill {
  FillStyle start, end;
};

struct MorphLine {
  LineStyle start, end;
};

MorphFill readMorphFill(BitReader& r, bool version2, const ParseContext& ctx) {
  MorphFill f;
  uint8_t type = r.u8();
  f.start.kind = f.end.kind = fillKindFromType(type);
  switch (f.start.kind) {
    case FillKind::Solid:
      f.start.color = readRGBA(r);
      f.end.color = readRGBA(r);
      break;
    case FillKind::LinearGradient:
    case FillKind::RadialGradient:
    case FillKind::FocalGradient: {
      f.start.matrix = readMatrix(r);
      f.end.matrix = readMatrix(r);
      uint8_t head = r.u8();
      if (version2) {
        unsigned spread = head >> 6;
        f.start.gradient.spread = spread == 1   ? SpreadMode::Reflect
                                  : spread == 2 ? SpreadMode::Repeat
                                                : SpreadMode::Pad;
        f.start.gradient.linearRGB = ((head >> 4) & 3) == 1;
        f.end.gradient.spread = f.start.gradient.spread;
        f.end.gradient.linearRGB = f.start.gradient.linearRGB;
      }
      for (unsigned i = 0, n = head & 0x0f; i < n; ++i) {
        GradientStop a, b;
        a.ratio = r.u8();
        a.color = readRGBA(r);
        b.ratio = r.u8();
        b.color = readRGBA(r);
        f.start.gradient.stops.push_back(a);
        f.end.gradient.stops.push_back(b);
      }
      break;
    }
    case FillKind::Bitmap:
      f.start.bitmapId = f.end.bitmapId = r.u16();
      f.start.matrix = readMatrix(r);
      f.end.matrix = readMatrix(r);
      setBitmapFlags(f.start, type);
      setBitmapFlags(f.end, type);
      f.start.bitmap = ctx.find(f.start.bitmapId);
      if (f.start.bitmap && f.start.bitmap->kind() != CharacterKind::Bitmap)
        f.start.bitmap = nullptr;
      f.end.bitmap = f.start.bitmap;
      break;
  }
  return f;
}

MorphLine readMorphLine(BitReader& r, bool version2, const ParseContext& ctx) {
  MorphLine l;
  l.start.width = r.u16();
  l.end.width = r.u16();
  if (version2) {
    unsigned startCap = r.ub(2), join = r.ub(2);
    bool hasFill = r.flag(), noH = r.flag(), noV = r.flag(), hint = r.flag();
    r.ub(5);
    bool noClose = r.flag();
    unsigned endCap = r.ub(2);
    auto cap = [](unsigned v) {
      return v == 1 ? CapStyle::None : v == 2 ? CapStyle::Square : CapStyle::Round;
    };
    for (LineStyle* s : {&l.start, &l.end}) {
      s->startCap = cap(startCap);
      s->endCap = cap(endCap);
      s->join = join == 1 ? JoinStyle::Bevel : join == 2 ? JoinStyle::Miter : JoinStyle::Round;
      s->hasFill = hasFill;
      s->noHScale = noH;
      s->noVScale = noV;
      s->pixelHinting = hint;
      s->noClose = noClose;
    }
    if (join == 2) l.start.miterLimit = l.end.miterLimit = std::max(1.0, r.u16() / 256.0);
    if (hasFill) {
      MorphFill f = readMorphFill(r, version2, ctx);
      l.start.fill = f.start;
      l.end.fill = f.end;
      return l;
    }
  }
  l.start.color = readRGBA(r);
  l.end.color = readRGBA(r);
  return l;
}

unsigned readCount(BitReader& r) {
  unsigned n = r.u8();
  return n == 0xff ? r.u16() : n;
}

// Pairs the start records with the end records: edges correspond one to one, the end shape's
// style records only move its pen.
void pairEdges(const ShapeRecords& start, const ShapeRecords& end, size_t fillCount,
               size_t lineCount, std::vector<Edge>& outStart, std::vector<Edge>& outEnd) {
  double sx = 0, sy = 0, ex = 0, ey = 0;
  uint32_t fill0 = 0, fill1 = 0, line = 0;
  size_t j = 0;
  auto isEdge = [](const ShapeRecord& r) { return r.type != ShapeRecord::Type::StyleChange; };
  for (const ShapeRecord& rec : start.records) {
    if (!isEdge(rec)) {
      if (rec.hasFill0) fill0 = rec.fill0 <= fillCount ? rec.fill0 : 0;
      if (rec.hasFill1) fill1 = rec.fill1 <= fillCount ? rec.fill1 : 0;
      if (rec.hasLine) line = rec.line <= lineCount ? rec.line : 0;
      if (rec.hasMove) {
        sx = rec.moveX;
        sy = rec.moveY;
      }
      if (j < end.records.size() && !isEdge(end.records[j])) {
        const ShapeRecord& er = end.records[j++];
        if (er.hasMove) {
          ex = er.moveX;
          ey = er.moveY;
        }
      }
      continue;
    }
    while (j < end.records.size() && !isEdge(end.records[j])) {
      const ShapeRecord& er = end.records[j++];
      if (er.hasMove) {
        ex = er.moveX;
        ey = er.moveY;
      }
    }
    if (j >= end.records.size()) break;  // the end shape has fewer edges: stop where it stops
    Edge a = edgeFrom(rec, sx, sy);
    Edge b = edgeFrom(end.records[j++], ex, ey);
    a.fill0 = b.fill0 = fill0;
    a.fill1 = b.fill1 = fill1;
    a.line = b.line = line;
    if (!fill0 && !fill1 && !line) continue;
    outStart.push_back(a);
    outEnd.push_back(b);
  }
}

double lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

const ShapeDrawing& MorphShapeCharacter::drawingAt(int ratio) const {
  ratio = std::clamp(ratio, 0, 65535);
  if (ratio == cachedRatio_) return cached_;
  double t = ratio / 65535.0;
  std::vector<Edge> edges = startEdges;
  for (size_t i = 0; i < edges.size(); ++i) {
    Edge& e = edges[i];
    const Edge& b = endEdges[i];
    e.x0 = lerp(e.x0, b.x0, t);
    e.y0 = lerp(e.y0, b.y0, t);
    e.cx = lerp(e.cx, b.cx, t);
    e.cy = lerp(e.cy, b.cy, t);
    e.x1 = lerp(e.x1, b.x1, t);
    e.y1 = lerp(e.y1, b.y1, t);
    e.curve = e.curve || b.curve;
  }
  StyleArrays styles;
  for (size_t i = 0; i < startStyles.fills.size(); ++i)
    styles.fills.push_back(lerpFillStyle(startStyles.fills[i], endStyles.fills[i], t));
  for (size_t i = 0; i < startStyles.lines.size(); ++i)
    styles.lines.push_back(lerpLineStyle(startStyles.lines[i], endStyles.lines[i], t));
  cached_.layers.clear();
  cached_.layers.push_back(buildDrawLayer(edges, vertices, plan, std::move(styles)));
  cachedRatio_ = ratio;
  return cached_;
}

Rect MorphShapeCharacter::boundsAt(int ratio) const {
  double t = std::clamp(ratio, 0, 65535) / 65535.0;
  auto mix = [t](int32_t a, int32_t b) { return int32_t(std::lround(lerp(a, b, t))); };
  return {mix(startBounds.xMin, endBounds.xMin), mix(startBounds.xMax, endBounds.xMax),
          mix(startBounds.yMin, endBounds.yMin), mix(startBounds.yMax, endBounds.yMax)};
}

std::shared_ptr<Character> parseMorphShapeTag(int tagCode, BitReader& body,
                                              const ParseContext& ctx) {
  if (tagCode != 46 && tagCode != 84) throw ReadError("not a morph shape tag");
  bool version2 = tagCode == 84;
  auto m = std::make_shared<MorphShapeCharacter>();
  m->id = body.u16();
  m->startBounds = readRect(body);
  m->endBounds = readRect(body);
  if (version2) {
    readRect(body);  // edge bounds of the start and end shapes
    readRect(body);
    body.u8();
  }
  uint32_t endOffset = body.u32();
  size_t endEdgesAt = body.pos() + endOffset;
  for (unsigned i = 0, n = readCount(body); i < n; ++i) {
    MorphFill f = readMorphFill(body, version2, ctx);
    m->startStyles.fills.push_back(std::move(f.start));
    m->endStyles.fills.push_back(std::move(f.end));
  }
  for (unsigned i = 0, n = readCount(body); i < n; ++i) {
    MorphLine l = readMorphLine(body, version2, ctx);
    m->startStyles.lines.push_back(std::move(l.start));
    m->endStyles.lines.push_back(std::move(l.end));
  }
  // Morph records never hold new style arrays; the format reads them as DefineShape 1 would.
  StyleFormat format{1};
  ShapeRecords start = readShapeRecords(body, format, ctx);
  if (endOffset != 0 && endEdgesAt <= body.size()) body.seek(endEdgesAt);
  ShapeRecords end = readShapeRecords(body, format, ctx);
  pairEdges(start, end, m->startStyles.fills.size(), m->startStyles.lines.size(), m->startEdges,
            m->endEdges);
  m->vertices = vertexIdsByPosition(m->startEdges, m->endEdges);
  m->plan = planLayer(m->startEdges, m->vertices);
  return m;
}

}  // namespace swf
