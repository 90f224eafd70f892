#include "swf/player/bitmap_data.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "swf/avm1/builtins/geom_classes.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/package_support.h"
#include "swf/movie/movie.h"
#include "swf/player/clip_drawing.h"
#include "swf/player/matrix_math.h"
#include "swf/player/script_access.h"
#include "swf/player/sprite_instance.h"
#include "swf/render/bitmap_cxform_cache.h"
#include "swf/render/render_frame.h"
#include "swf/shapes/script_drawing.h"

namespace swf {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

uint32_t premultiply(uint32_t argb) {
  uint32_t a = argb >> 24;
  if (a == 255) return argb;
  auto ch = [a](uint32_t c) { return (c * a + 127) / 255; };
  return a << 24 | ch((argb >> 16) & 255) << 16 | ch((argb >> 8) & 255) << 8 | ch(argb & 255);
}

uint32_t unpremultiply(uint32_t p) {
  uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  auto ch = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
  return a << 24 | ch((p >> 16) & 255) << 16 | ch((p >> 8) & 255) << 8 | ch(p & 255);
}

SurfacePtr makeBitmapSurface(int w, int h, uint32_t argb, bool transparent) {
  SurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  if (!transparent) argb |= 0xFF000000u;
  uint32_t p = premultiply(argb);
  auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s.get()));
  int stride = cairo_image_surface_get_stride(s.get()) / 4;
  for (int y = 0; y < h; ++y) std::fill_n(data + size_t(y) * size_t(stride), w, p);
  cairo_surface_mark_dirty(s.get());
  return s;
}

int BitmapDataObject::width() const { return bitmap ? bitmap->width() : 0; }
int BitmapDataObject::height() const { return bitmap ? bitmap->height() : 0; }

int BitmapDataObject::stride() const {
  cairo_surface_t* s = bitmap ? bitmap->surface() : nullptr;
  return s ? cairo_image_surface_get_stride(s) / 4 : 0;
}

uint32_t* BitmapDataObject::pixels() {
  cairo_surface_t* s = bitmap ? bitmap->surface() : nullptr;
  if (!s) return nullptr;
  if (cairo_surface_get_reference_count(s) > 1) {
    // A cache of the renderer holds these pixels: change a copy.
    int w = width(), h = height();
    SurfacePtr copy(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    if (cairo_surface_status(copy.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(s);
    int from = cairo_image_surface_get_stride(s), to = cairo_image_surface_get_stride(copy.get());
    for (int y = 0; y < h; ++y)
      std::memcpy(cairo_image_surface_get_data(copy.get()) + size_t(y) * size_t(to),
                  cairo_image_surface_get_data(s) + size_t(y) * size_t(from), size_t(w) * 4);
    bitmap->setPixels(std::move(copy));
    s = bitmap->surface();
  }
  cairo_surface_flush(s);
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
}

const uint32_t* BitmapDataObject::pixelsForReading() const {
  cairo_surface_t* s = bitmap ? bitmap->surface() : nullptr;
  if (!s) return nullptr;
  cairo_surface_flush(s);
  return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
}

void BitmapDataObject::changed() {
  if (cairo_surface_t* s = bitmap ? bitmap->surface() : nullptr) cairo_surface_mark_dirty(s);
}

uint32_t BitmapDataObject::get(int x, int y) const {
  const uint32_t* p = pixelsForReading();
  if (!p || !inside(x, y)) return 0;
  return unpremultiply(p[size_t(y) * size_t(stride()) + size_t(x)]);
}

void BitmapDataObject::set(int x, int y, uint32_t argb) {
  if (!inside(x, y)) return;
  uint32_t* p = pixels();
  if (!p) return;
  if (!transparent) argb |= 0xFF000000u;
  p[size_t(y) * size_t(stride()) + size_t(x)] = premultiply(argb);
}

bool BitmapDataObject::getNative(Vm& vm, avm1::String* key, Value& out) {
  const std::string& k = key->text;
  if (k == "width" || k == "height") {
    out = Value(bitmap ? double(k == "width" ? width() : height()) : -1.0);
    return true;
  }
  if (k == "transparent") {
    out = bitmap ? Value(transparent) : Value(-1.0);
    return true;
  }
  if (k == "rectangle") {
    // Made by whatever flash.geom.Rectangle is now; when that makes nothing, -1 as when
    // there are no pixels.
    Object* r = bitmap ? avm1::newRectangle(vm, 0, 0, width(), height()) : nullptr;
    out = r ? Value(r) : Value(-1.0);
    return true;
  }
  return false;
}

BitmapDataObject* bitmapDataOf(const Value& v) {
  return v.object() ? dynamic_cast<BitmapDataObject*>(v.object()) : nullptr;
}

namespace {

constexpr const char* kDisplay = "flash.display";

BitmapDataObject* self(Object* o) { return o ? dynamic_cast<BitmapDataObject*>(o) : nullptr; }

int intArg(Vm& vm, const Value& v) {
  double d = vm.toNumber(v);
  return std::isfinite(d) ? int(std::clamp(d, -1e9, 1e9)) : 0;
}

uint32_t colorArg(Vm& vm, const Value& v) { return uint32_t(vm.toInt32(v)); }

// A rectangle argument clipped to the bitmap: x0, y0, x1, y1 (exclusive).
struct PixelRect {
  int x0, y0, x1, y1;
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

PixelRect rectArg(Vm& vm, Object* r, int w, int h) {
  if (!r) return {0, 0, 0, 0};
  double x = avm1::numberOf(vm, r, "x"), y = avm1::numberOf(vm, r, "y");
  double rw = avm1::numberOf(vm, r, "width"), rh = avm1::numberOf(vm, r, "height");
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(rw) || !std::isfinite(rh))
    return {0, 0, 0, 0};
  auto clampTo = [](double v, int hi) { return int(std::clamp(std::floor(v), 0.0, double(hi))); };
  return {clampTo(x, w), clampTo(y, h), clampTo(x + rw, w), clampTo(y + rh, h)};
}

Value ctor(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  if (!b) return Value();
  int w = intArg(vm, a.at(0)), h = intArg(vm, a.at(1));
  b->transparent = a.size() > 2 ? vm.toBoolean(a.at(2)) : true;
  uint32_t fill = a.size() > 3 ? colorArg(vm, a.at(3)) : 0xFFFFFFFFu;
  if (w <= 0 || h <= 0 || w > kMaxBitmapDataSide || h > kMaxBitmapDataSide) return Value();
  auto c = std::make_shared<BitmapCharacter>();
  c->setPixels(makeBitmapSurface(w, h, fill, b->transparent));
  if (c->surface()) b->bitmap = std::move(c);
  return Value();
}

Object* allocate(Vm& vm) { return vm.make<BitmapDataObject>(); }

Value getPixel(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  if (!b || !b->bitmap) return Value();
  return Value(double(b->get(intArg(vm, a.at(0)), intArg(vm, a.at(1))) & 0xFFFFFF));
}

Value getPixel32(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  if (!b || !b->bitmap) return Value();
  return Value(double(int32_t(b->get(intArg(vm, a.at(0)), intArg(vm, a.at(1))))));
}

Value setPixel(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  if (!b || !b->bitmap) return Value();
  int x = intArg(vm, a.at(0)), y = intArg(vm, a.at(1));
  if (!b->inside(x, y)) return Value();
  uint32_t alpha = b->get(x, y) & 0xFF000000u;
  b->set(x, y, alpha | (colorArg(vm, a.at(2)) & 0xFFFFFF));
  b->changed();
  return Value();
}

Value setPixel32(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  if (!b || !b->bitmap) return Value();
  b->set(intArg(vm, a.at(0)), intArg(vm, a.at(1)), colorArg(vm, a.at(2)));
  b->changed();
  return Value();
}

Value fillRect(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  if (!b || !b->bitmap) return Value();
  PixelRect r = rectArg(vm, a.at(0).object(), b->width(), b->height());
  uint32_t c = colorArg(vm, a.at(1));
  if (!b->transparent) c |= 0xFF000000u;
  uint32_t* p = r.empty() ? nullptr : b->pixels();
  if (!p) return Value();
  uint32_t pm = premultiply(c);
  for (int y = r.y0; y < r.y1; ++y)
    std::fill(p + y * b->stride() + r.x0, p + y * b->stride() + r.x1, pm);
  b->changed();
  return Value();
}

Value dispose(Vm&, Object* o, Args) {
  if (BitmapDataObject* b = self(o); b && b->bitmap) {
    // Fills and attached bitmaps still holding the pixels show nothing from now on.
    b->bitmap->setPixels(nullptr);
    b->bitmap.reset();
  }
  return Value();
}

Object* newBitmapData(Vm& vm, int w, int h, bool transparent, uint32_t fill) {
  return avm1::makeInstance(
      vm, kDisplay, "BitmapData",
      {Value(double(w)), Value(double(h)), Value(transparent), Value(double(fill))});
}

Value cloneBitmap(Vm& vm, Object* o, Args) {
  BitmapDataObject* b = self(o);
  if (!b || !b->bitmap) return Value();
  auto* c = bitmapDataOf(Value(newBitmapData(vm, b->width(), b->height(), b->transparent, 0)));
  if (!c || !c->bitmap) return Value();
  const uint32_t* from = b->pixelsForReading();
  uint32_t* to = c->pixels();
  for (int y = 0; y < b->height(); ++y)
    std::memcpy(to + y * c->stride(), from + y * b->stride(), size_t(b->width()) * 4);
  c->changed();
  return Value(static_cast<Object*>(c));
}

// copyPixels(source, sourceRect, destPoint, alphaBitmap, alphaPoint, mergeAlpha)
// Premultiplied ARGB scaled by an alpha of 0 to 255.
uint32_t scalePremultiplied(uint32_t p, uint32_t alpha) {
  if (alpha == 255) return p;
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) out |= ((((p >> sh) & 255) * alpha + 127) / 255) << sh;
  return out;
}

// Premultiplied `s` drawn over `d`.
uint32_t over(uint32_t s, uint32_t d) {
  uint32_t inv = 255 - (s >> 24), out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    uint32_t v = ((s >> sh) & 255) + (((d >> sh) & 255) * inv + 127) / 255;
    out |= std::min<uint32_t>(v, 255) << sh;
  }
  return out;
}

Value copyPixels(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  BitmapDataObject* src = bitmapDataOf(a.at(0));
  Object* point = a.at(2).object();
  if (!b || !b->bitmap || !src || !src->bitmap || !point) return Value();
  PixelRect r = rectArg(vm, a.at(1).object(), src->width(), src->height());
  int dx = intArg(vm, avm1::Value(avm1::numberOf(vm, point, "x")));
  int dy = intArg(vm, avm1::Value(avm1::numberOf(vm, point, "y")));
  bool merge = vm.toBoolean(a.at(5));
  // A second bitmap may give the alpha: its pixel at alphaPoint plus the offset into the
  // rectangle scales each source pixel (none where it has no pixel).
  BitmapDataObject* alphaSrc = bitmapDataOf(a.at(3));
  if (alphaSrc && !alphaSrc->bitmap) alphaSrc = nullptr;
  int ax = 0, ay = 0;
  if (Object* ap = a.at(4).object()) {
    ax = intArg(vm, avm1::Value(avm1::numberOf(vm, ap, "x")));
    ay = intArg(vm, avm1::Value(avm1::numberOf(vm, ap, "y")));
  }
  std::vector<uint32_t> copy, alphaCopy;  // the sources may be the destination
  const uint32_t* from = src->pixelsForReading();
  copy.assign(from, from + size_t(src->stride()) * size_t(src->height()));
  if (alphaSrc) {
    const uint32_t* af = alphaSrc->pixelsForReading();
    alphaCopy.assign(af, af + size_t(alphaSrc->stride()) * size_t(alphaSrc->height()));
  }
  uint32_t* to = b->pixels();
  if (!to) return Value();
  for (int y = r.y0; y < r.y1; ++y)
    for (int x = r.x0; x < r.x1; ++x) {
      int tx = dx + x - r.x0, ty = dy + y - r.y0;
      if (!b->inside(tx, ty)) continue;
      uint32_t s = copy[size_t(y) * size_t(src->stride()) + size_t(x)];
      if (alphaSrc) {
        int mx = ax + x - r.x0, my = ay + y - r.y0;
        uint32_t ma = alphaSrc->inside(mx, my)
                          ? alphaCopy[size_t(my) * size_t(alphaSrc->stride()) + size_t(mx)] >> 24
                          : 0;
        s = scalePremultiplied(s, ma);
      }
      uint32_t& d = to[size_t(ty) * size_t(b->stride()) + size_t(tx)];
      // An opaque bitmap always takes the source over what it holds; a transparent one only
      // when asked to merge, else the source pixels replace its own.
      d = merge || !b->transparent ? over(s, d) : s;
    }
  b->changed();
  return Value();
}

// draw(source, matrix, colorTransform, blendMode, clipRect, smoothing)
Value draw(Vm& vm, Object* o, Args a) {
  BitmapDataObject* b = self(o);
  if (!b || !b->bitmap) return Value();
  Matrix m;
  if (Object* mo = a.at(1).object()) m = matrixFromObject(vm, mo);
  Matrix toPixels = m * Matrix{0.05, 0, 0, 0.05, 0, 0};
  uint32_t* p = b->pixels();
  if (!p) return Value();
  cairo_surface_t* s = b->bitmap->surface();
  cairo_t* cr = cairo_create(s);
  if (Object* clip = a.at(4).object()) {
    double x = avm1::numberOf(vm, clip, "x"), y = avm1::numberOf(vm, clip, "y");
    double w = avm1::numberOf(vm, clip, "width"), h = avm1::numberOf(vm, clip, "height");
    if (std::isfinite(x + y + w + h)) {
      cairo_rectangle(cr, x, y, w, h);
      cairo_clip(cr);
    }
  }
  ColorTransform cx;
  if (Object* c = a.at(2).object()) {
    double v[8];
    avm1::colorTransformOf(vm, c, v);
    cx = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
  }
  if (BitmapDataObject* other = bitmapDataOf(a.at(0)); other && other->bitmap) {
    cairo_matrix_t cm = {m.a, m.b, m.c, m.d, m.tx / 20, m.ty / 20};
    cairo_transform(cr, &cm);
    cairo_surface_t* from = other->bitmap->surface();
    double alpha = 1;
    if (from && !cx.isIdentity()) {
      bool alphaOnly = cx.rm == 1 && cx.gm == 1 && cx.bm == 1 && cx.ra == 0 && cx.ga == 0 &&
                       cx.ba == 0 && cx.aa == 0;
      if (alphaOnly)
        alpha = std::clamp(cx.am, 0.0, 1.0);
      else
        from = transformedBitmap(from, cx);  // the cache keeps it while we paint
    }
    if (from) {
      cairo_set_source_surface(cr, from, 0, 0);
      cairo_pattern_set_filter(cairo_get_source(cr), vm.toBoolean(a.at(5)) ? CAIRO_FILTER_BILINEAR
                                                                           : CAIRO_FILTER_NEAREST);
      cairo_paint_with_alpha(cr, alpha);
    }
  } else if (PlacedObject* clip = placedOf(vm, a.at(0).object())) {
    // Masks set by scripts count wherever they stand, so the clip is drawn as part of its
    // level: a mask draws nothing, and a masked clip shows through its mask.
    Matrix toLevel = clip->matrix;
    const PlacedObject* level = clip;
    for (const PlacedObject* p = clip->parentTimeline(); p; p = p->parentTimeline()) {
      level = p;
      if (p->parentTimeline()) toLevel = p->matrix * toLevel;
    }
    Matrix levelToPixels = toPixels;
    if (level != clip) levelToPixels = toPixels * inverse(toLevel);
    if (a.at(0).object()) renderObject(cr, *clip, toPixels, cx, true, level, levelToPixels);
  }
  cairo_destroy(cr);
  if (!b->transparent) {  // an opaque bitmap stays opaque
    for (int y = 0; y < b->height(); ++y)
      for (int x = 0; x < b->width(); ++x) {
        uint32_t& px = p[y * b->stride() + x];
        px = premultiply(unpremultiply(px) | 0xFF000000u);
      }
  }
  b->changed();
  return Value();
}

Value loadBitmap(Vm& vm, Object*, Args a) {
  PlacedObject* root = placedOf(vm, nullptr);
  const Movie* movie = root ? root->context().movie : nullptr;
  if (!movie) return Value();
  std::string name = vm.toString(a.at(0));
  for (const auto& [exported, id] : movie->exports) {
    if (exported != name) continue;
    auto* src = dynamic_cast<const BitmapCharacter*>(movie->character(id).get());
    cairo_surface_t* s = src ? src->surface() : nullptr;
    if (!s) return Value();
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    auto* b = bitmapDataOf(Value(newBitmapData(vm, w, h, true, 0)));
    if (!b || !b->bitmap) return Value();
    cairo_t* cr = cairo_create(b->bitmap->surface());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return Value(static_cast<Object*>(b));
  }
  return Value();
}

Value attachBitmap(Vm& vm, Object* o, Args a) {
  PlacedObject* parent = placedOf(vm, o);
  BitmapDataObject* b = bitmapDataOf(a.at(0));
  if (!parent || !b || !b->bitmap || a.size() < 2) return Value();
  double depth = vm.toNumber(a.at(1));
  if (!std::isfinite(depth) || depth < -16384 || depth > 2130690045) return Value();
  auto* timeline = dynamic_cast<SpriteInstance*>(parent);
  auto child = std::make_unique<PlacedObject>(parent->context(), timeline, 0);
  child->depth = int(depth) + 16384;
  child->drawing = bitmapRectangle(b->bitmap, vm.toBoolean(a.at(3)));
  parent->children[child->depth] = std::move(child);
  parent->markChanged();
  return Value();
}

// beginBitmapFill(bitmap, matrix, repeat, smoothing)
Value beginBitmapFill(Vm& vm, Object* o, Args a) {
  PlacedObject* p = placedOf(vm, o);
  BitmapDataObject* b = bitmapDataOf(a.at(0));
  if (!p) return Value();
  if (!p->drawing) p->drawing = std::make_shared<ScriptDrawing>();
  p->markChanged();
  p->drawing->endFill();
  if (!b || !b->bitmap) return Value();
  FillStyle f;
  f.kind = FillKind::Bitmap;
  f.bitmap = b->bitmap;
  Matrix m;
  if (Object* mo = a.at(1).object()) m = matrixFromObject(vm, mo);
  f.matrix = m * Matrix{20, 0, 0, 20, 0, 0};
  f.repeat = a.size() > 2 ? vm.toBoolean(a.at(2)) : true;
  f.smooth = vm.toBoolean(a.at(3));
  p->drawing->beginFill(f);
  return Value();
}

}  // namespace

std::shared_ptr<ScriptDrawing> bitmapRectangle(const std::shared_ptr<BitmapCharacter>& c,
                                               bool smooth) {
  auto d = std::make_shared<ScriptDrawing>();
  FillStyle f;
  f.kind = FillKind::Bitmap;
  f.bitmap = c;
  f.matrix = Matrix{20, 0, 0, 20, 0, 0};
  f.repeat = false;
  f.smooth = smooth;
  double w = c->width() * 20.0, h = c->height() * 20.0;
  d->beginFill(f);
  d->lineTo(w, 0);
  d->lineTo(w, h);
  d->lineTo(0, h);
  d->lineTo(0, 0);
  d->endFill();
  return d;
}

void installBitmapData(Vm& vm) {
  Object* p = vm.newObject();
  struct {
    const char* name;
    avm1::NativeFn fn;
  } const methods[] = {
      {"getPixel", getPixel},     {"getPixel32", getPixel32}, {"setPixel", setPixel},
      {"setPixel32", setPixel32}, {"fillRect", fillRect},     {"dispose", dispose},
      {"clone", cloneBitmap},     {"copyPixels", copyPixels}, {"draw", draw}};
  for (const auto& m : methods) vm.define(p, m.name, m.fn);
  avm1::Function* c = avm1::definePackageClass(vm, kDisplay, "BitmapData", ctor, p, allocate);
  vm.define(c, "loadBitmap", loadBitmap);
}

void defineBitmapMethods(Vm& vm, Object* proto) {
  vm.define(proto, "attachBitmap", attachBitmap, avm1::DontEnum | avm1::Version8);
  vm.define(proto, "beginBitmapFill", beginBitmapFill, avm1::DontEnum | avm1::Version8);
}

}  // namespace swf
