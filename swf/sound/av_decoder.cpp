// Nellymoser and Speex through FFmpeg's libavcodec: both are mono, Speex always at 16 kHz.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <cmath>
#include <mutex>

#include "swf/sound/packet_decoder.h"

namespace swf::sound {
namespace {

int16_t toS16(float v) {
  if (!(v == v)) return 0;  // NaN
  return int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
}

class AvDecoder : public PacketDecoder {
 public:
  AvDecoder(const SoundFormat& f, AVCodecID id) : PacketDecoder(f), id_(id) {
    channels_ = 1;
    open();
  }
  ~AvDecoder() override { close(); }

  bool ok() const { return ctx_ != nullptr; }

  void reset() override {
    close();
    open();
  }

  void decode(std::span<const uint8_t> p, std::vector<int16_t>& out) override {
    if (!ctx_ || p.empty()) return;
    // Nellymoser packets are 64 bytes; the decoder takes any number of them at once.
    if (id_ == AV_CODEC_ID_NELLYMOSER) p = p.first(p.size() / 64 * 64);
    if (p.empty()) return;
    if (av_new_packet(pkt_, int(p.size())) < 0) return;
    std::copy(p.begin(), p.end(), pkt_->data);
    int rc = avcodec_send_packet(ctx_, pkt_);
    av_packet_unref(pkt_);
    if (rc < 0) return;
    while (avcodec_receive_frame(ctx_, frame_) == 0) {
      append(*frame_, out);
      av_frame_unref(frame_);
    }
  }

 private:
  void open() {
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    const AVCodec* codec = avcodec_find_decoder(id_);
    if (!codec) return;
    ctx_ = avcodec_alloc_context3(codec);
    pkt_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!ctx_ || !pkt_ || !frame_) return close();
    ctx_->sample_rate = int(rate_);
    av_channel_layout_default(&ctx_->ch_layout, 1);
    if (avcodec_open2(ctx_, codec, nullptr) < 0) return close();
  }

  void close() {
    if (ctx_) avcodec_free_context(&ctx_);
    if (pkt_) av_packet_free(&pkt_);
    if (frame_) av_frame_free(&frame_);
  }

  void append(const AVFrame& f, std::vector<int16_t>& out) {
    if (f.nb_samples <= 0 || !f.data[0]) return;
    size_t n = size_t(f.nb_samples);
    int ch = std::max(f.ch_layout.nb_channels, 1);
    bool planar = av_sample_fmt_is_planar(AVSampleFormat(f.format));
    size_t stride = planar ? 1 : size_t(ch);
    // The first channel only: both codecs are mono here.
    switch (f.format) {
      case AV_SAMPLE_FMT_FLT:
      case AV_SAMPLE_FMT_FLTP: {
        auto* s = reinterpret_cast<const float*>(f.data[0]);
        for (size_t i = 0; i < n; ++i) out.push_back(toS16(s[i * stride]));
        break;
      }
      case AV_SAMPLE_FMT_S16:
      case AV_SAMPLE_FMT_S16P: {
        auto* s = reinterpret_cast<const int16_t*>(f.data[0]);
        for (size_t i = 0; i < n; ++i) out.push_back(s[i * stride]);
        break;
      }
      default:
        out.insert(out.end(), n, 0);
        break;
    }
  }

  AVCodecID id_;
  AVCodecContext* ctx_ = nullptr;
  AVPacket* pkt_ = nullptr;
  AVFrame* frame_ = nullptr;
};

}  // namespace

std::unique_ptr<PacketDecoder> makeAvDecoder(const SoundFormat& f) {
  auto d = std::make_unique<AvDecoder>(
      f, f.codec == Codec::Speex ? AV_CODEC_ID_SPEEX : AV_CODEC_ID_NELLYMOSER);
  if (!d->ok()) return nullptr;
  return d;
}

}  // namespace swf::sound
