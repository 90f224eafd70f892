#include "swf/author/records.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace swf::author {
namespace {

unsigned bitsFor(std::initializer_list<int32_t> values) {
  unsigned n = 0;
  for (int32_t v : values) n = std::max(n, BitWriter::signedBits(v));
  return n;
}

int32_t toFixed16(double v) { return int32_t(std::lround(v * 65536.0)); }

// A matrix part: its flag, then (when present) its bit count and two 16.16 values.
void writeFixedPair(BitWriter& w, bool present, double first, double second) {
  w.flag(present);
  if (!present) return;
  int32_t x = toFixed16(first), y = toFixed16(second);
  unsigned n = bitsFor({x, y});
  w.ub(5, n);
  w.sb(n, x);
  w.sb(n, y);
}

}  // namespace

void writeRect(BitWriter& w, const Rect& r) {
  w.align();
  unsigned n = bitsFor({r.xMin, r.xMax, r.yMin, r.yMax});
  w.ub(5, n);
  w.sb(n, r.xMin);
  w.sb(n, r.xMax);
  w.sb(n, r.yMin);
  w.sb(n, r.yMax);
  w.align();
}

void writeMatrix(BitWriter& w, const Matrix& m) {
  w.align();
  writeFixedPair(w, m.a != 1 || m.d != 1, m.a, m.d);  // scale
  writeFixedPair(w, m.b != 0 || m.c != 0, m.b, m.c);  // rotate and skew
  int32_t tx = int32_t(std::lround(m.tx)), ty = int32_t(std::lround(m.ty));
  unsigned n = (tx == 0 && ty == 0) ? 0 : bitsFor({tx, ty});
  w.ub(5, n);
  w.sb(n, tx);
  w.sb(n, ty);
  w.align();
}

void writeColorTransform(BitWriter& w, const ColorTransform& cx, bool withAlpha) {
  w.align();
  auto mul = [](double v) { return int32_t(std::lround(v * 256)); };
  auto add = [](double v) { return int32_t(std::lround(v)); };
  bool hasMult = cx.rm != 1 || cx.gm != 1 || cx.bm != 1 || (withAlpha && cx.am != 1);
  bool hasAdd = cx.ra != 0 || cx.ga != 0 || cx.ba != 0 || (withAlpha && cx.aa != 0);
  unsigned n = 0;
  if (hasMult) n = std::max(n, bitsFor({mul(cx.rm), mul(cx.gm), mul(cx.bm), mul(cx.am)}));
  if (hasAdd) n = std::max(n, bitsFor({add(cx.ra), add(cx.ga), add(cx.ba), add(cx.aa)}));
  w.flag(hasAdd);
  w.flag(hasMult);
  w.ub(4, n);
  if (hasMult) {
    w.sb(n, mul(cx.rm));
    w.sb(n, mul(cx.gm));
    w.sb(n, mul(cx.bm));
    if (withAlpha) w.sb(n, mul(cx.am));
  }
  if (hasAdd) {
    w.sb(n, add(cx.ra));
    w.sb(n, add(cx.ga));
    w.sb(n, add(cx.ba));
    if (withAlpha) w.sb(n, add(cx.aa));
  }
  w.align();
}

void writeRGB(BitWriter& w, RGBA c) {
  w.u8(c.r);
  w.u8(c.g);
  w.u8(c.b);
}

void writeRGBA(BitWriter& w, RGBA c) {
  writeRGB(w, c);
  w.u8(c.a);
}

}  // namespace swf::author
