#include "ui/tool_bar_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "skins/tool_bar.h"

namespace rv::ui {
namespace {

const QColor kGlyph(222, 228, 232);
const QColor kLime(96, 230, 72);
const QColor kEdge(8, 10, 12);

// A transparent picture of `w` × `h` pixels drawn at the screen's pixel density.
QImage canvas(int w, int h, qreal dpr) {
  QImage img(QSize(w, h) * dpr, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(dpr);
  img.fill(Qt::transparent);
  return img;
}

QRectF rectOf(const Control& c) { return QRectF(c.left, c.top, c.width, c.height); }

void buttonFace(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setPen(QPen(kEdge, 1));
  p.setBrush(g);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  p.drawLine(r.topLeft() + QPointF(3.5, 1.5), r.topRight() + QPointF(-3.5, 1.5));
}

void triangle(QPainter& p, qreal x, qreal cy, qreal w, qreal h, bool right) {
  QPainterPath path;
  if (right) {
    path.moveTo(x, cy - h / 2);
    path.lineTo(x + w, cy);
    path.lineTo(x, cy + h / 2);
  } else {
    path.moveTo(x + w, cy - h / 2);
    path.lineTo(x, cy);
    path.lineTo(x + w, cy + h / 2);
  }
  path.closeSubpath();
  p.fillPath(path, kGlyph);
}

// The glyph of one of the bar's buttons, centred in its spot.
void glyph(QPainter& p, const std::string& name, const QRectF& r) {
  const qreal cx = r.center().x(), cy = r.center().y();
  if (name == "play") {
    triangle(p, cx - 3, cy, 7, 9, true);
  } else if (name == "stop") {
    p.fillRect(QRectF(cx - 4, cy - 4.5, 3, 9), kGlyph);
    p.fillRect(QRectF(cx + 1, cy - 4.5, 3, 9), kGlyph);
  } else if (name == "previousmovie") {
    p.fillRect(QRectF(cx - 5, cy - 4, 2, 8), kGlyph);
    triangle(p, cx - 3, cy, 4, 8, false);
    triangle(p, cx + 1, cy, 4, 8, false);
  } else if (name == "nextmovie") {
    triangle(p, cx - 5, cy, 4, 8, true);
    triangle(p, cx - 1, cy, 4, 8, true);
    p.fillRect(QRectF(cx + 3, cy - 4, 2, 8), kGlyph);
  } else if (name == "rewind") {
    triangle(p, cx - 5, cy, 5, 8, false);
    triangle(p, cx, cy, 5, 8, false);
  } else if (name == "closeme") {
    p.setPen(QPen(kGlyph, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - 3.5, cy - 3.5), QPointF(cx + 3.5, cy + 3.5));
    p.drawLine(QPointF(cx - 3.5, cy + 3.5), QPointF(cx + 3.5, cy - 3.5));
  }
}

}  // namespace

QImage toolBarBackground(const ToolBar& bar, qreal dpr) {
  const int w = ToolBar::kWidth, h = ToolBar::kHeight;
  QImage img = canvas(w, h, dpr);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);

  // The bar: dark brushed slate with a lit top edge.
  QLinearGradient body(0, 0, 0, h);
  body.setColorAt(0, QColor(58, 64, 72));
  body.setColorAt(0.5, QColor(36, 40, 46));
  body.setColorAt(1, QColor(22, 25, 29));
  p.fillRect(QRectF(0, 0, w, h), body);
  p.setPen(QPen(kEdge, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
  p.setPen(QPen(QColor(255, 255, 255, 46), 1));
  p.drawLine(QPointF(1.5, 1.5), QPointF(w - 1.5, 1.5));

  // The seek groove under the track.
  const QRectF track = rectOf(bar.controls.at("Image2"));
  QLinearGradient groove(track.topLeft(), track.bottomLeft());
  groove.setColorAt(0, QColor(6, 7, 8));
  groove.setColorAt(1, QColor(30, 34, 38));
  p.setPen(QPen(QColor(80, 88, 96), 1));
  p.setBrush(groove);
  p.drawRoundedRect(track.adjusted(0.5, 1.5, -0.5, -1.5), 3, 3);
  p.setPen(QPen(QColor(kLime.red(), kLime.green(), kLime.blue(), 90), 1));
  p.drawLine(QPointF(track.left() + 3, track.center().y()),
             QPointF(track.right() - 3, track.center().y()));

  // The read-out window behind the labels.
  const QRectF readout(100, 17, 81, 27);
  p.setPen(QPen(QColor(90, 98, 106), 1));
  p.setBrush(QColor(6, 12, 6));
  p.drawRoundedRect(readout.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);

  for (const char* name : {"play", "stop", "previousmovie", "nextmovie", "rewind", "closeme"}) {
    const QRectF r = rectOf(bar.controls.at(name));
    buttonFace(p, r, QColor(74, 82, 92), QColor(34, 38, 44));
    glyph(p, name, r);
  }
  return img;
}

QImage toolBarKnob(qreal dpr) {
  QImage img = canvas(10, 16, dpr);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(0, 0, 10, 16).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, QColor(246, 248, 250));
  g.setColorAt(1, QColor(150, 160, 170));
  p.setPen(QPen(kEdge, 1));
  p.setBrush(g);
  p.drawRoundedRect(r, 3.5, 3.5);
  p.setPen(QPen(QColor(40, 150, 30), 2));
  p.drawLine(QPointF(5, 4), QPointF(5, 12));
  return img;
}

QImage toolBarNormalViewButton(qreal dpr) {
  QImage img = canvas(17, 19, dpr);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  buttonFace(p, QRectF(0, 0, 17, 19), QColor(70, 128, 60), QColor(28, 70, 24));
  // Two windows, the smaller in front: back to the windowed view.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGlyph, 1.2));
  p.drawRect(QRectF(6.5, 4.5, 7, 6));
  p.setBrush(QColor(28, 70, 24));
  p.drawRect(QRectF(3.5, 8.5, 7, 6));
  p.fillRect(QRectF(3.5, 8.5, 7, 2), kGlyph);
  return img;
}

}  // namespace rv::ui
