#pragma once
// Large gradient and smoothed bitmap fills, drawn once into device pixels and reused. Filtering
// a scaled bitmap or computing a gradient costs several times more per pixel than copying, and
// most fills stand still on the stage: while the source, its transform to the device and the
// covered box stay the same, the pixels are taken from here.

#include <cairo.h>

#include <functional>
#include <vector>

#include "swf/model/geometry.h"

namespace swf {

struct DeviceBox {
  int x0, y0, x1, y1;  // device pixels, x1/y1 exclusive
  bool operator==(const DeviceBox&) const = default;
  long long area() const { return (long long)(x1 - x0) * (y1 - y0); }
};

// What a cached fill shows: a bitmap surface, or a gradient's colours and kind.
struct FillSourceKey {
  cairo_surface_t* bitmap = nullptr;  // referenced while cached
  std::vector<double> gradient;       // kind, spread, focal point, then offset and colour per stop
  bool repeat = false;
  Matrix sourceToDevice;
  DeviceBox box{};
  bool operator==(const FillSourceKey&) const = default;
};

// Fills smaller than this are drawn directly: they are cheap, and would only crowd the cache.
inline constexpr long long kMinCachedFillPixels = 256 * 256;

// The fill painted over `key.box` (pixel (0, 0) is device pixel (box.x0, box.y0)). On a miss
// `paint` draws it: it gets a context whose CTM maps device pixels onto the new surface.
// Owned by the cache; valid until the next call. Null when the box is too large to keep.
cairo_surface_t* deviceFill(const FillSourceKey& key, const std::function<void(cairo_t*)>& paint);

}  // namespace swf
