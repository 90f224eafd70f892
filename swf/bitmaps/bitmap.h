#pragma once
// Bitmap characters: DefineBits (with the movie's JPEGTables), DefineBitsJPEG 2, 3 and 4 and
// DefineBitsLossless 1 and 2. The pixels are decoded the first time they are drawn and kept as a
// premultiplied ARGB32 Cairo surface.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "swf/movie/character.h"

namespace swf {

// Declared sizes beyond these are not decoded (the bitmap draws as nothing).
inline constexpr int kMaxBitmapSide = 8192;
inline constexpr int64_t kMaxBitmapPixels = int64_t(4096) * 4096;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

class BitmapCharacter : public Character {
 public:
  enum class Encoding { Jpeg, Lossless };

  CharacterKind kind() const override { return CharacterKind::Bitmap; }

  // The decoded pixels, or null when the data cannot be decoded.
  cairo_surface_t* surface() const;
  int width() const;
  int height() const;

  // What the tag held, kept until the first decode.
  Encoding encoding = Encoding::Jpeg;
  std::vector<uint8_t> imageData;  // JPEG (tables merged in), PNG or GIF bytes; or zlib pixels
  std::vector<uint8_t> alphaData;  // zlib-compressed alpha plane of JPEG 3 and 4
  int losslessFormat = 0;          // 3 colour-mapped, 4 15-bit, 5 24/32-bit
  int colorTableSize = 0;
  bool losslessAlpha = false;  // DefineBitsLossless2
  int declaredWidth = 0, declaredHeight = 0;

  // Pixels made by a script (BitmapData), in place of anything to decode.
  void setPixels(SurfacePtr s) {
    surface_ = std::move(s);
    decoded_ = true;
  }

 private:
  mutable bool decoded_ = false;
  mutable SurfacePtr surface_;
};

}  // namespace swf
