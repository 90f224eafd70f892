#include "swf/sound/event_voice.h"

#include <algorithm>
#include <cmath>

namespace swf::sound {

EventVoice::EventVoice(std::shared_ptr<SoundClip> clip, const SoundInfo& info, double outRate,
                       double offsetSeconds)
    : clip_(std::move(clip)), info_(info), resampler_(clip_->rate(), outRate), outRate_(outRate) {
  // In and out points count samples at 44.1 kHz whatever the sound's own rate.
  const double per44 = clip_->rate() / 44100.0;
  inFrame_ = info.inPoint ? size_t(double(*info.inPoint) * per44) : 0;
  outFrame_ = info.outPoint ? size_t(std::ceil(double(*info.outPoint) * per44)) : kMaxClipFrames;
  outFrame_ = std::min(outFrame_, kMaxClipFrames);
  loopsLeft_ = std::max(info.loops, 1);
  cursor_ = inFrame_;
  if (std::isfinite(offsetSeconds) && offsetSeconds > 0)
    cursor_ += size_t(std::min(offsetSeconds * clip_->rate(), double(kMaxClipFrames)));
}

size_t EventVoice::pull(float* stereo, size_t frames) {
  size_t written = 0;
  const int ch = clip_->channels();
  while (written < frames && !sourceDone_) {
    size_t have = clip_->ensure(std::min(cursor_ + (frames - written), outFrame_));
    size_t end = std::min(have, outFrame_);
    if (cursor_ >= end) {
      // End of this pass: loop back to the in point, if the pass played anything at all.
      if (--loopsLeft_ > 0 && end > inFrame_) {
        cursor_ = inFrame_;
        continue;
      }
      sourceDone_ = true;
      break;
    }
    size_t n = std::min(end - cursor_, frames - written);
    for (size_t i = 0; i < n; ++i) {
      const int16_t* f = clip_->frame(cursor_ + i);
      float l = f[0] * (1.0f / 32768), r = ch == 2 ? f[1] * (1.0f / 32768) : l;
      stereo[2 * (written + i)] = l;
      stereo[2 * (written + i) + 1] = r;
    }
    cursor_ += n;
    written += n;
  }
  return written;
}

float EventVoice::envelopeAt(uint64_t pos44, int channel) const {
  const auto& e = info_.envelope;
  // Levels above full (the field allows twice that) play at full; points out of order act
  // as steps.
  auto level = [&](const EnvelopePoint& p) {
    return std::min(channel ? p.right : p.left, uint16_t(32768)) / 32768.0f;
  };
  if (pos44 <= e.front().pos44) return level(e.front());
  for (size_t i = 1; i < e.size(); ++i) {
    if (pos44 < e[i].pos44) {
      double span = double(e[i].pos44) - double(e[i - 1].pos44);
      float t = span > 0 ? float(std::clamp((double(pos44) - e[i - 1].pos44) / span, 0.0, 1.0)) : 1;
      return level(e[i - 1]) + t * (level(e[i]) - level(e[i - 1]));
    }
  }
  return level(e.back());
}

bool EventVoice::mixInto(float* out, size_t frames, float ll, float lr, float rl, float rr) {
  if (finished_) return false;
  scratch_.resize(frames * 2);
  resampler_.process(*this, scratch_.data(), frames);
  const bool envelope = !info_.envelope.empty();
  for (size_t i = 0; i < frames; ++i) {
    float l = scratch_[2 * i], r = scratch_[2 * i + 1];
    if (envelope) {
      // The envelope counts samples at 44.1 kHz from the start of the sound.
      uint64_t pos44 = uint64_t(double(played_ + i) * 44100.0 / outRate_);
      l *= envelopeAt(pos44, 0);
      r *= envelopeAt(pos44, 1);
    }
    out[2 * i] += l * ll + r * lr;
    out[2 * i + 1] += l * rl + r * rr;
  }
  played_ += frames;
  if (sourceDone_ && resampler_.pending() <= 0) finished_ = true;
  return !finished_;
}

double EventVoice::positionSeconds() const {
  double rate = clip_->rate();
  double at = double(cursor_) - resampler_.pending();
  return rate > 0 ? std::max(0.0, at - double(inFrame_)) / rate : 0;
}

}  // namespace swf::sound
