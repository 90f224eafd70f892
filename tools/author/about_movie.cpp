#include <cmath>

#include "movies.h"
#include "pixel_font.h"
#include "swf/author/action_builder.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/button.h"

namespace rvauthor {
namespace {

using namespace swf::author;
using swf::Matrix;
using swf::RGBA;

enum : uint16_t {
  kFont = 1,
  kBackdrop,
  kTitle,
  kVersion,
  kButtonUp,
  kButtonOver,
  kButtonDown,
  kButtonHit,
  kButtonLabel,
  kButton,
  kReel,
};

constexpr int kW = 400 * 20, kH = 300 * 20;

// A text character of one line, centred on x.
void centredText(SwfWriter& w, const PixelFont& font, uint16_t id, const std::string& text, int cx,
                 int baseline, int height, RGBA color) {
  int width = font.width(text, height);
  int x = cx - width / 2;
  swf::Rect bounds{x, x + width, baseline - height, baseline + height / 4};
  w.defineText(id, bounds, {font.record(kFont, text, x, baseline, height, color)});
}

ShapeBuilder buttonFace(RGBA top, RGBA bottom, RGBA border) {
  ShapeBuilder s;
  // A vertical gradient: the gradient square's x axis runs down the face.
  Matrix g;
  g.a = 0;
  g.d = 0;
  g.b = 560 / 32768.0;
  g.c = -2000 / 32768.0;
  int fill = s.linearGradient(g, {{0, top}, {255, bottom}});
  int line = s.lineStyle(30, border);
  s.setFill1(fill);
  s.setLine(line);
  const int w = 2000, h = 560, r = 120;
  int x = -w / 2, y = -h / 2;
  s.moveTo(x + r, y);
  s.lineTo(x + w - r, y);
  s.curveTo(x + w, y, x + w, y + r);
  s.lineTo(x + w, y + h - r);
  s.curveTo(x + w, y + h, x + w - r, y + h);
  s.lineTo(x + r, y + h);
  s.curveTo(x, y + h, x, y + h - r);
  s.lineTo(x, y + r);
  s.curveTo(x, y, x + r, y);
  return s;
}

}  // namespace

std::vector<uint8_t> aboutMovie(const std::string& version) {
  PixelFont font;
  SwfWriter w(5, 400, 300, 12);
  w.setBackgroundColor({24, 28, 44, 255});
  w.defineFont2(kFont, "Reelvista Pixel", font.glyphs(), PixelFont::kAscent, PixelFont::kDescent);

  // A soft radial glow behind the title and a band along the bottom.
  ShapeBuilder back;
  Matrix glow;
  glow.a = glow.d = kW / 32768.0 * 1.2;
  glow.tx = kW / 2;
  glow.ty = kH * 0.35;
  int glowFill = back.radialGradient(glow, {{0, {70, 90, 160, 255}}, {255, {24, 28, 44, 255}}});
  back.setFill1(glowFill);
  back.rectangle(0, 0, kW, kH);
  int band = back.solidFill({40, 46, 70, 255});
  back.setFill1(band);
  back.rectangle(0, kH - 1600, kW, 1600);
  w.defineShape(kBackdrop, back);

  // A film reel as an emblem.
  ShapeBuilder reel;
  int rim = reel.solidFill({230, 180, 60, 255});
  int hole = reel.solidFill({24, 28, 44, 255});
  reel.setFill1(rim);
  reel.ellipse(0, 0, 700, 700);
  reel.setFill1(hole);
  for (int i = 0; i < 5; ++i) {
    double a = i * 2 * M_PI / 5 - M_PI / 2;
    reel.ellipse(int(420 * std::cos(a)), int(420 * std::sin(a)), 150, 150);
  }
  reel.ellipse(0, 0, 90, 90);
  w.defineShape(kReel, reel);

  centredText(w, font, kTitle, "Reelvista", kW / 2, 2700, 900, {255, 255, 255, 255});
  centredText(w, font, kVersion, "Version " + version, kW / 2, 3500, 360, {190, 200, 230, 255});

  w.defineShape(kButtonUp,
                buttonFace({90, 110, 190, 255}, {50, 60, 120, 255}, {200, 210, 255, 255}));
  w.defineShape(kButtonOver,
                buttonFace({120, 140, 220, 255}, {70, 80, 150, 255}, {255, 255, 255, 255}));
  w.defineShape(kButtonDown,
                buttonFace({40, 50, 110, 255}, {80, 100, 180, 255}, {255, 255, 255, 255}));
  ShapeBuilder hit;
  hit.setFill1(hit.solidFill({0, 0, 0, 255}));
  hit.rectangle(-1000, -280, 2000, 560);
  w.defineShape(kButtonHit, hit);
  centredText(w, font, kButtonLabel, "OK", 0, 120, 280, {255, 255, 255, 255});

  std::vector<ButtonPart> records = {
      {swf::kButtonUp, kButtonUp, 1, {}, {}},
      {swf::kButtonOver, kButtonOver, 1, {}, {}},
      {swf::kButtonDown, kButtonDown, 1, {}, {}},
      {swf::kButtonHit, kButtonHit, 1, {}, {}},
      {swf::kButtonUp | swf::kButtonOver | swf::kButtonDown, kButtonLabel, 2, {}, {}},
  };
  auto exitActions = ActionBuilder().getURL("FSCommand:aboutexit", "").build();
  w.defineButton2(kButton, records, {{swf::kCondOverDownToOverUp, exitActions}});

  w.placeObject2(placeNew(1, kBackdrop));
  Matrix reelAt;
  reelAt.tx = kW / 2;
  reelAt.ty = 1000;
  w.placeObject2(placeNew(2, kReel, reelAt));
  w.placeObject2(placeNew(3, kTitle));
  w.placeObject2(placeNew(4, kVersion));
  Matrix buttonAt;
  buttonAt.tx = kW / 2;
  buttonAt.ty = kH - 800;
  PlaceParams button = placeNew(5, kButton, buttonAt);
  button.name = "ok";
  w.placeObject2(button);
  w.doAction(ActionBuilder().stop().build());
  w.showFrame();
  return w.finish(swf::Compression::Zlib);
}

}  // namespace rvauthor
