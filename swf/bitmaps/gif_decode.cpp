#include "swf/bitmaps/gif_decode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace swf {

namespace {

struct GifSource {
  std::span<const uint8_t> data;
  size_t pos = 0;
};

int readGif(GifFileType* gif, GifByteType* out, int length) {
  auto* src = static_cast<GifSource*>(gif->UserData);
  size_t n = std::min(size_t(std::max(length, 0)), src->data.size() - src->pos);
  std::memcpy(out, src->data.data() + src->pos, n);
  src->pos += n;
  return int(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// Reads the extension records up to the first image; returns the transparent index the
// graphics control extension gives, -1 for none, or -2 when the stream ends first.
int transparentIndexBeforeImage(GifFileType* gif) {
  int transparent = -1;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return -2;
    if (type == IMAGE_DESC_RECORD_TYPE) return transparent;
    if (type != EXTENSION_RECORD_TYPE) return -2;  // the trailer, or garbage
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return -2;
    // Graphics control: packed flags, delay (2 bytes), transparent index.
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
      transparent = (block[1] & 1) ? block[4] : -1;
    while (block)
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return -2;
  }
}

// Rows in the order an interlaced image stores them: every 8th from 0, every 8th from 4,
// every 4th from 2, then every 2nd from 1.
std::vector<int> rowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
  return rows;
}

}  // namespace

bool isGif(std::span<const uint8_t> d) {
  return d.size() >= 6 &&
         (std::memcmp(d.data(), "GIF89a", 6) == 0 || std::memcmp(d.data(), "GIF87a", 6) == 0);
}

SurfacePtr decodeGif(std::span<const uint8_t> data) {
  GifSource src{data};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&src, readGif, &error));
  if (!gif) return nullptr;
  int transparent = transparentIndexBeforeImage(gif.get());
  if (transparent == -2 || DGifGetImageDesc(gif.get()) == GIF_ERROR) return nullptr;

  const GifImageDesc& image = gif->Image;
  int width = gif->SWidth > 0 ? gif->SWidth : image.Left + image.Width;
  int height = gif->SHeight > 0 ? gif->SHeight : image.Top + image.Height;
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
      int64_t(width) * height > kMaxBitmapPixels || image.Width <= 0 || image.Height <= 0 ||
      image.Width > kMaxBitmapSide || image.Height > kMaxBitmapSide)
    return nullptr;
  const ColorMapObject* map = image.ColorMap ? image.ColorMap : gif->SColorMap;
  if (!map) return nullptr;

  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  uint8_t* pixels = cairo_image_surface_get_data(surface.get());
  int stride = cairo_image_surface_get_stride(surface.get());

  std::vector<GifPixelType> line(size_t(image.Width));
  int decoded = 0;
  for (int y : rowOrder(image.Height, image.Interlace)) {
    if (DGifGetLine(gif.get(), line.data(), image.Width) == GIF_ERROR) break;
    ++decoded;
    int dy = image.Top + y;
    if (dy < 0 || dy >= height) continue;
    auto* row = reinterpret_cast<uint32_t*>(pixels + size_t(stride) * size_t(dy));
    for (int x = 0; x < image.Width; ++x) {
      int dx = image.Left + x;
      if (dx < 0 || dx >= width) continue;
      int index = line[size_t(x)];
      if (index == transparent) continue;  // already transparent
      // An index past the colour map draws black, as an unset map entry would.
      GifColorType c = index < map->ColorCount ? map->Colors[index] : GifColorType{0, 0, 0};
      row[dx] = 0xff000000u | (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
    }
  }
  if (decoded == 0) return nullptr;
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

}  // namespace swf
