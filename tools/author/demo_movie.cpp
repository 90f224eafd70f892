#include <cmath>

#include "movies.h"
#include "pixel_font.h"
#include "swf/author/action_builder.h"
#include "swf/author/swf_writer.h"

namespace rvauthor {
namespace {

using namespace swf::author;
using swf::ColorTransform;
using swf::Matrix;
using swf::RGBA;

enum : uint16_t {
  kFont = 1,
  kSky,
  kSun,
  kHills,
  kStar,
  kBall,
  kShadow,
  kTitle,
  kChecker,
  kPanel,
  kDot,
  kRing,
};

constexpr int kWidthPx = 550, kHeightPx = 400;
constexpr int kW = kWidthPx * 20, kH = kHeightPx * 20;
constexpr int kFps = 24, kFrames = 5 * kFps;

Matrix placeAt(double x, double y, double scale = 1, double angle = 0) {
  Matrix m;
  m.a = scale * std::cos(angle);
  m.b = scale * std::sin(angle);
  m.c = -scale * std::sin(angle);
  m.d = scale * std::cos(angle);
  m.tx = x;
  m.ty = y;
  return m;
}

Matrix gradientBox(double x, double y, double w, double h, double angle = 0) {
  // Maps the gradient square (-16384..16384) onto the box, rotated about its centre.
  Matrix m = placeAt(x + w / 2, y + h / 2, 1, angle);
  Matrix s;
  s.a = w / 32768;
  s.d = h / 32768;
  return m * s;
}

ShapeBuilder star(int points, int outer, int inner) {
  ShapeBuilder s;
  int fill = s.linearGradient(
      gradientBox(-outer, -outer, 2 * outer, 2 * outer, M_PI / 4),
      {{0, {255, 220, 80, 255}}, {128, {255, 120, 40, 255}}, {255, {220, 40, 120, 255}}});
  int line = s.lineStyle(40, {255, 250, 220, 255});
  s.setFill1(fill);
  s.setLine(line);
  for (int i = 0; i <= 2 * points; ++i) {
    double a = i * M_PI / points - M_PI / 2;
    int r = i % 2 ? inner : outer;
    int x = int(std::lround(r * std::cos(a))), y = int(std::lround(r * std::sin(a)));
    if (i == 0)
      s.moveTo(x, y);
    else
      s.lineTo(x, y);
  }
  return s;
}

std::vector<uint32_t> checkerPixels(int size) {
  std::vector<uint32_t> px(size_t(size) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      bool dark = ((x / 8) + (y / 8)) % 2;
      uint32_t r = uint32_t(120 + 120 * x / size), g = uint32_t(80 + 150 * y / size), b = 200;
      if (dark) {
        r /= 2;
        g /= 2;
        b /= 2;
      }
      px[size_t(y) * size + x] = 0xff000000u | (r << 16) | (g << 8) | b;
    }
  return px;
}

}  // namespace

std::vector<uint8_t> demoMovie() {
  PixelFont font;
  SwfWriter w(6, kWidthPx, kHeightPx, kFps);
  w.setBackgroundColor({16, 20, 48, 255});
  w.defineFont2(kFont, "Reelvista Pixel", font.glyphs(), PixelFont::kAscent, PixelFont::kDescent);

  ShapeBuilder sky;
  sky.setFill1(sky.linearGradient(
      gradientBox(0, 0, kW, kH, M_PI / 2),
      {{0, {20, 30, 90, 255}}, {160, {120, 70, 140, 255}}, {255, {250, 150, 90, 255}}}));
  sky.rectangle(0, 0, kW, kH);
  w.defineShape(kSky, sky);

  ShapeBuilder sun;
  Matrix glow;
  glow.a = glow.d = 2400 / 16384.0;
  sun.setFill1(sun.radialGradient(
      glow, {{0, {255, 255, 220, 255}}, {90, {255, 220, 90, 255}}, {255, {255, 120, 40, 0}}}));
  sun.ellipse(0, 0, 2400, 2400);
  w.defineShape(kSun, sun);

  ShapeBuilder hills;
  hills.setFill1(hills.solidFill({30, 70, 60, 255}));
  hills.moveTo(0, kH);
  hills.lineTo(0, kH - 1800);
  hills.curveTo(kW / 4, kH - 3600, kW / 2, kH - 2000);
  hills.curveTo(kW * 3 / 4, kH - 600, kW, kH - 2400);
  hills.lineTo(kW, kH);
  hills.lineTo(0, kH);
  hills.setFill1(hills.solidFill({20, 50, 45, 255}));
  hills.moveTo(0, kH);
  hills.lineTo(0, kH - 900);
  hills.curveTo(kW / 3, kH - 2000, kW * 2 / 3, kH - 1000);
  hills.curveTo(kW * 5 / 6, kH - 500, kW, kH - 1200);
  hills.lineTo(kW, kH);
  hills.lineTo(0, kH);
  w.defineShape(kHills, hills);

  w.defineShape(kStar, star(5, 1200, 500));

  ShapeBuilder ball;
  Matrix shine;
  shine.a = shine.d = 900 / 16384.0;
  shine.tx = -250;
  shine.ty = -250;
  ball.setFill1(ball.radialGradient(
      shine, {{0, {255, 255, 255, 255}}, {60, {120, 200, 255, 255}}, {255, {20, 60, 160, 255}}}));
  ball.ellipse(0, 0, 600, 600);
  w.defineShape(kBall, ball);

  ShapeBuilder shadow;
  shadow.setFill1(shadow.solidFill({0, 0, 0, 90}));
  shadow.ellipse(0, 0, 600, 160);
  w.defineShape(kShadow, shadow);

  // A bitmap shown through a rounded panel.
  constexpr int kTile = 64;
  auto pixels = checkerPixels(kTile);
  w.defineBitsLossless2(kChecker, kTile, kTile, pixels);
  ShapeBuilder panel;
  Matrix tile;
  tile.a = tile.d = 20;  // one bitmap pixel per screen pixel
  panel.setFill1(panel.bitmapFill(kChecker, tile, true, false));
  panel.setLine(panel.lineStyle(60, {255, 255, 255, 200}));
  panel.rectangle(-1400, -900, 2800, 1800);
  w.defineShape(kPanel, panel);

  // Three dots lighting up in turn. They run on the main timeline, so a paused demo is a still
  // picture that costs nothing to show.
  ShapeBuilder dot;
  dot.setFill1(dot.solidFill({255, 255, 255, 255}));
  dot.ellipse(0, 0, 140, 140);
  w.defineShape(kDot, dot);

  ShapeBuilder ring;
  ring.setLine(ring.lineStyle(80, {255, 255, 255, 255}));
  ring.ellipse(0, 0, 1000, 1000);
  w.defineShape(kRing, ring);

  int titleHeight = 720;
  int titleWidth = font.width("Reelvista", titleHeight);
  w.defineText(kTitle, {0, titleWidth, -titleHeight, titleHeight / 4},
               {font.record(kFont, "Reelvista", 0, 0, titleHeight, {255, 255, 255, 255})});

  enum Depth { dSky = 1, dSun, dHills, dShadow, dBall, dPanel, dStar, dRing, dTitle, dDots };
  for (int f = 0; f < kFrames; ++f) {
    double t = double(f) / kFrames;  // 0..1 over the movie
    bool first = f == 0;
    auto put = [&](int depth, uint16_t id, const Matrix& m,
                   std::optional<ColorTransform> cx = std::nullopt) {
      PlaceParams p;
      p.depth = depth;
      p.move = !first;
      if (first) p.character = id;
      p.matrix = m;
      p.cxform = cx;
      w.placeObject2(p);
    };
    if (first) {
      w.frameLabel("start");
      put(dSky, kSky, Matrix{});
      put(dHills, kHills, Matrix{});
    }
    // The sun rises along an arc.
    put(dSun, kSun,
        placeAt(kW * (0.15 + 0.7 * t), kH * (0.75 - 0.45 * std::sin(M_PI * t)), 0.8 + 0.3 * t));
    // A ball bouncing across, with a shadow squashing under it.
    double bounce = std::fabs(std::sin(t * 4 * M_PI));
    double bx = kW * (0.1 + 0.8 * t), by = kH - 1500 - bounce * 3500;
    put(dShadow, kShadow, placeAt(bx, kH - 900, 0.6 + 0.4 * (1 - bounce)));
    Matrix squash = placeAt(bx, by);
    squash.a = 1 + 0.25 * (1 - bounce);
    squash.d = 1 - 0.2 * (1 - bounce);
    put(dBall, kBall, squash);
    // The picture panel swings gently.
    put(dPanel, kPanel, placeAt(kW * 0.8, kH * 0.3, 0.9, 0.15 * std::sin(t * 2 * M_PI)));
    // The star turns and pulses, its colours cycling.
    ColorTransform starTint;
    starTint.rm = 0.6 + 0.4 * std::cos(t * 6 * M_PI);
    starTint.gm = 0.6 + 0.4 * std::cos(t * 6 * M_PI + 2);
    starTint.bm = 0.6 + 0.4 * std::cos(t * 6 * M_PI + 4);
    put(dStar, kStar,
        placeAt(kW * 0.25, kH * 0.32, 0.8 + 0.3 * std::sin(t * 8 * M_PI), t * 4 * M_PI), starTint);
    // A ring widening and fading out around the star, every second.
    double phase = std::fmod(t * 5, 1.0);
    ColorTransform fade;
    fade.am = 1 - phase;
    put(dRing, kRing, placeAt(kW * 0.25, kH * 0.32, 0.5 + 1.5 * phase), fade);
    // The title slides in, then rests.
    double slide = std::min(1.0, t * 3);
    double ease = 1 - (1 - slide) * (1 - slide);
    ColorTransform titleTint;
    titleTint.am = ease;
    put(dTitle, kTitle, placeAt(kW / 2 - titleWidth / 2, -800 + ease * 2600), titleTint);
    // The dots take turns every two frames.
    for (int i = 0; i < 3; ++i) {
      ColorTransform lit;
      lit.am = (f / 2) % 3 == i ? 1.0 : 0.3;
      put(dDots + i, kDot, placeAt(kW / 2 - 400 + i * 400.0, kH * 0.5), lit);
    }
    w.showFrame();
  }
  return w.finish(swf::Compression::Zlib);
}

}  // namespace rvauthor
