#pragma once
// The part every FFmpeg encoding we do for tests shares: open the set-up context, send the
// frames one after another, hand back the packets as they come, flush, free.

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <functional>

namespace swf::author {

// Opens `ctx` with `codec` and sends frames filled by `fill(frame, i)` (which sets the format and
// size, gets the buffer and fills it, or answers false when there are no more; the context is
// open then, so its frame size is known); every packet goes to `packet`. Frees `ctx` in any case;
// false when the encoder would not open.
inline bool avRunEncoder(AVCodecContext* ctx, const AVCodec* codec,
                         const std::function<bool(AVFrame*, size_t)>& fill,
                         const std::function<void(const AVPacket&)>& packet) {
  if (avcodec_open2(ctx, codec, nullptr) < 0) {
    avcodec_free_context(&ctx);
    return false;
  }
  AVFrame* frame = av_frame_alloc();
  AVPacket* pkt = av_packet_alloc();
  auto drain = [&] {
    while (avcodec_receive_packet(ctx, pkt) == 0) {
      packet(*pkt);
      av_packet_unref(pkt);
    }
  };
  for (size_t i = 0; fill(frame, i); ++i) {
    if (avcodec_send_frame(ctx, frame) == 0) drain();
    av_frame_unref(frame);
  }
  avcodec_send_frame(ctx, nullptr);
  drain();
  av_packet_free(&pkt);
  av_frame_free(&frame);
  avcodec_free_context(&ctx);
  return true;
}

}  // namespace swf::author
