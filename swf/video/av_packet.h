#pragma once
// Hands one coded packet to a libavcodec decoder.

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// The decoder reads a little past the end of its input, and that padding must be zero, so the
// bytes are copied into a padded buffer first. Returns avcodec_send_packet's result.
inline int sendPadded(AVCodecContext* ctx, AVPacket* packet, std::span<const uint8_t> bytes) {
  std::vector<uint8_t> padded(bytes.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
  std::copy(bytes.begin(), bytes.end(), padded.begin());
  packet->data = padded.data();
  packet->size = int(bytes.size());
  int sent = avcodec_send_packet(ctx, packet);
  packet->data = nullptr;
  packet->size = 0;
  return sent;
}

}  // namespace swf
