#pragma once
// Helpers for the drawing tests: characters parsed from bodies written with our authoring code,
// display trees built by hand, and pixels read back from a rendered frame.

#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "swf/author/bit_writer.h"
#include "swf/author/records.h"
#include "swf/author/shape_builder.h"
#include "swf/bitmaps/bitmap.h"
#include "swf/movie/character.h"
#include "swf/player/display_object.h"
#include "swf/render/render_frame.h"

namespace drawtest {

using swf::author::BitWriter;
using swf::author::ShapeBuilder;

inline const swf::BitmapCharacter& asBitmap(const std::shared_ptr<swf::Character>& c) {
  return static_cast<const swf::BitmapCharacter&>(*c);
}

// Pixel (x, y) of a decoded bitmap, unpremultiplied.
inline swf::RGBA pixel(const swf::BitmapCharacter& b, int x, int y) {
  cairo_surface_t* s = b.surface();
  const uint8_t* d = cairo_image_surface_get_data(s);
  uint32_t p = reinterpret_cast<const uint32_t*>(d + cairo_image_surface_get_stride(s) * y)[x];
  uint32_t a = p >> 24;
  auto ch = [a](uint32_t c) { return uint8_t(a ? (c * 255 + a / 2) / a : 0); };
  return {ch((p >> 16) & 0xff), ch((p >> 8) & 0xff), ch(p & 0xff), uint8_t(a)};
}

inline swf::ParseContext noContext() { return {}; }

// Parses a tag body with the engine's parser for that tag.
inline std::shared_ptr<swf::Character> parse(
    std::shared_ptr<swf::Character> (*parser)(int, swf::BitReader&, const swf::ParseContext&),
    int tagCode, const std::vector<uint8_t>& body, const swf::ParseContext& ctx = {}) {
  swf::BitReader r(body);
  return parser(tagCode, r, ctx);
}

inline std::shared_ptr<swf::Character> shape(const ShapeBuilder& s, int version = 3,
                                             const swf::ParseContext& ctx = {}) {
  static const int codes[] = {0, 2, 22, 32, 83};
  BitWriter w;
  w.u16(1);
  swf::author::writeRect(w, s.bounds());
  s.writeShapeWithStyle(w, version);
  return parse(swf::parseShapeTag, codes[version], w.data(), ctx);
}

inline ShapeBuilder rect(int x, int y, int w, int h, swf::RGBA c) {
  ShapeBuilder s;
  s.setFill1(s.solidFill(c));
  s.rectangle(x, y, w, h);
  return s;
}

inline swf::Matrix translate(double x, double y) { return {1, 0, 0, 1, x, y}; }

class Stage {
 public:
  swf::DisplayObject root;

  swf::DisplayObject& place(int depth, std::shared_ptr<const swf::Character> c, swf::Matrix m = {},
                            swf::DisplayObject* parent = nullptr) {
    auto obj = std::make_unique<swf::DisplayObject>();
    obj->depth = depth;
    obj->character = std::move(c);
    obj->matrix = m;
    auto& slot = (parent ? parent : &root)->children[depth];
    slot = std::move(obj);
    return *slot;
  }
};

// A rendered frame; pixels are read back unpremultiplied.
class Frame {
 public:
  Frame(const swf::DisplayObject& root, int w, int h, bool antialias = true,
        swf::RGBA background = {255, 255, 255, 255}, double pixelsPerTwip = 0.05) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface_);
    swf::RenderOptions o;
    o.antialias = antialias;
    o.background = background;
    o.stageToDevice = {pixelsPerTwip, 0, 0, pixelsPerTwip, 0, 0};
    swf::renderFrame(cr, root, o);
    status_ = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
  }
  ~Frame() { cairo_surface_destroy(surface_); }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  cairo_status_t status() const { return status_; }

  swf::RGBA at(int x, int y) const {
    const uint8_t* d = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    uint32_t p = reinterpret_cast<const uint32_t*>(d + stride * y)[x];
    uint32_t a = p >> 24;
    auto ch = [a](uint32_t c) { return uint8_t(a ? (c * 255 + a / 2) / a : 0); };
    return {ch((p >> 16) & 0xff), ch((p >> 8) & 0xff), ch(p & 0xff), uint8_t(a)};
  }

 private:
  cairo_surface_t* surface_;
  cairo_status_t status_;
};

// Colours equal within `tolerance` in every channel.
inline ::testing::AssertionResult near(swf::RGBA actual, swf::RGBA expected, int tolerance = 2) {
  auto d = [](int a, int b) { return a > b ? a - b : b - a; };
  if (d(actual.r, expected.r) <= tolerance && d(actual.g, expected.g) <= tolerance &&
      d(actual.b, expected.b) <= tolerance && d(actual.a, expected.a) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got (" << int(actual.r) << "," << int(actual.g) << "," << int(actual.b) << ","
         << int(actual.a) << ") expected (" << int(expected.r) << "," << int(expected.g) << ","
         << int(expected.b) << "," << int(expected.a) << ")";
}

inline const swf::RGBA kWhite{255, 255, 255, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255},
    kBlue{0, 0, 255, 255}, kBlack{0, 0, 0, 255};

}  // namespace drawtest
