#include "swf/bitmaps/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace swf {

namespace {

void appendStream(std::vector<uint8_t>& out, std::span<const uint8_t> s) {
  size_t i = 0, n = s.size();
  while (i + 1 < n) {
    if (s[i] != 0xff) {
      ++i;
      continue;
    }
    uint8_t m = s[i + 1];
    if (m == 0xff) {
      ++i;
      continue;
    }
    if (m == 0xd8 || m == 0xd9) {  // image start and end are written once, around everything
      i += 2;
      continue;
    }
    if (m == 0x01 || (m >= 0xd0 && m <= 0xd7)) {
      out.insert(out.end(), s.begin() + i, s.begin() + i + 2);
      i += 2;
      continue;
    }
    if (i + 4 > n) break;
    size_t end = i + 2 + ((size_t(s[i + 2]) << 8) | s[i + 3]);
    if (end > n) end = n;
    out.insert(out.end(), s.begin() + i, s.begin() + end);
    i = end;
    if (m == 0xda) {  // entropy-coded data runs to the next real marker
      size_t j = i;
      while (j + 1 < n &&
             !(s[j] == 0xff && s[j + 1] != 0 && !(s[j + 1] >= 0xd0 && s[j + 1] <= 0xd7)))
        ++j;
      if (j + 1 >= n) j = n;
      out.insert(out.end(), s.begin() + i, s.begin() + j);
      i = j;
    }
  }
}

struct ErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
};

void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {}

// One row of CMYK samples to ARGB32. Adobe's writers store the inks inverted (255 is no ink),
// which is the form the product below needs; plain CMYK is inverted first.
void cmykRowToArgb(const uint8_t* cmyk, uint32_t* out, unsigned width, bool inverted) {
  for (unsigned x = 0; x < width; ++x, cmyk += 4) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    uint32_t r = (c * k + 127) / 255, g = (m * k + 127) / 255, b = (y * k + 127) / 255;
    out[x] = 0xff000000u | (r << 16) | (g << 8) | b;
  }
}

// Kept free of objects with destructors: libjpeg reports errors through longjmp. A stream that
// fails after rows were decoded keeps them (the rows never reached stay transparent), so a
// picture cut short or followed by garbage still shows what it holds.
cairo_surface_t* decodeInto(const uint8_t* data, size_t size) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cairo_surface_t* volatile surface = nullptr;
  volatile unsigned rowsDone = 0;
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = onError;
  err.base.emit_message = onMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    if (surface && rowsDone > 0) {
      cairo_surface_mark_dirty(surface);
      return surface;
    }
    if (surface) cairo_surface_destroy(surface);
    return nullptr;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, (unsigned long)size);
  jpeg_read_header(&cinfo, TRUE);
  bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
      cinfo.image_width > unsigned(kMaxBitmapSide) ||
      cinfo.image_height > unsigned(kMaxBitmapSide) ||
      int64_t(cinfo.image_width) * cinfo.image_height > kMaxBitmapPixels ||
      (cinfo.num_components == 4 && !cmyk)) {
    jpeg_destroy_decompress(&cinfo);
    return nullptr;
  }
  // libjpeg turns YCCK into CMYK itself; the inks are then converted row by row.
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(cinfo.output_width),
                                       int(cinfo.output_height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    surface = nullptr;
    longjmp(err.jump, 1);
  }
  cairo_surface_flush(surface);
  unsigned char* pixels = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  // Freed with the decompressor, so an error leaves nothing behind.
  JSAMPARRAY inks = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                      JPOOL_IMAGE, cinfo.output_width * 4, 1)
                         : nullptr;
  bool inverted = cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    unsigned char* target = pixels + size_t(stride) * cinfo.output_scanline;
    JSAMPROW row = inks ? inks[0] : target;
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
    if (inks)
      cmykRowToArgb(inks[0], reinterpret_cast<uint32_t*>(target), cinfo.output_width, inverted);
    rowsDone = rowsDone + 1;
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  // JCS_EXT_BGRA leaves alpha at 0xff on little-endian hosts, which is ARGB32's byte order.
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace

std::vector<uint8_t> normalizeJpeg(std::span<const uint8_t> tables, std::span<const uint8_t> data) {
  std::vector<uint8_t> out{0xff, 0xd8};
  out.reserve(tables.size() + data.size() + 4);
  appendStream(out, tables);
  appendStream(out, data);
  out.insert(out.end(), {0xff, 0xd9});
  return out;
}

SurfacePtr decodeJpeg(std::span<const uint8_t> jpeg) {
  return SurfacePtr(decodeInto(jpeg.data(), jpeg.size()));
}

}  // namespace swf
