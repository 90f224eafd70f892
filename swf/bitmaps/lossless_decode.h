#pragma once
// DefineBitsLossless 1 and 2 pixel formats.

#include <cstdint>
#include <span>

#include "swf/bitmaps/bitmap.h"

namespace swf {

struct LosslessHeader {
  int format = 0;  // 3 colour-mapped, 4 15-bit RGB, 5 24-bit RGB / 32-bit ARGB
  int width = 0, height = 0;
  int colorTableSize = 0;  // entries in the colour map (the file stores this minus one)
  bool alpha = false;      // Lossless2: colour map entries are RGBA, pixels ARGB
};

// Converts the inflated pixel data into a premultiplied ARGB32 surface. Data shorter than the
// image leaves the rest transparent. Returns null for an unknown format or an oversized image.
SurfacePtr decodeLossless(const LosslessHeader& h, std::span<const uint8_t> pixels);

// Bytes of inflated data the image needs, for capping the inflate.
size_t losslessDataSize(const LosslessHeader& h);

}  // namespace swf
