#include "swf/video/video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <mutex>
#include <vector>

#include "swf/video/av_packet.h"
#include "swf/video/video_codec.h"

namespace swf {
namespace {

AVCodecID codecId(int codec) {
  switch (VideoCodec(codec)) {
    case VideoCodec::SorensonH263:
      return AV_CODEC_ID_FLV1;
    case VideoCodec::ScreenVideo:
      return AV_CODEC_ID_FLASHSV;
    case VideoCodec::Vp6:
      return AV_CODEC_ID_VP6F;
    case VideoCodec::Vp6Alpha:
      return AV_CODEC_ID_VP6A;
    case VideoCodec::ScreenVideo2:
      return AV_CODEC_ID_FLASHSV2;
  }
  return AV_CODEC_ID_NONE;
}

}  // namespace

VideoDecoder::VideoDecoder(int codec, int deblocking) : codec_(codec), deblocking_(deblocking) {
  open();
}

VideoDecoder::~VideoDecoder() { close(); }

void VideoDecoder::open() {
  // The library's messages about damaged frames would go to the terminal; a bad frame is
  // answered with a blank picture instead.
  static std::once_flag quiet;
  std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
  AVCodecID id = codecId(codec_);
  if (id == AV_CODEC_ID_NONE) return;
  const AVCodec* c = avcodec_find_decoder(id);
  if (!c) return;
  ctx_ = avcodec_alloc_context3(c);
  if (!ctx_) return;
  ctx_->thread_count = 1;
  // The library refuses pictures past this before allocating them.
  ctx_->max_pixels = kMaxVideoPixels;
  if (deblocking_ == 1) ctx_->skip_loop_filter = AVDISCARD_ALL;
  frame_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  if (!frame_ || !packet_ || avcodec_open2(ctx_, c, nullptr) < 0) close();
}

void VideoDecoder::close() {
  if (ctx_) avcodec_free_context(&ctx_);
  if (frame_) av_frame_free(&frame_);
  if (packet_) av_packet_free(&packet_);
}

void VideoDecoder::reset() {
  close();
  open();
}

bool VideoDecoder::decode(std::span<const uint8_t> frame, VideoPicture* out) {
  if (out) out->clear();
  if (!ctx_) return false;
  Vp6Adjustment adjust;
  bool vp6 = codec_ == int(VideoCodec::Vp6) || codec_ == int(VideoCodec::Vp6Alpha);
  if (vp6) {
    // The adjustment byte is the format's, not the codec's; the alpha variant's 24-bit offset
    // to the alpha plane stays, as the decoder expects it.
    if (frame.empty()) return false;
    adjust = readVp6Adjustment(frame[0]);
    frame = frame.subspan(1);
  }
  if (frame.empty() || frame.size() > (1u << 26)) return false;
  if (sendPadded(ctx_, packet_, frame) < 0) return false;
  bool got = false;
  while (avcodec_receive_frame(ctx_, frame_) == 0) {
    int w = frame_->width - (vp6 ? adjust.horizontal : 0);
    int h = frame_->height - (vp6 ? adjust.vertical : 0);
    got = w > 0 && h > 0 && int64_t(w) * h <= kMaxVideoPixels &&
          (!out || convertPicture(*frame_, w, h, *out));
    av_frame_unref(frame_);
  }
  if (!got && out) out->clear();
  return got;
}

}  // namespace swf
