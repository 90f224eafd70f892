#include "swf/author/filter_records.h"

#include "swf/author/records.h"

namespace swf::author {
namespace {

void writeBlur(BitWriter& w, const FilterBlur& b) {
  w.fixed16(b.blurX);
  w.fixed16(b.blurY);
}

void writeFlags(BitWriter& w, bool inner, bool knockout, bool composite, const bool* onTop,
                int passes) {
  w.flag(inner);
  w.flag(knockout);
  w.flag(composite);
  if (onTop) w.flag(*onTop);
  w.ub(onTop ? 4 : 5, uint32_t(passes));
  w.align();
}

void writeGradient(BitWriter& w, const GradientFilterParams& p) {
  w.u8(uint8_t(p.stops.size()));
  for (const auto& s : p.stops) writeRGBA(w, s.color);
  for (const auto& s : p.stops) w.u8(s.ratio);
  writeBlur(w, p.blur);
  w.fixed16(p.angle);
  w.fixed16(p.distance);
  w.fixed8(p.strength);
  writeFlags(w, p.inner, p.knockout, p.compositeSource, &p.onTop, p.blur.passes);
}

struct FilterWriter {
  BitWriter& w;
  void operator()(const DropShadowFilter& d) {
    writeRGBA(w, d.color);
    writeBlur(w, d.blur);
    w.fixed16(d.angle);
    w.fixed16(d.distance);
    w.fixed8(d.strength);
    writeFlags(w, d.inner, d.knockout, d.compositeSource, nullptr, d.blur.passes);
  }
  void operator()(const BlurFilter& b) {
    writeBlur(w, b.blur);
    w.ub(5, uint32_t(b.blur.passes));
    w.ub(3, 0);
    w.align();
  }
  void operator()(const GlowFilter& g) {
    writeRGBA(w, g.color);
    writeBlur(w, g.blur);
    w.fixed8(g.strength);
    writeFlags(w, g.inner, g.knockout, g.compositeSource, nullptr, g.blur.passes);
  }
  void operator()(const BevelFilter& b) {
    writeRGBA(w, b.shadowColor);
    writeRGBA(w, b.highlightColor);
    writeBlur(w, b.blur);
    w.fixed16(b.angle);
    w.fixed16(b.distance);
    w.fixed8(b.strength);
    writeFlags(w, b.inner, b.knockout, b.compositeSource, &b.onTop, b.blur.passes);
  }
  void operator()(const GradientGlowFilter& g) { writeGradient(w, g.p); }
  void operator()(const GradientBevelFilter& g) { writeGradient(w, g.p); }
  void operator()(const ConvolutionFilter& c) {
    w.u8(uint8_t(c.columns));
    w.u8(uint8_t(c.rows));
    w.f32(c.divisor);
    w.f32(c.bias);
    for (float v : c.matrix) w.f32(v);
    writeRGBA(w, c.defaultColor);
    w.ub(6, 0);
    w.flag(c.clamp);
    w.flag(c.preserveAlpha);
    w.align();
  }
  void operator()(const ColorMatrixFilter& m) {
    for (float v : m.matrix) w.f32(v);
  }
};

}  // namespace

void writeFilterList(BitWriter& w, const FilterList& filters) {
  w.u8(uint8_t(filters.size()));
  for (const Filter& f : filters) {
    w.u8(uint8_t(f.index()));
    std::visit(FilterWriter{w}, f);
  }
}

}  // namespace swf::author
