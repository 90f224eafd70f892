#include "swf/movie/control_tags.h"
#include "swf/movie/filters.h"
#include "swf/movie/tag_codes.h"

namespace swf {

namespace {

FilterBlur readBlur(BitReader& r) {
  FilterBlur b;
  b.blurX = r.fixed16();
  b.blurY = r.fixed16();
  return b;
}

// The flags byte that ends most filters: inner, knockout, composite source, then either the
// passes (5 bits) or onTop and the passes (4 bits).
struct FilterFlags {
  bool inner, knockout, compositeSource, onTop;
  int passes;
};

FilterFlags readFlags(BitReader& r, bool withOnTop) {
  FilterFlags f{};
  f.inner = r.flag();
  f.knockout = r.flag();
  f.compositeSource = r.flag();
  if (withOnTop) f.onTop = r.flag();
  f.passes = int(r.ub(withOnTop ? 4 : 5));
  r.align();
  return f;
}

// Reads the flags byte into a filter; the filters that have onTop give the passes 4 bits.
template <class F>
void readFlagsInto(BitReader& r, F& filter) {
  constexpr bool withOnTop = requires(F & x) { x.onTop; };
  FilterFlags f = readFlags(r, withOnTop);
  filter.inner = f.inner;
  filter.knockout = f.knockout;
  filter.compositeSource = f.compositeSource;
  if constexpr (withOnTop) filter.onTop = f.onTop;
  filter.blur.passes = f.passes;
}

GradientFilterParams readGradientFilter(BitReader& r) {
  GradientFilterParams p;
  unsigned count = r.u8();
  p.stops.resize(count);
  for (auto& s : p.stops) s.color = readRGBA(r);
  for (auto& s : p.stops) s.ratio = r.u8();
  p.blur = readBlur(r);
  p.angle = r.fixed16();
  p.distance = r.fixed16();
  p.strength = r.fixed8();
  readFlagsInto(r, p);
  return p;
}

ConvolutionFilter readConvolution(BitReader& r) {
  ConvolutionFilter c;
  c.columns = r.u8();
  c.rows = r.u8();
  c.divisor = r.f32();
  c.bias = r.f32();
  size_t n = size_t(c.columns) * size_t(c.rows);
  if (r.remaining() < n * 4) throw ReadError("convolution matrix past the end of the tag");
  c.matrix.resize(n);
  for (float& v : c.matrix) v = r.f32();
  c.defaultColor = readRGBA(r);
  r.ub(6);
  c.clamp = r.flag();
  c.preserveAlpha = r.flag();
  r.align();
  return c;
}

Filter readFilter(BitReader& r) {
  switch (r.u8()) {
    case 0: {
      DropShadowFilter d;
      d.color = readRGBA(r);
      d.blur = readBlur(r);
      d.angle = r.fixed16();
      d.distance = r.fixed16();
      d.strength = r.fixed8();
      readFlagsInto(r, d);
      return d;
    }
    case 1: {
      BlurFilter b;
      b.blur = readBlur(r);
      b.blur.passes = int(r.ub(5));
      r.align();
      return b;
    }
    case 2: {
      GlowFilter g;
      g.color = readRGBA(r);
      g.blur = readBlur(r);
      g.strength = r.fixed8();
      readFlagsInto(r, g);
      return g;
    }
    case 3: {
      BevelFilter b;
      b.shadowColor = readRGBA(r);
      b.highlightColor = readRGBA(r);
      b.blur = readBlur(r);
      b.angle = r.fixed16();
      b.distance = r.fixed16();
      b.strength = r.fixed8();
      readFlagsInto(r, b);
      return b;
    }
    case 4:
      return GradientGlowFilter{readGradientFilter(r)};
    case 5:
      return readConvolution(r);
    case 6: {
      ColorMatrixFilter m;
      for (float& v : m.matrix) v = r.f32();
      return m;
    }
    case 7:
      return GradientBevelFilter{readGradientFilter(r)};
    default:
      throw ReadError("unknown filter");
  }
}

}  // namespace

FilterList readFilterList(BitReader& r) {
  unsigned count = r.u8();
  FilterList list;
  list.reserve(count);
  for (unsigned i = 0; i < count; ++i) list.push_back(readFilter(r));
  return list;
}

PlaceCommand readPlaceObject(int tagCode, BitReader& r, const CharacterLookup& lookup) {
  PlaceCommand p;
  if (tagCode == tag::PlaceObject) {
    p.version = 1;
    p.hasCharacter = true;
    p.characterId = r.u16();
    p.depth = r.u16();
    p.matrix = readMatrix(r);
    if (!r.atEnd()) p.cxform = readColorTransform(r, false);
    p.character = lookup(p.characterId);
    return p;
  }
  p.version = tagCode == tag::PlaceObject3 ? 3 : 2;
  uint8_t f = r.u8();
  uint8_t f2 = p.version == 3 ? r.u8() : 0;
  bool hasClipActions = f & 0x80, hasClipDepth = f & 0x40, hasName = f & 0x20, hasRatio = f & 0x10,
       hasCxform = f & 0x08, hasMatrix = f & 0x04;
  p.hasCharacter = f & 0x02;
  p.move = f & 0x01;
  bool hasImage = f2 & 0x10, hasClassName = f2 & 0x08, hasCacheAsBitmap = f2 & 0x04,
       hasBlendMode = f2 & 0x02, hasFilters = f2 & 0x01, hasVisible = f2 & 0x20,
       opaqueBackground = f2 & 0x40;
  p.depth = r.u16();
  if (hasClassName || (hasImage && p.hasCharacter)) r.cstring();
  if (p.hasCharacter) {
    p.characterId = r.u16();
    p.character = lookup(p.characterId);
  }
  if (hasMatrix) p.matrix = readMatrix(r);
  if (hasCxform) p.cxform = readColorTransform(r, true);
  if (hasRatio) p.ratio = r.u16();
  if (hasName) p.name = r.cstring();
  if (hasClipDepth) p.clipDepth = r.u16();
  if (hasFilters) p.filters = std::make_shared<const FilterList>(readFilterList(r));
  if (hasBlendMode) p.blendMode = r.u8();
  if (hasCacheAsBitmap) r.u8();
  if (hasVisible) p.visible = r.u8() != 0;
  if (opaqueBackground) r.skip(4);
  if (hasClipActions) p.clipActions = r.bytes(r.remaining());
  return p;
}

RemoveCommand readRemoveObject(int tagCode, BitReader& r) {
  RemoveCommand c;
  if (tagCode == tag::RemoveObject) r.u16();  // the character id adds nothing to the depth
  c.depth = r.u16();
  return c;
}

}  // namespace swf
