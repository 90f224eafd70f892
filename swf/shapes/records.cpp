// The small records shared by every tag: rectangles, matrices, colours, colour transforms.
#include "swf/movie/character.h"

namespace swf {

Rect readRect(BitReader& r) {
  r.align();
  unsigned n = r.ub(5);
  Rect rc;
  rc.xMin = r.sb(n);
  rc.xMax = r.sb(n);
  rc.yMin = r.sb(n);
  rc.yMax = r.sb(n);
  r.align();
  return rc;
}

Matrix readMatrix(BitReader& r) {
  r.align();
  Matrix m;
  if (r.flag()) {
    unsigned n = r.ub(5);
    m.a = r.fb(n);
    m.d = r.fb(n);
  }
  if (r.flag()) {
    unsigned n = r.ub(5);
    m.b = r.fb(n);
    m.c = r.fb(n);
  }
  unsigned n = r.ub(5);
  m.tx = r.sb(n);
  m.ty = r.sb(n);
  r.align();
  return m;
}

ColorTransform readColorTransform(BitReader& r, bool withAlpha) {
  r.align();
  ColorTransform cx;
  bool hasAdd = r.flag(), hasMult = r.flag();
  unsigned n = r.ub(4);
  if (hasMult) {
    cx.rm = r.sb(n) / 256.0;
    cx.gm = r.sb(n) / 256.0;
    cx.bm = r.sb(n) / 256.0;
    if (withAlpha) cx.am = r.sb(n) / 256.0;
  }
  if (hasAdd) {
    cx.ra = r.sb(n);
    cx.ga = r.sb(n);
    cx.ba = r.sb(n);
    if (withAlpha) cx.aa = r.sb(n);
  }
  r.align();
  return cx;
}

RGBA readRGB(BitReader& r) {
  RGBA c;
  c.r = r.u8();
  c.g = r.u8();
  c.b = r.u8();
  return c;
}

RGBA readRGBA(BitReader& r) {
  RGBA c = readRGB(r);
  c.a = r.u8();
  return c;
}

}  // namespace swf
