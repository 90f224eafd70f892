// Small shapes copied from tiles look as they do drawn directly, at any sub-pixel position.
#include "draw_support.h"
#include "swf/render/shape_tile_cache.h"

namespace drawtest {
namespace {

int largestDifference(const Frame& a, const Frame& b, int w, int h) {
  int worst = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      swf::RGBA p = a.at(x, y), q = b.at(x, y);
      for (int d : {p.r - q.r, p.g - q.g, p.b - q.b, p.a - q.a})
        worst = std::max(worst, std::abs(d));
    }
  return worst;
}

TEST(DrawShapeTiles, TilesDrawWhatDirectDrawingDraws) {
  ShapeBuilder s;
  s.setFill1(s.solidFill({40, 120, 220, 200}));
  s.setLine(s.lineStyle(30, kBlack));
  s.ellipse(0, 0, 130, 90);
  std::shared_ptr<const swf::Character> dot = shape(s);
  Stage st;
  // Positions in twips: whole pixels and every kind of sub-pixel phase, one faded.
  const double at[][2] = {{200, 200}, {437, 213}, {611, 590}, {809, 811}, {1003, 395}};
  int depth = 1;
  for (auto& p : at) st.place(depth++, dot, translate(p[0], p[1]));
  st.place(depth, dot, {0.8, 0.3, -0.3, 0.8, 300, 900}).cxform.am = 0.5;
  const int w = 70, h = 60;
  swf::clearShapeTiles();
  Frame direct(st.root, w, h);  // every look seen once: drawn directly
  EXPECT_EQ(swf::shapeTileCount(), 0u);
  Frame made(st.root, w, h);  // seen twice: tiles made and used
  EXPECT_EQ(swf::shapeTileCount(), std::size(at) + 1);
  Frame reused(st.root, w, h);
  EXPECT_LE(largestDifference(direct, made, w, h), 1);
  EXPECT_LE(largestDifference(direct, reused, w, h), 1);
  // A whole-pixel move shares the tile.
  for (auto& [d, obj] : st.root.children) obj->matrix.tx += 20;
  Frame moved(st.root, w + 1, h);
  EXPECT_EQ(swf::shapeTileCount(), std::size(at) + 1);
  swf::clearShapeTiles();
}

}  // namespace
}  // namespace drawtest
