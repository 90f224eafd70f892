#pragma once
// GIF pictures, which DefineBitsJPEG 2 and 3 may hold in place of a JPEG.

#include <cstdint>
#include <span>

#include "swf/bitmaps/bitmap.h"

namespace swf {

// True when the data starts with a GIF signature ("GIF87a" or "GIF89a").
bool isGif(std::span<const uint8_t> data);

// Decodes the first image of a GIF into a premultiplied ARGB32 surface of the GIF's screen size.
// The transparent colour index and the screen outside the image are transparent. A stream that
// breaks off mid-image keeps the rows decoded before the break. Null when nothing decodes or the
// picture is oversized.
SurfacePtr decodeGif(std::span<const uint8_t> data);

}  // namespace swf
