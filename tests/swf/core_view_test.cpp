// The view: show all, no scale and zoom map the stage onto the control.
#include <gtest/gtest.h>

#include <cmath>

#include "core_test_movies.h"

namespace {

using namespace rvtest;
using swf::Player;

std::vector<uint8_t> stage(int w, int h, double rate = 12) {
  SwfWriter sw(6, w, h, rate);
  sw.showFrame();
  return sw.finish();
}

void expectMaps(const swf::Matrix& m, double twipX, double twipY, double px, double py) {
  EXPECT_NEAR(m.a * twipX + m.c * twipY + m.tx, px, 1e-9);
  EXPECT_NEAR(m.b * twipX + m.d * twipY + m.ty, py, 1e-9);
}

TEST(CoreView, ShowAllKeepsTheAspectAndCentres) {
  Player p;
  show(p, stage(400, 300));
  EXPECT_EQ(p.scaleMode(), 2);
  // Wider control: bands left and right.
  auto m = p.stageToDevice(800, 300);
  expectMaps(m, 0, 0, 200, 0);
  expectMaps(m, 8000, 6000, 600, 300);
  // Taller control: bands above and below, scaled down.
  m = p.stageToDevice(200, 400);
  expectMaps(m, 0, 0, 0, 125);
  expectMaps(m, 8000, 6000, 200, 275);
}

TEST(CoreView, NoScaleCentresAtOnePixelPerPixel) {
  Player p;
  show(p, stage(400, 300));
  p.setScaleMode(3);
  auto m = p.stageToDevice(1000, 1000);
  expectMaps(m, 0, 0, 300, 350);
  expectMaps(m, 8000, 6000, 700, 650);
}

TEST(CoreView, ZoomIsRelativeAndZeroShowsTheWholeStage) {
  Player p;
  show(p, stage(400, 300));
  p.zoom(50);  // half the stage shown: twice as big
  auto m = p.stageToDevice(400, 300);
  expectMaps(m, 4000, 3000, 200, 150);  // the centre stays put
  expectMaps(m, 2000, 1500, 0, 0);
  p.zoom(200);  // back to the whole stage
  expectMaps(p.stageToDevice(400, 300), 0, 0, 0, 0);
  p.zoom(80);
  p.zoom(125);
  expectMaps(p.stageToDevice(400, 300), 8000, 6000, 400, 300);
  p.zoom(125);  // shows more than the stage
  p.zoom(0);
  expectMaps(p.stageToDevice(400, 300), 8000, 6000, 400, 300);
  // Zoom works in no-scale mode as well.
  p.setScaleMode(3);
  p.zoom(50);
  expectMaps(p.stageToDevice(400, 300), 6000, 4500, 400, 300);
  // Endless zooming in stays finite.
  for (int i = 0; i < 200; ++i) p.zoom(10);
  auto deep = p.stageToDevice(400, 300);
  EXPECT_TRUE(std::isfinite(deep.a) && std::isfinite(deep.tx));
}

TEST(CoreView, RenderPaintsTheBackgroundAndToleratesOddSizes) {
  SwfWriter sw(6, 10, 10, 12);
  sw.setBackgroundColor({0, 128, 255, 255});
  sw.showFrame();
  Player p;
  show(p, sw.finish());
  for (auto [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {30, 7}, {0, 0}}) {
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(w, 1), std::max(h, 1));
    cairo_t* cr = cairo_create(s);
    p.render(cr, w, h);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    if (w > 0) {
      uint32_t px = *reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
      EXPECT_EQ(px, 0xff0080ffu);
    }
    cairo_surface_destroy(s);
  }
}

TEST(CoreView, FrameRateAndVersion) {
  Player p;
  EXPECT_EQ(p.frameRate(), 0);
  show(p, stage(10, 10, 0));
  EXPECT_GT(p.frameRate(), 0);  // a rate of 0 still runs
  step(p);
  show(p, stage(10, 10, 0.5));
  EXPECT_DOUBLE_EQ(p.frameRate(), 0.5);
  EXPECT_EQ(Player::flashVersion(), 0x00050000);
  EXPECT_EQ(p.quality(), 1);
  p.setQuality(0);
  EXPECT_EQ(p.quality(), 0);
  EXPECT_TRUE(p.loop());
}

}  // namespace
