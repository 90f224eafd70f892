#include "swf/bitmaps/lossless_decode.h"

#include <algorithm>

namespace swf {

namespace {

uint32_t premultiplied(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  if (a != 255) {
    r = (r * a + 127) / 255;
    g = (g * a + 127) / 255;
    b = (b * a + 127) / 255;
  }
  return (a << 24) | (r << 16) | (g << 8) | b;
}

size_t rowStride(const LosslessHeader& h) {
  size_t bytesPerPixel = h.format == 3 ? 1 : h.format == 4 ? 2 : 4;
  return (size_t(h.width) * bytesPerPixel + 3) & ~size_t(3);
}

size_t tableBytes(const LosslessHeader& h) {
  return h.format == 3 ? size_t(h.colorTableSize) * (h.alpha ? 4 : 3) : 0;
}

bool sizeAcceptable(const LosslessHeader& h) {
  return h.width > 0 && h.height > 0 && h.width <= kMaxBitmapSide && h.height <= kMaxBitmapSide &&
         int64_t(h.width) * h.height <= kMaxBitmapPixels;
}

}  // namespace

size_t losslessDataSize(const LosslessHeader& h) {
  if (!sizeAcceptable(h)) return 0;
  return tableBytes(h) + rowStride(h) * size_t(h.height);
}

SurfacePtr decodeLossless(const LosslessHeader& h, std::span<const uint8_t> data) {
  if (!sizeAcceptable(h) || (h.format != 3 && h.format != 4 && h.format != 5)) return nullptr;
  if (h.format == 4 && h.alpha) return nullptr;
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, h.width, h.height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  uint8_t* dst = cairo_image_surface_get_data(surface.get());
  int dstStride = cairo_image_surface_get_stride(surface.get());

  uint32_t palette[256] = {};
  size_t offset = 0;
  if (h.format == 3) {
    size_t entry = h.alpha ? 4 : 3;
    for (int i = 0; i < h.colorTableSize && i < 256; ++i) {
      size_t at = size_t(i) * entry;
      if (at + entry > data.size()) break;
      uint32_t a = h.alpha ? data[at + 3] : 255;
      if (h.alpha) {  // the map of Lossless2 holds premultiplied colours, like its pixels
        palette[i] = (a << 24) | (uint32_t(std::min(data[at], uint8_t(a))) << 16) |
                     (uint32_t(std::min(data[at + 1], uint8_t(a))) << 8) |
                     std::min(data[at + 2], uint8_t(a));
      } else {
        palette[i] = premultiplied(255, data[at], data[at + 1], data[at + 2]);
      }
    }
    offset = tableBytes(h);
  }

  size_t stride = rowStride(h);
  for (int y = 0; y < h.height; ++y) {
    auto* out = reinterpret_cast<uint32_t*>(dst + size_t(dstStride) * size_t(y));
    size_t rowStart = offset + stride * size_t(y);
    for (int x = 0; x < h.width; ++x) {
      uint32_t px = 0;
      if (h.format == 3) {
        size_t at = rowStart + size_t(x);
        if (at < data.size()) px = data[at] < h.colorTableSize ? palette[data[at]] : 0;
      } else if (h.format == 4) {
        size_t at = rowStart + size_t(x) * 2;
        if (at + 2 <= data.size()) {
          uint32_t v = (uint32_t(data[at]) << 8) | data[at + 1];
          uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
          px = premultiplied(255, (r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2));
        }
      } else {
        size_t at = rowStart + size_t(x) * 4;
        if (at + 4 <= data.size()) {
          if (h.alpha) {
            uint8_t a = data[at];
            px = (uint32_t(a) << 24) | (uint32_t(std::min(data[at + 1], a)) << 16) |
                 (uint32_t(std::min(data[at + 2], a)) << 8) | std::min(data[at + 3], a);
          } else {
            px = premultiplied(255, data[at + 1], data[at + 2], data[at + 3]);
          }
        }
      }
      out[x] = px;
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

}  // namespace swf
