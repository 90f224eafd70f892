#pragma once
// JPEG decoding for the bitmap tags.

#include <cstdint>
#include <span>
#include <vector>

#include "swf/bitmaps/bitmap.h"

namespace swf {

// Joins the movie's JPEGTables with an image's data into one well-formed stream, dropping the
// stray end/start-of-image pairs that some tools write in the middle.
std::vector<uint8_t> normalizeJpeg(std::span<const uint8_t> tables, std::span<const uint8_t> data);

// Decodes a JPEG stream into an opaque ARGB32 surface; null on failure or an oversized image.
SurfacePtr decodeJpeg(std::span<const uint8_t> jpeg);

}  // namespace swf
