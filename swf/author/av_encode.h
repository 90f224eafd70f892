#pragma once
// Encodes signals with FFmpeg's encoders (MP3 through LAME, Nellymoser, Speex where the
// library has them): what the movies we write for tests and benchmarks carry. Empty when an encoder
// is absent.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

#include <cstdint>
#include <vector>

#include "swf/author/av_encoder_run.h"

namespace swf::author {

// The packets one after another; `packets`, when given, receives them one by one.
inline std::vector<uint8_t> avEncode(AVCodecID id, int rate, int channels,
                                     const std::vector<int16_t>& samples, int bitRate = 0,
                                     std::vector<std::vector<uint8_t>>* packets = nullptr) {
  std::vector<uint8_t> out;
  const AVCodec* codec = avcodec_find_encoder(id);
  if (!codec) return out;
  AVCodecContext* ctx = avcodec_alloc_context3(codec);
  ctx->sample_rate = rate;
  av_channel_layout_default(&ctx->ch_layout, channels);
  ctx->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  if (bitRate) ctx->bit_rate = bitRate;
  const size_t total = samples.size() / size_t(channels);
  auto fill = [&](AVFrame* frame, size_t n) {
    const int chunk = ctx->frame_size > 0 ? ctx->frame_size : 1024;
    size_t at = n * size_t(chunk);
    if (at >= total) return false;
    frame->nb_samples = chunk;  // the last one padded with silence
    frame->format = ctx->sample_fmt;
    av_channel_layout_copy(&frame->ch_layout, &ctx->ch_layout);
    frame->sample_rate = rate;
    av_frame_get_buffer(frame, 0);
    bool planar = av_sample_fmt_is_planar(ctx->sample_fmt);
    for (int i = 0; i < chunk; ++i)
      for (int c = 0; c < channels; ++c) {
        size_t src = at + size_t(i);
        int16_t v = src < total ? samples[src * size_t(channels) + size_t(c)] : 0;
        int plane = planar ? c : 0, idx = planar ? i : i * channels + c;
        switch (ctx->sample_fmt) {
          case AV_SAMPLE_FMT_FLT:
          case AV_SAMPLE_FMT_FLTP:
            reinterpret_cast<float*>(frame->data[plane])[idx] = v / 32768.0f;
            break;
          case AV_SAMPLE_FMT_S32:
          case AV_SAMPLE_FMT_S32P:
            reinterpret_cast<int32_t*>(frame->data[plane])[idx] = int32_t(v) << 16;
            break;
          default:
            reinterpret_cast<int16_t*>(frame->data[plane])[idx] = v;
            break;
        }
      }
    return true;
  };
  avRunEncoder(ctx, codec, fill, [&](const AVPacket& pkt) {
    out.insert(out.end(), pkt.data, pkt.data + pkt.size);
    if (packets) packets->emplace_back(pkt.data, pkt.data + pkt.size);
  });
  return out;
}

}  // namespace swf::author
