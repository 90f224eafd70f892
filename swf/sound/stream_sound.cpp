#include "swf/sound/stream_sound.h"

#include <algorithm>

#include "swf/io/bit_reader.h"
#include "swf/movie/tag_codes.h"

namespace swf::sound {
namespace {

// Unplayed stream samples beyond this (seconds) are dropped from the front: blocks that carry
// far more than their frames' worth cannot make the queue grow without end.
constexpr double kMaxQueuedSeconds = 8;

}  // namespace

StreamIndex indexStream(const Timeline& tl) {
  StreamIndex idx;
  int head = -1;
  idx.headAt.assign(tl.frames.size(), -1);
  idx.blockAt.assign(tl.frames.size(), {});
  for (size_t f = 0; f < tl.frames.size(); ++f) {
    for (const RawTag& t : tl.frames[f].sound) {
      if (t.code == tag::SoundStreamHead || t.code == tag::SoundStreamHead2) {
        try {
          BitReader r(t.body);
          r.u8();  // the format the author wished playback in: we play the stream's own
          StreamIndex::Head h;
          h.format = soundFormatFromByte(r.u8());
          h.samplesPerFrame = r.u16();
          if (h.format.codec == Codec::Mp3 && r.remaining() >= 2)
            h.latencySeek = std::max<int>(r.s16(), 0);
          idx.heads.push_back(h);
          head = int(idx.heads.size()) - 1;
        } catch (const ReadError&) {
          // A head too short to read leaves the stream as it was.
        }
      } else if (t.code == tag::SoundStreamBlock && idx.blockAt[f].empty()) {
        idx.blockAt[f] = t.body;
      }
    }
    idx.headAt[f] = head;
  }
  return idx;
}

void StreamVoice::clear() {
  queue_.clear();
  read_ = 0;
  if (resampler_) resampler_->reset();
  if (decoder_) decoder_->reset();
}

void StreamVoice::start(const StreamIndex::Head& head) {
  decoder_ = makePacketDecoder(head.format);
  channels_ = head.format.channels();
  queue_.clear();
  read_ = 0;
  resampler_.reset();
  resamplerRate_ = 0;
}

void StreamVoice::enterFrame(const StreamIndex& index, int frame, bool continuous) {
  if (frame < 0 || size_t(frame) >= index.headAt.size()) return;
  int head = index.headAt[size_t(frame)];
  fed_ = false;
  bool follows = continuous && lastFrame_ >= 0 && head == head_;
  lastFrame_ = frame;
  if (head < 0) {  // a block before any head plays nothing
    decoder_.reset();
    head_ = -1;
    return;
  }
  const StreamIndex::Head& h = index.heads[size_t(head)];
  if (head != head_) {
    start(h);
    head_ = head;
  } else if (!follows) {
    clear();
  }
  std::span<const uint8_t> block = index.blockAt[size_t(frame)];
  if (!decoder_ || block.empty()) return;
  if (h.format.codec == Codec::Mp3) {
    // SampleCount and SeekSamples lead each MP3 block; a stream that starts here drops the
    // samples the block's first frame holds from before it.
    if (block.size() < 4) return;
    int seek = int16_t(block[2] | (block[3] << 8));
    if (queue_.size() == read_ && !follows)
      skip_ = std::max(seek, 0) + (frame == 0 ? h.latencySeek : 0);
    block = block.subspan(4);
  }
  scratch_.clear();
  decoder_->decode(block, scratch_);
  size_t drop = std::min(size_t(skip_) * size_t(channels_), scratch_.size());
  skip_ -= int(drop / size_t(channels_));
  // Compact what was read, then bound what is waiting.
  if (read_ > 0 && read_ * 2 >= queue_.size()) {
    queue_.erase(queue_.begin(), queue_.begin() + long(read_));
    read_ = 0;
  }
  queue_.insert(queue_.end(), scratch_.begin() + long(drop), scratch_.end());
  fed_ = scratch_.size() > drop;
  size_t max = size_t(kMaxQueuedSeconds * decoder_->rate()) * size_t(channels_);
  if (queue_.size() - read_ > max) read_ = queue_.size() - max;
}

size_t StreamVoice::pull(float* stereo, size_t frames) {
  size_t avail = (queue_.size() - read_) / size_t(channels_);
  size_t n = std::min(avail, frames);
  const int16_t* q = queue_.data() + read_;
  for (size_t i = 0; i < n; ++i) {
    float l = q[i * size_t(channels_)] * (1.0f / 32768);
    float r = channels_ == 2 ? q[i * 2 + 1] * (1.0f / 32768) : l;
    stereo[2 * i] = l;
    stereo[2 * i + 1] = r;
  }
  read_ += n * size_t(channels_);
  return n;
}

double StreamVoice::outputLeft() const {
  if (!decoder_) return 0;
  double rate = decoder_->rate();
  double src = double((queue_.size() - read_) / size_t(channels_));
  if (resampler_) src += resampler_->pending() - resampler_->lookahead();
  return rate > 0 ? std::max(0.0, src * outRate_ / rate) : 0;
}

void StreamVoice::mixInto(float* out, size_t frames, float ll, float lr, float rl, float rr) {
  if (!playing_ || !decoder_) return;
  if (queue_.size() == read_ && (!resampler_ || resampler_->pending() <= 0)) return;
  if (!resampler_ || resamplerRate_ != decoder_->rate()) {
    resamplerRate_ = decoder_->rate();
    resampler_ = std::make_unique<Resampler>(resamplerRate_, outRate_);
  }
  mix_.resize(frames * 2);
  resampler_->process(*this, mix_.data(), frames);
  for (size_t i = 0; i < frames; ++i) {
    float l = mix_[2 * i], r = mix_[2 * i + 1];
    out[2 * i] += l * ll + r * lr;
    out[2 * i + 1] += l * rl + r * rr;
  }
}

}  // namespace swf::sound
