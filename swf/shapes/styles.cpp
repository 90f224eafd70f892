#include "swf/shapes/styles.h"

#include <cmath>

namespace swf {

FillKind fillKindFromType(uint8_t type) {
  switch (type) {
    case 0x00:
      return FillKind::Solid;
    case 0x10:
      return FillKind::LinearGradient;
    case 0x12:
      return FillKind::RadialGradient;
    case 0x13:
      return FillKind::FocalGradient;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
      return FillKind::Bitmap;
    default:
      throw ReadError("unknown fill style type");
  }
}

void setBitmapFlags(FillStyle& s, uint8_t type) {
  s.repeat = (type & 1) == 0;
  s.smooth = (type & 2) == 0;
}

static Gradient readGradient(BitReader& r, const StyleFormat& f, FillKind kind) {
  Gradient g;
  uint8_t head = r.u8();
  if (f.shapeVersion >= 4) {
    unsigned spread = head >> 6;
    g.spread = spread == 1   ? SpreadMode::Reflect
               : spread == 2 ? SpreadMode::Repeat
                             : SpreadMode::Pad;
    g.linearRGB = ((head >> 4) & 3) == 1;
  }
  unsigned count = head & 0x0f;
  for (unsigned i = 0; i < count; ++i) {
    GradientStop s;
    s.ratio = r.u8();
    s.color = f.alpha() ? readRGBA(r) : readRGB(r);
    g.stops.push_back(s);
  }
  if (kind == FillKind::FocalGradient) g.focalPoint = std::clamp(r.fixed8(), -1.0, 1.0);
  return g;
}

FillStyle readFillStyle(BitReader& r, const StyleFormat& f, const ParseContext& ctx) {
  FillStyle s;
  uint8_t type = r.u8();
  s.kind = fillKindFromType(type);
  switch (s.kind) {
    case FillKind::Solid:
      s.color = f.alpha() ? readRGBA(r) : readRGB(r);
      break;
    case FillKind::LinearGradient:
    case FillKind::RadialGradient:
    case FillKind::FocalGradient:
      s.matrix = readMatrix(r);
      s.gradient = readGradient(r, f, s.kind);
      break;
    case FillKind::Bitmap:
      s.bitmapId = r.u16();
      s.matrix = readMatrix(r);
      setBitmapFlags(s, type);
      s.bitmap = ctx.find(s.bitmapId);
      if (s.bitmap && s.bitmap->kind() != CharacterKind::Bitmap) s.bitmap = nullptr;
      break;
  }
  return s;
}

static unsigned readCount(BitReader& r, const StyleFormat& f) {
  unsigned n = r.u8();
  if (n == 0xff && f.extendedCounts()) n = r.u16();
  return n;
}

// A style array: its count, then that many styles each read by `readOne`.
template <class Style>
static std::vector<Style> readStyleArray(BitReader& r, const StyleFormat& f,
                                         const ParseContext& ctx,
                                         Style (*readOne)(BitReader&, const StyleFormat&,
                                                          const ParseContext&)) {
  unsigned n = readCount(r, f);
  std::vector<Style> out;
  out.reserve(std::min<size_t>(n, r.remaining()));
  for (unsigned i = 0; i < n; ++i) out.push_back(readOne(r, f, ctx));
  return out;
}

std::vector<FillStyle> readFillStyles(BitReader& r, const StyleFormat& f, const ParseContext& ctx) {
  return readStyleArray(r, f, ctx, &readFillStyle);
}

static CapStyle capFrom(unsigned v) {
  return v == 1 ? CapStyle::None : v == 2 ? CapStyle::Square : CapStyle::Round;
}

LineStyle readLineStyle(BitReader& r, const StyleFormat& f, const ParseContext& ctx) {
  LineStyle s;
  s.width = r.u16();
  if (!f.lineStyle2()) {
    s.color = f.alpha() ? readRGBA(r) : readRGB(r);
    return s;
  }
  s.startCap = capFrom(r.ub(2));
  unsigned join = r.ub(2);
  s.join = join == 1 ? JoinStyle::Bevel : join == 2 ? JoinStyle::Miter : JoinStyle::Round;
  s.hasFill = r.flag();
  s.noHScale = r.flag();
  s.noVScale = r.flag();
  s.pixelHinting = r.flag();
  r.ub(5);
  s.noClose = r.flag();
  s.endCap = capFrom(r.ub(2));
  if (s.join == JoinStyle::Miter) s.miterLimit = std::max(1.0, r.u16() / 256.0);
  if (s.hasFill) {
    s.fill = readFillStyle(r, f, ctx);
    s.color = s.fill.color;
  } else {
    s.color = readRGBA(r);
  }
  return s;
}

std::vector<LineStyle> readLineStyles(BitReader& r, const StyleFormat& f, const ParseContext& ctx) {
  return readStyleArray(r, f, ctx, &readLineStyle);
}

static double lerp(double a, double b, double t) { return a + (b - a) * t; }

RGBA lerpColor(RGBA a, RGBA b, double t) {
  auto ch = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(lerp(x, y, t))); };
  return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), ch(a.a, b.a)};
}

Matrix lerpMatrix(const Matrix& a, const Matrix& b, double t) {
  return {lerp(a.a, b.a, t), lerp(a.b, b.b, t),   lerp(a.c, b.c, t),
          lerp(a.d, b.d, t), lerp(a.tx, b.tx, t), lerp(a.ty, b.ty, t)};
}

FillStyle lerpFillStyle(const FillStyle& a, const FillStyle& b, double t) {
  FillStyle s = a;
  s.color = lerpColor(a.color, b.color, t);
  s.matrix = lerpMatrix(a.matrix, b.matrix, t);
  size_t n = std::min(a.gradient.stops.size(), b.gradient.stops.size());
  s.gradient.stops.resize(n);
  for (size_t i = 0; i < n; ++i) {
    s.gradient.stops[i].ratio = lerp(a.gradient.stops[i].ratio, b.gradient.stops[i].ratio, t);
    s.gradient.stops[i].color = lerpColor(a.gradient.stops[i].color, b.gradient.stops[i].color, t);
  }
  s.gradient.focalPoint = lerp(a.gradient.focalPoint, b.gradient.focalPoint, t);
  return s;
}

LineStyle lerpLineStyle(const LineStyle& a, const LineStyle& b, double t) {
  LineStyle s = a;
  s.width = lerp(a.width, b.width, t);
  s.color = lerpColor(a.color, b.color, t);
  if (a.hasFill) s.fill = lerpFillStyle(a.fill, b.fill, t);
  return s;
}

}  // namespace swf
