// Bitmap tags: the lossless pixel formats, JPEG streams and alpha planes, and bitmap fills.
#include <zlib.h>

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "draw_support.h"
#include "jpeg_support.h"
#include "swf/bitmaps/bitmap.h"
#include "swf/bitmaps/jpeg_decode.h"

namespace drawtest {
namespace {

std::vector<uint8_t> deflate(const std::vector<uint8_t>& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  std::vector<uint8_t> out(size);
  compress(out.data(), &size, raw.data(), uLong(raw.size()));
  out.resize(size);
  return out;
}

std::vector<uint8_t> losslessBody(int format, int w, int h, const std::vector<uint8_t>& raw,
                                  int tableSize = 0) {
  BitWriter b;
  b.u16(7);
  b.u8(uint8_t(format));
  b.u16(uint16_t(w));
  b.u16(uint16_t(h));
  if (format == 3) b.u8(uint8_t(tableSize - 1));
  b.bytes(deflate(raw));
  return b.data();
}

TEST(DrawBitmaps, ColourMappedRowsArePaddedToFourBytes) {
  // 3 × 2 pixels: rows of 3 indexes padded to 4 bytes, after an RGB table of two entries.
  std::vector<uint8_t> raw = {255, 0, 0, 0, 0, 255,  // red, blue
                              0,   1, 0, 9,          // row 0 (+ padding)
                              1,   1, 0, 9};         // row 1
  auto c = parse(swf::parseBitmapTag, 20, losslessBody(3, 3, 2, raw, 2));
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_TRUE(near(pixel(b, 0, 0), kRed, 0));
  EXPECT_TRUE(near(pixel(b, 1, 0), kBlue, 0));
  EXPECT_TRUE(near(pixel(b, 0, 1), kBlue, 0));
  EXPECT_TRUE(near(pixel(b, 2, 1), kRed, 0));
}

TEST(DrawBitmaps, FifteenBitPixelsWidenToEightBitsAChannel) {
  std::vector<uint8_t> raw = {0x7c, 0x00, 0x03, 0xe0};  // red, green (big-endian 1-5-5-5)
  auto c = parse(swf::parseBitmapTag, 20, losslessBody(4, 2, 1, raw));
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_TRUE(near(pixel(b, 0, 0), kRed, 0));
  EXPECT_TRUE(near(pixel(b, 1, 0), kGreen, 0));
}

TEST(DrawBitmaps, TwentyFourBitPixelsAreOpaque) {
  std::vector<uint8_t> raw = {0, 10, 20, 30};  // the first byte is not alpha in Lossless 1
  auto c = parse(swf::parseBitmapTag, 20, losslessBody(5, 1, 1, raw));
  EXPECT_TRUE(near(pixel(asBitmap(c), 0, 0), {10, 20, 30, 255}, 0));
}

TEST(DrawBitmaps, ArgbPixelsOfLossless2ArePremultiplied) {
  std::vector<uint8_t> raw = {128, 128, 0, 0,   // half-transparent red
                              0,   0,   0, 0,   // transparent
                              100, 200, 0, 0};  // colour above alpha: kept within it
  auto c = parse(swf::parseBitmapTag, 36, losslessBody(5, 3, 1, raw));
  auto& b = asBitmap(c);
  EXPECT_TRUE(near(pixel(b, 0, 0), {255, 0, 0, 128}, 1));
  EXPECT_EQ(pixel(b, 1, 0).a, 0);
  EXPECT_TRUE(near(pixel(b, 2, 0), {255, 0, 0, 100}, 1));
}

TEST(DrawBitmaps, ColourMapsOfLossless2CarryAlpha) {
  std::vector<uint8_t> raw = {0, 0, 0, 0, 0, 0, 255, 255,  // transparent, opaque blue
                              0, 1, 0, 0};
  auto c = parse(swf::parseBitmapTag, 36, losslessBody(3, 2, 1, raw, 2));
  auto& b = asBitmap(c);
  EXPECT_EQ(pixel(b, 0, 0).a, 0);
  EXPECT_TRUE(near(pixel(b, 1, 0), kBlue, 0));
}

TEST(DrawBitmaps, ShortPixelDataLeavesTheRestTransparent) {
  std::vector<uint8_t> raw = {0, 255, 0, 0};  // one pixel of four
  auto c = parse(swf::parseBitmapTag, 20, losslessBody(5, 2, 2, raw));
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_TRUE(near(pixel(b, 0, 0), kRed, 0));
  EXPECT_EQ(pixel(b, 1, 1).a, 0);
}

TEST(DrawBitmaps, HugeDeclaredSizesAreNotDecoded) {
  std::vector<uint8_t> raw = {0, 255, 0, 0};
  auto c = parse(swf::parseBitmapTag, 20, losslessBody(5, 65535, 65535, raw));
  EXPECT_EQ(asBitmap(c).surface(), nullptr);
  EXPECT_EQ(asBitmap(c).width(), 0);
}

TEST(DrawBitmaps, CorruptCompressedDataDecodesToNothing) {
  BitWriter w;
  w.u16(7);
  w.u8(5);
  w.u16(4);
  w.u16(4);
  w.bytes(std::vector<uint8_t>{1, 2, 3, 4, 5, 6});
  auto c = parse(swf::parseBitmapTag, 20, w.data());
  EXPECT_EQ(asBitmap(c).surface(), nullptr);
}

TEST(DrawBitmaps, JpegWithAStrayEndAndStartOfImageDecodes) {
  std::vector<uint8_t> jpeg = encodeJpeg(8, 8, kRed);
  BitWriter w;
  w.u16(7);
  w.bytes(std::vector<uint8_t>{0xff, 0xd9, 0xff, 0xd8});  // written by some tools
  w.bytes(jpeg);
  auto c = parse(swf::parseBitmapTag, 21, w.data());
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_EQ(b.width(), 8);
  EXPECT_TRUE(near(pixel(b, 4, 4), kRed, 6));
}

TEST(DrawBitmaps, NormalizedJpegHasOneStartAndOneEnd) {
  std::vector<uint8_t> tables = {0xff, 0xd8, 0xff, 0xdb, 0x00, 0x03, 0x07, 0xff, 0xd9};
  std::vector<uint8_t> image = {0xff, 0xd8, 0xff, 0xda, 0x00, 0x02,
                                0x11, 0xff, 0x00, 0x22, 0xff, 0xd9};
  std::vector<uint8_t> expected = {0xff, 0xd8, 0xff, 0xdb, 0x00, 0x03, 0x07, 0xff, 0xda,
                                   0x00, 0x02, 0x11, 0xff, 0x00, 0x22, 0xff, 0xd9};
  EXPECT_EQ(swf::normalizeJpeg(tables, image), expected);
}

TEST(DrawBitmaps, JpegAlphaPlaneKeepsColoursWithinAlpha) {
  std::vector<uint8_t> jpeg = encodeJpeg(4, 4, kRed);
  BitWriter w;
  w.u16(7);
  w.u32(uint32_t(jpeg.size()));
  w.bytes(jpeg);
  w.bytes(deflate(std::vector<uint8_t>(16, 128)));
  auto c = parse(swf::parseBitmapTag, 35, w.data());
  swf::RGBA p = pixel(asBitmap(c), 1, 1);
  EXPECT_EQ(p.a, 128);
  EXPECT_GE(p.r, 250);  // the colour was already multiplied: red at full strength stays red
}

TEST(DrawBitmaps, ClippedBitmapFillsDrawTheBitmapScaledByTheirMatrix) {
  std::vector<uint8_t> raw = {0, 255, 0,   0, 0, 0, 0, 255,  // red, blue
                              0, 0,   255, 0, 0, 0, 0, 0};   // green, black
  auto bitmap = parse(swf::parseBitmapTag, 20, losslessBody(5, 2, 2, raw));
  swf::ParseContext ctx;
  ctx.owner = &bitmap;
  ctx.lookup = [](const void* owner, uint16_t) -> std::shared_ptr<const swf::Character> {
    return *static_cast<const std::shared_ptr<swf::Character>*>(owner);
  };
  ShapeBuilder s;
  s.setFill1(s.bitmapFill(7, swf::Matrix{200, 0, 0, 200, 0, 0}, false, false));  // 10 px a pixel
  s.rectangle(0, 0, 400, 400);
  Stage st;
  st.place(1, shape(s, 3, ctx));
  Frame f(st.root, 20, 20);
  EXPECT_TRUE(near(f.at(5, 5), kRed));
  EXPECT_TRUE(near(f.at(15, 5), kBlue));
  EXPECT_TRUE(near(f.at(5, 15), kGreen));
  EXPECT_TRUE(near(f.at(15, 15), kBlack));
}

TEST(DrawBitmaps, TransparentPixelsStayTransparentUnderAnAlphaAdd) {
  std::vector<uint8_t> raw = {255, 255, 0, 0, 0, 0, 0, 0};  // opaque red, transparent
  auto bitmap = parse(swf::parseBitmapTag, 36, losslessBody(5, 2, 1, raw));
  swf::ParseContext ctx;
  ctx.owner = &bitmap;
  ctx.lookup = [](const void* owner, uint16_t) -> std::shared_ptr<const swf::Character> {
    return *static_cast<const std::shared_ptr<swf::Character>*>(owner);
  };
  ShapeBuilder s;
  s.setFill1(s.bitmapFill(7, swf::Matrix{200, 0, 0, 200, 0, 0}, false, false));
  s.rectangle(0, 0, 400, 200);
  Stage st;
  auto& obj = st.place(1, shape(s, 3, ctx));
  obj.cxform.aa = 128;
  obj.cxform.ba = 255;
  Frame f(st.root, 20, 10);
  EXPECT_TRUE(near(f.at(5, 5), {255, 0, 255, 255}));
  EXPECT_TRUE(near(f.at(15, 5), kWhite));
}

}  // namespace
}  // namespace drawtest
