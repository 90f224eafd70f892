// Pictures inside the JPEG bitmap tags: GIF data, CMYK and YCCK JPEGs, and JPEG streams that
// break off.
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "draw_support.h"
#include "jpeg_support.h"
#include "swf/bitmaps/bitmap.h"
#include "swf/bitmaps/jpeg_decode.h"

namespace drawtest {
namespace {

// A GIF with a four-colour global map (red, green, blue, white). Each row's codes follow a
// clear code, so no code grows past three bits and the stream can be written by hand; the
// codes go out in sub-blocks of `blockSize` bytes.
struct GifSpec {
  int width = 2, height = 2;
  std::vector<uint8_t> indexes;  // row by row, in the order the file stores the rows
  int transparent = -1;
  bool interlaced = false;
  int screenWidth = 0, screenHeight = 0;  // 0: the image's size
  size_t blockSize = 255;
};

std::vector<uint8_t> writeGif(const GifSpec& g) {
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  auto u16 = [&out](int v) {
    out.push_back(uint8_t(v & 0xff));
    out.push_back(uint8_t(v >> 8));
  };
  u16(g.screenWidth ? g.screenWidth : g.width);
  u16(g.screenHeight ? g.screenHeight : g.height);
  out.insert(out.end(), {0x81, 0, 0});  // global map of 4 entries
  out.insert(out.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
  if (g.transparent >= 0)
    out.insert(out.end(), {0x21, 0xf9, 4, 1, 0, 0, uint8_t(g.transparent), 0});
  out.push_back(0x2c);
  u16(0);  // the image at the screen's corner
  u16(0);
  u16(g.width);
  u16(g.height);
  out.push_back(g.interlaced ? 0x40 : 0);
  out.push_back(2);  // minimum code size: clear is 4, end 5, codes 3 bits wide
  std::vector<uint8_t> codes;
  uint32_t acc = 0;
  int bits = 0;
  auto put = [&](int code) {
    acc |= uint32_t(code) << bits;
    bits += 3;
    while (bits >= 8) {
      codes.push_back(uint8_t(acc & 0xff));
      acc >>= 8;
      bits -= 8;
    }
  };
  for (size_t i = 0; i < g.indexes.size(); ++i) {
    if (i % 2 == 0) put(4);  // two literals after each clear keep the table below 8 entries
    put(g.indexes[i]);
  }
  put(5);
  if (bits > 0) codes.push_back(uint8_t(acc & 0xff));
  for (size_t i = 0; i < codes.size(); i += g.blockSize) {
    size_t n = std::min(g.blockSize, codes.size() - i);
    out.push_back(uint8_t(n));
    out.insert(out.end(), codes.begin() + long(i), codes.begin() + long(i + n));
  }
  out.push_back(0);
  out.push_back(0x3b);
  return out;
}

std::vector<uint8_t> jpeg2Body(const std::vector<uint8_t>& data) {
  BitWriter w;
  w.u16(7);
  w.bytes(data);
  return w.data();
}

TEST(BitmapFormats, GifInAJpeg2TagDecodesWithItsTransparentIndex) {
  GifSpec g;
  g.indexes = {0, 1, 2, 3};
  g.transparent = 3;
  auto c = parse(swf::parseBitmapTag, 21, jpeg2Body(writeGif(g)));
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_EQ(b.width(), 2);
  EXPECT_EQ(b.height(), 2);
  EXPECT_TRUE(near(pixel(b, 0, 0), kRed, 0));
  EXPECT_TRUE(near(pixel(b, 1, 0), kGreen, 0));
  EXPECT_TRUE(near(pixel(b, 0, 1), kBlue, 0));
  EXPECT_EQ(pixel(b, 1, 1).a, 0);  // white is the transparent index
}

TEST(BitmapFormats, GifInAJpeg3TagIgnoresTheAlphaPlane) {
  GifSpec g;
  g.indexes = {0, 0, 0, 0};
  BitWriter w;
  w.u16(7);
  auto gif = writeGif(g);
  w.u32(uint32_t(gif.size()));
  w.bytes(gif);
  w.bytes(std::vector<uint8_t>{0x78, 0x9c, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});  // zeros
  auto c = parse(swf::parseBitmapTag, 35, w.data());
  EXPECT_TRUE(near(pixel(asBitmap(c), 1, 1), kRed, 0));
}

TEST(BitmapFormats, InterlacedGifRowsLandInTheirPlaces) {
  // Five rows stored as 0, 4, 2, 1, 3.
  GifSpec g;
  g.width = 2;
  g.height = 5;
  g.interlaced = true;
  g.indexes = {0, 0, 2, 2, 1, 1, 3, 3, 3, 3};
  auto c = parse(swf::parseBitmapTag, 21, jpeg2Body(writeGif(g)));
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_TRUE(near(pixel(b, 0, 0), kRed, 0));
  EXPECT_TRUE(near(pixel(b, 0, 1), kWhite, 0));
  EXPECT_TRUE(near(pixel(b, 0, 2), kGreen, 0));
  EXPECT_TRUE(near(pixel(b, 0, 3), kWhite, 0));
  EXPECT_TRUE(near(pixel(b, 1, 4), kBlue, 0));
}

TEST(BitmapFormats, GifCutShortKeepsTheRowsBeforeTheCut) {
  // Two by four; each row is 9 bits of codes, written one byte a sub-block.
  GifSpec g;
  g.height = 4;
  g.indexes = {0, 0, 1, 1, 2, 2, 2, 2};
  g.blockSize = 1;
  auto gif = writeGif(g);
  size_t dataStart = gif.size() - 2 /* terminator, trailer */ - 5 * 2 /* five blocks */;
  gif.resize(dataStart + 3 * 2);  // three bytes: rows 0 and 1 whole, row 2 cut
  auto c = parse(swf::parseBitmapTag, 21, jpeg2Body(gif));
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_TRUE(near(pixel(b, 0, 0), kRed, 0));
  EXPECT_TRUE(near(pixel(b, 1, 1), kGreen, 0));
  EXPECT_EQ(pixel(b, 0, 2).a, 0);
  EXPECT_EQ(pixel(b, 1, 3).a, 0);
}

TEST(BitmapFormats, BrokenGifsDecodeToNothing) {
  GifSpec g;
  g.indexes = {0, 1, 2, 3};
  auto gif = writeGif(g);
  for (size_t cut : {size_t(6), size_t(13), size_t(28)}) {
    std::vector<uint8_t> head(gif.begin(), gif.begin() + long(cut));
    auto c = parse(swf::parseBitmapTag, 21, jpeg2Body(head));
    EXPECT_EQ(asBitmap(c).surface(), nullptr) << "cut at " << cut;
  }
  GifSpec huge = g;
  huge.screenWidth = 65535;
  huge.screenHeight = 65535;
  auto c = parse(swf::parseBitmapTag, 21, jpeg2Body(writeGif(huge)));
  EXPECT_EQ(asBitmap(c).surface(), nullptr);
}

TEST(BitmapFormats, CmykAndYcckJpegsDecodeToTheirColours) {
  // Orange: no cyan, half magenta, full yellow, no black. Adobe stores 255 - ink.
  std::array<uint8_t, 4> adobeOrange{255, 127, 0, 255};
  std::array<uint8_t, 4> plainOrange{0, 128, 255, 0};
  swf::RGBA orange{255, 127, 0, 255};
  struct Case {
    const char* name;
    std::array<uint8_t, 4> sample;
    J_COLOR_SPACE stored;
    bool adobe;
  };
  for (const Case& k : {Case{"Adobe CMYK", adobeOrange, JCS_CMYK, true},
                        Case{"Adobe YCCK", adobeOrange, JCS_YCCK, true},
                        Case{"plain CMYK", plainOrange, JCS_CMYK, false}}) {
    auto jpeg = encodeJpeg(8, 8, 4, k.stored, k.adobe, [&](int) { return k.sample; });
    auto c = parse(swf::parseBitmapTag, 21, jpeg2Body(jpeg));
    auto& b = asBitmap(c);
    ASSERT_NE(b.surface(), nullptr) << k.name;
    EXPECT_TRUE(near(pixel(b, 3, 3), orange, 3)) << k.name;
  }
  // Black ink darkens: half black on white paper is mid grey.
  std::array<uint8_t, 4> halfBlack{255, 255, 255, 128};
  auto c = parse(swf::parseBitmapTag, 21,
                 jpeg2Body(encodeJpeg(8, 8, 4, JCS_CMYK, true, [&](int) { return halfBlack; })));
  EXPECT_TRUE(near(pixel(asBitmap(c), 0, 0), {128, 128, 128, 255}, 3));
}

size_t findMarker(const std::vector<uint8_t>& d, uint8_t m) {
  for (size_t i = 0; i + 1 < d.size(); ++i)
    if (d[i] == 0xff && d[i + 1] == m) return i;
  return d.size();
}

TEST(BitmapFormats, JpegThatFailsPartWayKeepsWhatDecoded) {
  // The scan breaks off at about two thirds and a second frame header follows, which libjpeg
  // refuses once the rows are out: the rows already decoded stay.
  auto jpeg = encodeJpeg(16, 64, 3, JCS_YCbCr, false, [](int y) {  // red above, blue below
    return y < 32 ? std::array<uint8_t, 4>{255, 0, 0} : std::array<uint8_t, 4>{0, 0, 255};
  });
  size_t sof = findMarker(jpeg, 0xc0), sos = findMarker(jpeg, 0xda), eoi = findMarker(jpeg, 0xd9);
  ASSERT_LT(eoi, jpeg.size());
  size_t sofLength = 2 + ((size_t(jpeg[sof + 2]) << 8) | jpeg[sof + 3]);
  size_t cut = sos + (eoi - sos) * 2 / 3;
  std::vector<uint8_t> broken(jpeg.begin(), jpeg.begin() + long(cut));
  broken.insert(broken.end(), jpeg.begin() + long(sof), jpeg.begin() + long(sof + sofLength));
  broken.insert(broken.end(), {0xff, 0xd9});
  auto c = parse(swf::parseBitmapTag, 21, jpeg2Body(broken));
  auto& b = asBitmap(c);
  ASSERT_NE(b.surface(), nullptr);
  EXPECT_EQ(b.height(), 64);
  EXPECT_TRUE(near(pixel(b, 4, 4), kRed, 8));
  EXPECT_EQ(pixel(b, 4, 4).a, 255);
}

}  // namespace
}  // namespace drawtest
