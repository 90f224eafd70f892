#include "swf/render/device_fill_cache.h"

#include <algorithm>

#include "swf/render/cairo_util.h"

namespace swf {

namespace {

constexpr long long kMaxEntryPixels = 2048LL * 2048;
constexpr size_t kMaxBytes = size_t(32) << 20;  // four full-screen fills at 1920×1080
constexpr size_t kMaxEntries = 32;

struct Entry {
  FillSourceKey key;
  cairo_surface_t* filled;
};

void drop(Entry& e) {
  if (e.key.bitmap) cairo_surface_destroy(e.key.bitmap);
  cairo_surface_destroy(e.filled);
}

// Gives the surfaces back when the program ends.
struct Entries : std::vector<Entry> {
  ~Entries() {
    for (Entry& e : *this) drop(e);
  }
};

std::vector<Entry>& entries() {
  static Entries e;
  return e;
}

size_t bytesOf(cairo_surface_t* s) {
  return size_t(cairo_image_surface_get_stride(s)) * size_t(cairo_image_surface_get_height(s));
}

}  // namespace

cairo_surface_t* deviceFill(const FillSourceKey& key, const std::function<void(cairo_t*)>& paint) {
  const DeviceBox& box = key.box;
  if (box.x1 <= box.x0 || box.y1 <= box.y0 || box.area() > kMaxEntryPixels) return nullptr;
  auto& cache = entries();
  for (size_t i = 0; i < cache.size(); ++i) {
    if (cache[i].key == key) {
      std::rotate(cache.begin(), cache.begin() + long(i), cache.begin() + long(i) + 1);
      return cache.front().filled;
    }
  }
  cairo_surface_t* filled =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box.x1 - box.x0, box.y1 - box.y0);
  if (cairo_surface_status(filled) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(filled);
    return nullptr;
  }
  cairo_t* cr = cairo_create(filled);
  cairo_translate(cr, -box.x0, -box.y0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  paint(cr);
  cairo_destroy(cr);

  Entry e{key, filled};
  if (e.key.bitmap) cairo_surface_reference(e.key.bitmap);
  cache.insert(cache.begin(), std::move(e));
  size_t total = 0;
  for (const Entry& c : cache) total += bytesOf(c.filled);
  while (cache.size() > 1 && (cache.size() > kMaxEntries || total > kMaxBytes)) {
    total -= bytesOf(cache.back().filled);
    drop(cache.back());
    cache.pop_back();
  }
  return filled;
}

}  // namespace swf
