#pragma once
// Encodes pictures with FFmpeg's video encoders for the format (flv1 for Sorenson H.263, flashsv
// for Screen Video): what the movies and FLV files we write for tests and benchmarks carry.
// Empty when the encoder is absent.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "swf/author/av_encoder_run.h"

namespace swf::author {

struct EncodedFrame {
  std::vector<uint8_t> data;
  bool key = false;
};

// `picture(i, x, y)` gives the straight 0xRRGGBB colour of pixel (x, y) of frame i. A key frame
// every `keyInterval` frames.
inline std::vector<EncodedFrame> avEncodeVideo(
    AVCodecID id, int width, int height, int frames,
    const std::function<uint32_t(int, int, int)>& picture, int keyInterval = 12,
    int bitRate = 400000) {
  std::vector<EncodedFrame> out;
  const AVCodec* codec = avcodec_find_encoder(id);
  if (!codec) return out;
  AVCodecContext* ctx = avcodec_alloc_context3(codec);
  ctx->width = width;
  ctx->height = height;
  ctx->time_base = {1, 30};
  ctx->framerate = {30, 1};
  ctx->gop_size = keyInterval;
  ctx->bit_rate = bitRate;
  ctx->max_b_frames = 0;
  ctx->thread_count = 1;
  ctx->pix_fmt = codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
  // Key frames where asked for only, not at every change of scene.
  av_opt_set_int(ctx, "sc_threshold", 1000000000, AV_OPT_SEARCH_CHILDREN);
  auto clamp8 = [](int v) { return uint8_t(std::clamp(v, 0, 255)); };
  auto fill = [&](AVFrame* frame, size_t n) {
    if (n >= size_t(std::max(frames, 0))) return false;
    int i = int(n);
    frame->format = ctx->pix_fmt;
    frame->width = width;
    frame->height = height;
    av_frame_get_buffer(frame, 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint32_t c = picture(i, x, y);
        int r = c >> 16 & 0xff, g = c >> 8 & 0xff, b = c & 0xff;
        if (ctx->pix_fmt == AV_PIX_FMT_BGR24) {
          uint8_t* p = frame->data[0] + y * frame->linesize[0] + x * 3;
          p[0] = uint8_t(b);
          p[1] = uint8_t(g);
          p[2] = uint8_t(r);
          continue;
        }
        frame->data[0][y * frame->linesize[0] + x] =
            clamp8(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
        if (x % 2 == 0 && y % 2 == 0) {
          frame->data[1][y / 2 * frame->linesize[1] + x / 2] =
              clamp8(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
          frame->data[2][y / 2 * frame->linesize[2] + x / 2] =
              clamp8(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
        }
      }
    frame->pts = i;
    if (keyInterval > 0 && i % keyInterval == 0) frame->pict_type = AV_PICTURE_TYPE_I;
    return true;
  };
  avRunEncoder(ctx, codec, fill, [&](const AVPacket& pkt) {
    out.push_back({{pkt.data, pkt.data + pkt.size}, (pkt.flags & AV_PKT_FLAG_KEY) != 0});
  });
  return out;
}

}  // namespace swf::author
