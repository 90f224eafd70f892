#include "swf/render/bitmap_cxform_cache.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace swf {

namespace {

struct Entry {
  cairo_surface_t* source;  // referenced, so its address cannot be reused while cached
  ColorTransform cx;
  cairo_surface_t* result;
};

constexpr size_t kEntries = 16;
constexpr size_t kMaxBytes = size_t(24) << 20;  // an animated transform must not pile up copies

size_t bytesOf(cairo_surface_t* s) {
  return size_t(cairo_image_surface_get_stride(s)) * size_t(cairo_image_surface_get_height(s));
}

// Gives the surfaces back when the program ends.
struct Entries : std::vector<Entry> {
  ~Entries() {
    for (Entry& e : *this) {
      cairo_surface_destroy(e.source);
      cairo_surface_destroy(e.result);
    }
  }
};

std::vector<Entry>& entries() {
  static Entries e;
  return e;
}

}  // namespace

void applyColorTransform(cairo_surface_t* surface, const ColorTransform& cx) {
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  uint8_t* data = cairo_image_surface_get_data(surface);
  auto ch = [](double v) { return uint32_t(std::clamp(v, 0.0, 255.0)); };
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + size_t(stride) * size_t(y));
    for (int x = 0; x < w; ++x) {
      uint32_t p = row[x];
      uint32_t a = p >> 24;
      if (a == 0) continue;  // fully transparent pixels stay so, whatever is added
      double r = ((p >> 16) & 0xff) * 255.0 / a, g = ((p >> 8) & 0xff) * 255.0 / a,
             b = (p & 0xff) * 255.0 / a;
      uint32_t na = ch(a * cx.am + cx.aa);
      uint32_t nr = ch(r * cx.rm + cx.ra), ng = ch(g * cx.gm + cx.ga), nb = ch(b * cx.bm + cx.ba);
      nr = (nr * na + 127) / 255;
      ng = (ng * na + 127) / 255;
      nb = (nb * na + 127) / 255;
      row[x] = (na << 24) | (nr << 16) | (ng << 8) | nb;
    }
  }
  cairo_surface_mark_dirty(surface);
}

cairo_surface_t* transformedBitmap(cairo_surface_t* source, const ColorTransform& cx) {
  auto& cache = entries();
  for (size_t i = 0; i < cache.size(); ++i) {
    if (cache[i].source == source && cache[i].cx == cx) {
      std::rotate(cache.begin(), cache.begin() + long(i), cache.begin() + long(i) + 1);
      return cache.front().result;
    }
  }
  int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(copy);
    return nullptr;
  }
  cairo_surface_flush(source);
  cairo_surface_flush(copy);
  int stride = cairo_image_surface_get_stride(source);
  if (stride == cairo_image_surface_get_stride(copy))
    std::memcpy(cairo_image_surface_get_data(copy), cairo_image_surface_get_data(source),
                size_t(stride) * size_t(h));
  cairo_surface_mark_dirty(copy);
  applyColorTransform(copy, cx);
  cache.insert(cache.begin(), {cairo_surface_reference(source), cx, copy});
  size_t total = 0;
  for (const Entry& e : cache) total += bytesOf(e.result);
  while (cache.size() > 1 && (cache.size() > kEntries || total > kMaxBytes)) {
    total -= bytesOf(cache.back().result);
    cairo_surface_destroy(cache.back().source);
    cairo_surface_destroy(cache.back().result);
    cache.pop_back();
  }
  return copy;
}

}  // namespace swf
