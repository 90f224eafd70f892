#pragma once
// JPEG files written with libjpeg for the bitmap tests.

#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "swf/model/geometry.h"

namespace drawtest {

// A JPEG of `components` samples a pixel (RGB, or CMYK stored as `stored`), row y given by `row`.
template <typename Row>
inline std::vector<uint8_t> encodeJpeg(int w, int h, int components, J_COLOR_SPACE stored,
                                       bool adobe, Row row) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = unsigned(w);
  cinfo.image_height = unsigned(h);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_colorspace(&cinfo, stored);
  cinfo.write_Adobe_marker = adobe ? TRUE : FALSE;
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> samples;
    for (int x = 0; x < w; ++x) {
      auto px = row(y);
      samples.insert(samples.end(), px.begin(), px.begin() + components);
    }
    JSAMPROW r = samples.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> v(out, out + size);
  free(out);
  return v;
}

// A JPEG of w × h pixels of one colour.
inline std::vector<uint8_t> encodeJpeg(int w, int h, swf::RGBA c) {
  return encodeJpeg(w, h, 3, JCS_YCbCr, false, [c](int) {
    return std::array<uint8_t, 3>{c.r, c.g, c.b};
  });
}

}  // namespace drawtest
