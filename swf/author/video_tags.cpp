#include "swf/author/video_tags.h"

#include "swf/author/bit_writer.h"

namespace swf::author {

std::vector<uint8_t> defineVideoStreamBody(uint16_t id, int frames, int width, int height,
                                           int codec, int deblocking, bool smoothing) {
  BitWriter w;
  w.u16(id);
  w.u16(uint16_t(frames));
  w.u16(uint16_t(width));
  w.u16(uint16_t(height));
  w.u8(uint8_t((deblocking & 7) << 1 | (smoothing ? 1 : 0)));
  w.u8(uint8_t(codec));
  return w.data();
}

std::vector<uint8_t> videoFrameBody(uint16_t stream, int frame, std::span<const uint8_t> data) {
  BitWriter w;
  w.u16(stream);
  w.u16(uint16_t(frame));
  w.bytes(data);
  return w.data();
}

}  // namespace swf::author
