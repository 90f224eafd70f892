#include "swf/render/shape_tile_cache.h"

#include <cmath>
#include <cstring>
#include <list>
#include <unordered_map>
#include <unordered_set>

#include "swf/render/bounds.h"
#include "swf/render/cairo_util.h"
#include "swf/render/shape_painter.h"

namespace swf {

namespace {

constexpr int kMaxTileSide = 160;               // device pixels, padding included
constexpr size_t kMaxBytes = size_t(16) << 20;  // all tiles together
constexpr size_t kMaxSightings = 8192;          // looks seen once, remembered (about 1 MB)
constexpr int kPad = 2;                         // anti-aliasing and hairlines past the bounds

struct Look {
  const void* owner;  // the character's control block: never reused while an entry holds it
  double m[6];        // a, b, c, d and the sub-pixel phase of tx, ty
  double cx[8];
  bool operator==(const Look& o) const {
    return owner == o.owner && std::memcmp(m, o.m, sizeof m) == 0 &&
           std::memcmp(cx, o.cx, sizeof cx) == 0;
  }
};

struct LookHash {
  size_t operator()(const Look& k) const {
    size_t h = std::hash<const void*>()(k.owner);
    auto mix = [&h](double v) {
      uint64_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      h ^= std::hash<uint64_t>()(bits) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    };
    for (double v : k.m) mix(v);
    for (double v : k.cx) mix(v);
    return h;
  }
};

struct Tile {
  std::weak_ptr<const Character> owner;  // keeps the key's control block from being reused
  cairo_surface_t* surface;
  int x0, y0;  // the tile's pixel (0, 0) relative to the whole-pixel translation
  std::list<Look>::iterator age;
};

struct Cache {
  std::unordered_map<Look, Tile, LookHash> tiles;
  std::list<Look> ages;  // most recently used first
  std::unordered_set<Look, LookHash> seen;
  size_t bytes = 0;

  void drop(std::unordered_map<Look, Tile, LookHash>::iterator it) {
    bytes -= size_t(cairo_image_surface_get_stride(it->second.surface)) *
             size_t(cairo_image_surface_get_height(it->second.surface));
    cairo_surface_destroy(it->second.surface);
    ages.erase(it->second.age);
    tiles.erase(it);
  }
  void clear() {
    for (auto& [look, tile] : tiles) cairo_surface_destroy(tile.surface);
    tiles.clear();
    ages.clear();
    seen.clear();
    bytes = 0;
  }
  ~Cache() { clear(); }
};

Cache& cache() {
  static Cache c;
  return c;
}

// Whether the tile draws what drawing directly would: fills that do not depend on filtering
// a bitmap, and strokes whose width follows the shape's transform.
bool tileable(const ShapeDrawing& d) {
  for (const DrawLayer& layer : d.layers) {
    for (const FillStyle& f : layer.styles.fills)
      if (f.kind == FillKind::Bitmap) return false;
    for (const LineStyle& l : layer.styles.lines)
      if (l.noHScale || l.noVScale || (l.hasFill && l.fill.kind == FillKind::Bitmap)) return false;
  }
  return true;
}

cairo_surface_t* drawTile(const DrawState& s, const ShapeDrawing& d, const Matrix& phase,
                          const Box& box, int& x0, int& y0) {
  x0 = int(std::floor(box.x0)) - kPad;
  y0 = int(std::floor(box.y0)) - kPad;
  int w = int(std::ceil(box.x1)) + kPad - x0, h = int(std::ceil(box.y1)) + kPad - y0;
  if (w <= 0 || h <= 0 || w > kMaxTileSide || h > kMaxTileSide) return nullptr;
  cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return nullptr;
  }
  DrawState t = s;
  t.cr = cairo_create(tile);
  t.toDevice = phase;
  t.toDevice.tx -= x0;
  t.toDevice.ty -= y0;
  t.clipX0 = t.clipY0 = -1e300;
  t.clipX1 = t.clipY1 = 1e300;
  paintShape(t, d);
  cairo_destroy(t.cr);
  cairo_surface_flush(tile);
  return tile;
}

}  // namespace

bool paintShapeTile(const DrawState& s, const std::shared_ptr<const Character>& owner,
                    const ShapeDrawing& drawing) {
  if (s.maskMode || !s.antialias || s.fillOperator != CAIRO_OPERATOR_OVER || !owner ||
      !usableMatrix(s.toDevice))
    return false;
  const Matrix& m = s.toDevice;
  if (!(std::fabs(m.tx) < 1e7 && std::fabs(m.ty) < 1e7)) return false;
  double wholeX = std::floor(m.tx), wholeY = std::floor(m.ty);
  Matrix phase = m;
  phase.tx -= wholeX;
  phase.ty -= wholeY;
  const ColorTransform& cx = s.cxform;
  Look look{owner.get() ? static_cast<const void*>(owner.get()) : nullptr,
            {phase.a, phase.b, phase.c, phase.d, phase.tx, phase.ty},
            {cx.rm, cx.gm, cx.bm, cx.am, cx.ra, cx.ga, cx.ba, cx.aa}};
  Cache& c = cache();
  auto it = c.tiles.find(look);
  if (it != c.tiles.end() && it->second.owner.expired()) {
    c.drop(it);
    it = c.tiles.end();
  }
  if (it == c.tiles.end()) {
    if (c.seen.insert(look).second) {  // first sighting: draw directly
      if (c.seen.size() > kMaxSightings) c.seen.clear();
      return false;
    }
    c.seen.erase(look);
    if (!tileable(drawing)) return false;
    std::optional<Rect> bounds = characterBounds(*owner, 0);
    if (!bounds) return false;
    int x0, y0;
    cairo_surface_t* surface = drawTile(s, drawing, phase, transformBox(*bounds, phase), x0, y0);
    if (!surface) return false;
    c.ages.push_front(look);
    it = c.tiles.emplace(look, Tile{owner, surface, x0, y0, c.ages.begin()}).first;
    c.bytes += size_t(cairo_image_surface_get_stride(surface)) *
               size_t(cairo_image_surface_get_height(surface));
    while (c.bytes > kMaxBytes && c.ages.size() > 1) c.drop(c.tiles.find(c.ages.back()));
  } else {
    c.ages.splice(c.ages.begin(), c.ages, it->second.age);
  }
  const Tile& tile = it->second;
  cairo_t* cr = s.cr;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, tile.surface, wholeX + tile.x0, wholeY + tile.y0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  return true;
}

size_t shapeTileCount() { return cache().tiles.size(); }

void clearShapeTiles() { cache().clear(); }

}  // namespace swf
