#include "swf/author/shape_builder.h"

#include <algorithm>
#include <cmath>

#include "swf/author/records.h"

namespace swf::author {

int ShapeBuilder::solidFill(RGBA c) {
  Fill f;
  f.type = 0x00;
  f.color = c;
  fills_.push_back(f);
  return int(fills_.size());
}

int ShapeBuilder::linearGradient(const Matrix& m, std::vector<GradientStop> stops) {
  Fill f;
  f.type = 0x10;
  f.matrix = m;
  f.stops = std::move(stops);
  fills_.push_back(f);
  return int(fills_.size());
}

int ShapeBuilder::radialGradient(const Matrix& m, std::vector<GradientStop> stops) {
  int i = linearGradient(m, std::move(stops));
  fills_.back().type = 0x12;
  return i;
}

int ShapeBuilder::bitmapFill(uint16_t bitmapId, const Matrix& m, bool repeat, bool smooth) {
  Fill f;
  f.type = 0x40 | (repeat ? 0 : 1) | (smooth ? 0 : 2);
  f.matrix = m;
  f.bitmapId = bitmapId;
  fills_.push_back(f);
  return int(fills_.size());
}

int ShapeBuilder::lineStyle(int widthTwips, RGBA c) {
  lines_.push_back({widthTwips, c});
  maxLineWidth_ = std::max(maxLineWidth_, widthTwips);
  return int(lines_.size());
}

void ShapeBuilder::grow(int x, int y, int pad) {
  if (empty_) {
    bounds_ = {x - pad, x + pad, y - pad, y + pad};
    empty_ = false;
    return;
  }
  bounds_.xMin = std::min(bounds_.xMin, x - pad);
  bounds_.xMax = std::max(bounds_.xMax, x + pad);
  bounds_.yMin = std::min(bounds_.yMin, y - pad);
  bounds_.yMax = std::max(bounds_.yMax, y + pad);
}

ShapeBuilder::Record& ShapeBuilder::styleRecord() {
  if (records_.empty() || records_.back().kind != Record::Style) {
    Record r{Record::Style};
    records_.push_back(r);
  }
  return records_.back();
}

void ShapeBuilder::moveTo(int x, int y) {
  Record r{Record::Move};
  r.x = x;
  r.y = y;
  records_.push_back(r);
  penX_ = x;
  penY_ = y;
}

void ShapeBuilder::lineTo(int x, int y) {
  grow(penX_, penY_, maxLineWidth_ / 2);
  grow(x, y, maxLineWidth_ / 2);
  Record r{Record::Straight};
  r.x = x;
  r.y = y;
  records_.push_back(r);
  penX_ = x;
  penY_ = y;
}

void ShapeBuilder::curveTo(int cx, int cy, int x, int y) {
  grow(penX_, penY_, maxLineWidth_ / 2);
  grow(cx, cy, maxLineWidth_ / 2);
  grow(x, y, maxLineWidth_ / 2);
  Record r{Record::Curve};
  r.cx = cx;
  r.cy = cy;
  r.x = x;
  r.y = y;
  records_.push_back(r);
  penX_ = x;
  penY_ = y;
}

void ShapeBuilder::setFill0(int style) { styleRecord().fill0 = style; }
void ShapeBuilder::setFill1(int style) { styleRecord().fill1 = style; }
void ShapeBuilder::setLine(int style) { styleRecord().line = style; }

void ShapeBuilder::rectangle(int x, int y, int w, int h) {
  moveTo(x, y);
  lineTo(x + w, y);
  lineTo(x + w, y + h);
  lineTo(x, y + h);
  lineTo(x, y);
}

void ShapeBuilder::ellipse(int cx, int cy, int rx, int ry) {
  // Eight 45° arcs; the control point of each lies at radius / cos(22.5°).
  const double k = 1 / std::cos(M_PI / 8);
  moveTo(cx + rx, cy);
  for (int i = 1; i <= 8; ++i) {
    double mid = (i - 0.5) * M_PI / 4, end = i * M_PI / 4;
    curveTo(int(std::lround(cx + rx * k * std::cos(mid))),
            int(std::lround(cy + ry * k * std::sin(mid))),
            int(std::lround(cx + rx * std::cos(end))), int(std::lround(cy + ry * std::sin(end))));
  }
}

Rect ShapeBuilder::bounds() const { return bounds_; }

void ShapeBuilder::writeShapeWithStyle(BitWriter& w, int version) const {
  bool alpha = version >= 3;
  size_t n = fills_.size();
  if (n < 255) {
    w.u8(uint8_t(n));
  } else {
    w.u8(0xff);
    w.u16(uint16_t(n));
  }
  for (const Fill& f : fills_) {
    w.u8(uint8_t(f.type));
    if (f.type == 0x00) {
      alpha ? writeRGBA(w, f.color) : writeRGB(w, f.color);
    } else if (f.type == 0x10 || f.type == 0x12) {
      writeMatrix(w, f.matrix);
      w.u8(uint8_t(std::min<size_t>(f.stops.size(), 15)));
      for (size_t i = 0; i < f.stops.size() && i < 15; ++i) {
        w.u8(f.stops[i].ratio);
        alpha ? writeRGBA(w, f.stops[i].color) : writeRGB(w, f.stops[i].color);
      }
    } else {
      w.u16(f.bitmapId);
      writeMatrix(w, f.matrix);
    }
  }
  size_t nl = lines_.size();
  if (nl < 255) {
    w.u8(uint8_t(nl));
  } else {
    w.u8(0xff);
    w.u16(uint16_t(nl));
  }
  for (const Line& l : lines_) {
    w.u16(uint16_t(l.width));
    alpha ? writeRGBA(w, l.color) : writeRGB(w, l.color);
  }
  unsigned fillBits = BitWriter::unsignedBits(uint32_t(n));
  unsigned lineBits = BitWriter::unsignedBits(uint32_t(nl));
  w.ub(4, fillBits);
  w.ub(4, lineBits);
  writeRecords(w, fillBits, lineBits);
}

void ShapeBuilder::writeGlyph(BitWriter& w) const {
  w.ub(4, 1);
  w.ub(4, 0);
  writeRecords(w, 1, 0);
}

void ShapeBuilder::writeRecords(BitWriter& w, unsigned fillBits, unsigned lineBits) const {
  int x = 0, y = 0;
  for (size_t i = 0; i < records_.size(); ++i) {
    const Record& r = records_[i];
    switch (r.kind) {
      case Record::Style:
      case Record::Move: {
        // A style change and a following move share one record.
        const Record* style = r.kind == Record::Style ? &r : nullptr;
        const Record* move = r.kind == Record::Move ? &r : nullptr;
        if (style && i + 1 < records_.size() && records_[i + 1].kind == Record::Move)
          move = &records_[++i];
        bool f0 = style && style->fill0 >= 0, f1 = style && style->fill1 >= 0,
             ln = style && style->line >= 0;
        w.ub(1, 0);
        w.flag(false);  // new styles
        w.flag(ln);
        w.flag(f1);
        w.flag(f0);
        w.flag(move != nullptr);
        if (move) {
          unsigned n = std::max(BitWriter::signedBits(move->x), BitWriter::signedBits(move->y));
          w.ub(5, n);
          w.sb(n, move->x);
          w.sb(n, move->y);
          x = move->x;
          y = move->y;
        }
        if (f0) w.ub(fillBits, uint32_t(style->fill0));
        if (f1) w.ub(fillBits, uint32_t(style->fill1));
        if (ln) w.ub(lineBits, uint32_t(style->line));
        break;
      }
      case Record::Straight: {
        int dx = r.x - x, dy = r.y - y;
        unsigned n = std::max({BitWriter::signedBits(dx), BitWriter::signedBits(dy), 2u});
        w.ub(1, 1);
        w.ub(1, 1);
        w.ub(4, n - 2);
        if (dx != 0 && dy != 0) {
          w.flag(true);
          w.sb(n, dx);
          w.sb(n, dy);
        } else {
          w.flag(false);
          w.flag(dx == 0);  // vertical
          w.sb(n, dx == 0 ? dy : dx);
        }
        x = r.x;
        y = r.y;
        break;
      }
      case Record::Curve: {
        int cdx = r.cx - x, cdy = r.cy - y, adx = r.x - r.cx, ady = r.y - r.cy;
        unsigned n = std::max({BitWriter::signedBits(cdx), BitWriter::signedBits(cdy),
                               BitWriter::signedBits(adx), BitWriter::signedBits(ady), 2u});
        w.ub(1, 1);
        w.ub(1, 0);
        w.ub(4, n - 2);
        w.sb(n, cdx);
        w.sb(n, cdy);
        w.sb(n, adx);
        w.sb(n, ady);
        x = r.x;
        y = r.y;
        break;
      }
    }
  }
  w.ub(6, 0);  // end of shape
  w.align();
}

}  // namespace swf::author
