#include "swf/bitmaps/bitmap.h"

#include <algorithm>
#include <cstring>

#include "swf/bitmaps/gif_decode.h"
#include "swf/bitmaps/jpeg_decode.h"
#include "swf/bitmaps/lossless_decode.h"
#include "swf/bitmaps/zlib_inflate.h"

namespace swf {

namespace {

bool isPng(std::span<const uint8_t> d) {
  static const uint8_t sig[] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
  return d.size() >= 8 && std::memcmp(d.data(), sig, 8) == 0;
}

struct PngSource {
  std::span<const uint8_t> data;
  size_t pos = 0;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
  auto* src = static_cast<PngSource*>(closure);
  if (length > src->data.size() - src->pos) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, src->data.data() + src->pos, length);
  src->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

SurfacePtr decodePng(std::span<const uint8_t> data) {
  PngSource src{data};
  SurfacePtr s(cairo_image_surface_create_from_png_stream(readPng, &src));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  if (cairo_image_surface_get_format(s.get()) == CAIRO_FORMAT_ARGB32) return s;
  // Other formats (RGB24, A8) are redrawn as ARGB32 so every bitmap has one layout.
  int w = cairo_image_surface_get_width(s.get()), h = cairo_image_surface_get_height(s.get());
  SurfacePtr argb(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  cairo_t* cr = cairo_create(argb.get());
  cairo_set_source_surface(cr, s.get(), 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return argb;
}

// Combines the decoded JPEG with its separate alpha plane. The JPEG's colours are taken as
// already multiplied by that alpha (that is how the tools write them), only kept within it.
void applyAlphaPlane(cairo_surface_t* s, std::span<const uint8_t> alpha) {
  cairo_surface_flush(s);
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  int stride = cairo_image_surface_get_stride(s);
  uint8_t* data = cairo_image_surface_get_data(s);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + size_t(stride) * size_t(y));
    for (int x = 0; x < w; ++x) {
      size_t i = size_t(y) * size_t(w) + size_t(x);
      uint32_t p = row[x];
      // Missing alpha leaves the pixel as it is: opaque, or transparent where the JPEG broke
      // off before reaching it.
      uint32_t a = std::min<uint32_t>(i < alpha.size() ? alpha[i] : 255, p >> 24);
      auto within = [a](uint32_t c) { return std::min(c, a); };
      row[x] = (a << 24) | (within((p >> 16) & 0xff) << 16) | (within((p >> 8) & 0xff) << 8) |
               within(p & 0xff);
    }
  }
  cairo_surface_mark_dirty(s);
}

}  // namespace

cairo_surface_t* BitmapCharacter::surface() const {
  if (decoded_) return surface_.get();
  decoded_ = true;
  if (encoding == Encoding::Lossless) {
    LosslessHeader h{losslessFormat, declaredWidth, declaredHeight, colorTableSize, losslessAlpha};
    size_t need = losslessDataSize(h);
    if (need == 0) return nullptr;
    auto pixels = inflateCapped(imageData, need);
    if (!pixels) return nullptr;
    surface_ = decodeLossless(h, *pixels);
    return surface_.get();
  }
  // PNG and GIF carry their own transparency; a JPEG 3 alpha plane applies to JPEG data only.
  if (isPng(imageData)) {
    surface_ = decodePng(imageData);
    return surface_.get();
  }
  if (isGif(imageData)) {
    surface_ = decodeGif(imageData);
    return surface_.get();
  }
  surface_ = decodeJpeg(imageData);
  if (surface_ && !alphaData.empty()) {
    size_t need = size_t(cairo_image_surface_get_width(surface_.get())) *
                  size_t(cairo_image_surface_get_height(surface_.get()));
    if (auto alpha = inflateCapped(alphaData, need)) applyAlphaPlane(surface_.get(), *alpha);
  }
  return surface_.get();
}

int BitmapCharacter::width() const {
  cairo_surface_t* s = surface();
  return s ? cairo_image_surface_get_width(s) : 0;
}

int BitmapCharacter::height() const {
  cairo_surface_t* s = surface();
  return s ? cairo_image_surface_get_height(s) : 0;
}

std::shared_ptr<Character> parseBitmapTag(int tagCode, BitReader& body, const ParseContext& ctx) {
  auto bmp = std::make_shared<BitmapCharacter>();
  bmp->id = body.u16();
  auto rest = [&body]() { return body.bytes(body.remaining()); };
  switch (tagCode) {
    case 6:  // DefineBits: the tables live in the movie's JPEGTables
    case 21: {
      auto data = rest();
      bmp->imageData =
          isPng(data) || isGif(data)
              ? std::vector<uint8_t>(data.begin(), data.end())
              : normalizeJpeg(tagCode == 6 ? ctx.jpegTables : std::span<const uint8_t>{}, data);
      break;
    }
    case 35:
    case 90: {
      uint32_t alphaOffset = body.u32();
      if (tagCode == 90) body.u16();  // deblocking filter strength
      // An offset past the end leaves the picture without its alpha plane.
      auto image = body.bytes(std::min<size_t>(alphaOffset, body.remaining()));
      auto alpha = rest();
      if (isPng(image) || isGif(image)) {
        bmp->imageData.assign(image.begin(), image.end());
      } else {
        bmp->imageData = normalizeJpeg({}, image);
        bmp->alphaData.assign(alpha.begin(), alpha.end());
      }
      break;
    }
    case 20:
    case 36: {
      bmp->encoding = BitmapCharacter::Encoding::Lossless;
      bmp->losslessAlpha = tagCode == 36;
      bmp->losslessFormat = body.u8();
      bmp->declaredWidth = body.u16();
      bmp->declaredHeight = body.u16();
      if (bmp->losslessFormat == 3) bmp->colorTableSize = body.u8() + 1;
      auto data = rest();
      bmp->imageData.assign(data.begin(), data.end());
      break;
    }
    default:
      throw ReadError("not a bitmap tag");
  }
  return bmp;
}

}  // namespace swf
