#include "swf/video/flv_audio.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cmath>

#include "swf/sound/packet_decoder.h"
#include "swf/sound/sound_clip.h"
#include "swf/video/av_packet.h"

namespace swf {
namespace {

constexpr int kAac = 10;
constexpr int kMp3At8k = 14;

// AAC in FLV: a first packet with the decoder's configuration, then raw frames.
class AacDecoder {
 public:
  AacDecoder() {
    const AVCodec* c = avcodec_find_decoder(AV_CODEC_ID_AAC);
    if (!c) return;
    codec_ = c;
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
  }
  ~AacDecoder() {
    avcodec_free_context(&ctx_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
  }
  AacDecoder(const AacDecoder&) = delete;
  AacDecoder& operator=(const AacDecoder&) = delete;

  void configure(std::span<const uint8_t> config) {
    if (!codec_ || config.size() > 64) return;
    avcodec_free_context(&ctx_);
    ctx_ = avcodec_alloc_context3(codec_);
    if (!ctx_) return;
    ctx_->extradata =
        static_cast<uint8_t*>(av_mallocz(config.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!ctx_->extradata) return avcodec_free_context(&ctx_);
    std::copy(config.begin(), config.end(), ctx_->extradata);
    ctx_->extradata_size = int(config.size());
    if (avcodec_open2(ctx_, codec_, nullptr) < 0) avcodec_free_context(&ctx_);
  }

  void decode(std::span<const uint8_t> raw, FlvAudio& out) {
    if (!ctx_ || raw.empty() || raw.size() > (1u << 20)) return;
    if (sendPadded(ctx_, packet_, raw) < 0) return;
    while (avcodec_receive_frame(ctx_, frame_) == 0) {
      append(out);
      av_frame_unref(frame_);
    }
  }

 private:
  void append(FlvAudio& out) {
    const int channels = std::clamp(frame_->ch_layout.nb_channels, 1, 2);
    if (out.samples.empty()) {
      out.channels = channels;
      out.rate = frame_->sample_rate > 0 ? frame_->sample_rate : 44100;
    }
    auto fmt = AVSampleFormat(frame_->format);
    if (fmt != AV_SAMPLE_FMT_FLTP && fmt != AV_SAMPLE_FMT_FLT) return;
    const bool planar = fmt == AV_SAMPLE_FMT_FLTP;
    for (int i = 0; i < frame_->nb_samples; ++i)
      for (int c = 0; c < out.channels; ++c) {
        int src = std::min(c, channels - 1);
        float v = planar ? reinterpret_cast<const float*>(frame_->data[src])[i]
                         : reinterpret_cast<const float*>(frame_->data[0])[i * channels + src];
        out.samples.push_back(int16_t(std::lrint(std::clamp(v, -1.0f, 1.0f) * 32767)));
      }
  }

  const AVCodec* codec_ = nullptr;
  AVCodecContext* ctx_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
};

}  // namespace

FlvAudio decodeFlvAudio(const FlvFile& flv) {
  FlvAudio out;
  std::unique_ptr<sound::PacketDecoder> decoder;
  std::unique_ptr<AacDecoder> aac;
  int format = -1;
  const size_t cap = sound::kMaxClipFrames * 2;
  for (const FlvTag& t : flv.tags) {
    if (t.type != FlvTagType::Audio || t.data.size() < 2) continue;
    if (out.samples.size() >= cap) break;
    uint8_t head = t.data[0];
    if (format < 0) {
      format = head;
      out.startMs = t.timeMs;
      int codec = head >> 4;
      if (codec == kAac) {
        aac = std::make_unique<AacDecoder>();
      } else {
        // MP3 at 8 kHz has a number of its own; the decoder reads the rate from the frames.
        uint8_t byte = codec == kMp3At8k ? uint8_t(0x20 | (head & 0x0f)) : head;
        sound::SoundFormat f = sound::soundFormatFromByte(byte);
        decoder = sound::makePacketDecoder(f);
        if (!decoder) return out;
        out.channels = decoder->channels();
      }
    }
    if (head != format) continue;
    auto body = t.data.subspan(1);
    if (aac) {
      // The packet type: 0 the configuration, 1 a frame.
      if (body[0] == 0)
        aac->configure(body.subspan(1));
      else
        aac->decode(body.subspan(1), out);
    } else {
      decoder->decode(body, out.samples);
      out.rate = decoder->rate();
    }
  }
  out.samples.resize(std::min(out.samples.size(), cap));
  return out;
}

}  // namespace swf
