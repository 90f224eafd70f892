#include "swf/video/video_codec.h"

namespace swf {

bool isKnownVideoCodec(int codec) { return codec >= 2 && codec <= 6; }

const char* videoCodecName(int codec) {
  switch (VideoCodec(codec)) {
    case VideoCodec::SorensonH263:
      return "Sorenson H.263";
    case VideoCodec::ScreenVideo:
      return "Screen Video";
    case VideoCodec::Vp6:
      return "VP6";
    case VideoCodec::Vp6Alpha:
      return "VP6 with alpha";
    case VideoCodec::ScreenVideo2:
      return "Screen Video 2";
  }
  return "unknown";
}

namespace {

// Big-endian bits from a byte span; reads past the end give zero bits and set `over`.
struct Bits {
  std::span<const uint8_t> d;
  size_t bit = 0;
  bool over = false;
  unsigned read(int n) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i, ++bit) {
      size_t byte = bit / 8;
      if (byte >= d.size()) {
        over = true;
        v <<= 1;
        continue;
      }
      v = (v << 1) | ((d[byte] >> (7 - bit % 8)) & 1);
    }
    return v;
  }
};

// Sorenson H.263: start code, version, temporal reference, picture size (with its own width and
// height for sizes 0 and 1), then the picture type, 0 being intra.
bool h263Key(std::span<const uint8_t> f) {
  Bits b{f};
  if (b.read(17) != 1) return false;
  b.read(5);
  b.read(8);
  unsigned size = b.read(3);
  if (size == 0) b.read(16);
  if (size == 1) b.read(32);
  unsigned type = b.read(2);
  return !b.over && type == 0;
}

// Screen Video: a frame that carries every block replaces the whole picture.
bool screenKey(std::span<const uint8_t> f, bool version2) {
  Bits b{f};
  unsigned bw = (b.read(4) + 1) * 16, w = b.read(12);
  unsigned bh = (b.read(4) + 1) * 16, h = b.read(12);
  if (b.over || w == 0 || h == 0) return false;
  bool iframeImage = false;
  if (version2) {
    unsigned flags = b.read(8);
    if (flags & 1) return false;  // a palette follows: too rare to read here
    iframeImage = flags & 2;
  }
  if (iframeImage) return false;
  size_t blocks = size_t((w + bw - 1) / bw) * ((h + bh - 1) / bh);
  size_t at = 4 + (version2 ? 1 : 0);
  for (size_t i = 0; i < blocks; ++i) {
    if (at + 2 > f.size()) return false;
    size_t size = size_t(f[at]) << 8 | f[at + 1];
    if (size == 0) return false;
    // Blocks of version 2 that refer to the previous picture (diff blocks, primed zlib).
    if (version2 && at + 2 < f.size() && (f[at + 2] & 0x07)) return false;
    at += 2 + size;
  }
  return at <= f.size();
}

}  // namespace

bool isKeyFrame(int codec, std::span<const uint8_t> f) {
  switch (VideoCodec(codec)) {
    case VideoCodec::SorensonH263:
      return h263Key(f);
    case VideoCodec::ScreenVideo:
      return screenKey(f, false);
    case VideoCodec::ScreenVideo2:
      return screenKey(f, true);
    case VideoCodec::Vp6:
      // The adjustment byte, then the frame header whose top bit is 0 for an intra frame.
      return f.size() >= 2 && !(f[1] & 0x80);
    case VideoCodec::Vp6Alpha:
      // The adjustment byte and a 24-bit offset to the alpha data come first.
      return f.size() >= 5 && !(f[4] & 0x80);
  }
  return false;
}

}  // namespace swf
