#pragma once
// The video codecs of the format: their numbers in DefineVideoStream and FLV tags, and what can
// be read from a frame's first bytes without decoding it.

#include <cstdint>
#include <span>

namespace swf {

enum class VideoCodec : int {
  SorensonH263 = 2,
  ScreenVideo = 3,
  Vp6 = 4,
  Vp6Alpha = 5,
  ScreenVideo2 = 6,
};

bool isKnownVideoCodec(int codec);
const char* videoCodecName(int codec);

// Whether a frame can be decoded without the ones before it. Frames that cannot be read count as
// not key, so seeking back goes further back rather than to garbage.
bool isKeyFrame(int codec, std::span<const uint8_t> frame);

// VP6 frames start with a byte that says how many pixels the coded picture (a whole number of
// 16-pixel blocks) is wider and taller than the picture meant.
struct Vp6Adjustment {
  int horizontal = 0, vertical = 0;
};
inline Vp6Adjustment readVp6Adjustment(uint8_t b) { return {b >> 4, b & 0x0f}; }

}  // namespace swf
