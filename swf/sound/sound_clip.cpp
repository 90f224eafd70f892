#include "swf/sound/sound_clip.h"

#include <algorithm>

#include "swf/io/bit_reader.h"
#include "swf/sound/adpcm.h"

namespace swf::sound {
namespace {

// Input bytes decoded per step: small enough that starting a sound costs little.
size_t sliceFor(Codec c) {
  switch (c) {
    case Codec::Mp3:
      return 4096;
    case Codec::Nelly16k:
    case Codec::Nelly8k:
    case Codec::Nelly:
      return 64 * 16;
    case Codec::Speex:
      return size_t(-1);  // frames are not byte aligned: one piece
    default:
      return 65536;
  }
}

}  // namespace

SoundClip::SoundClip(std::span<const uint8_t> body, std::shared_ptr<const void> owner)
    : owner_(std::move(owner)) {
  BitReader r(body);
  try {
    r.u16();  // id
    format_ = soundFormatFromByte(r.u8());
    declared_ = r.u32();
    if (format_.codec == Codec::Mp3) skip_ = std::max<int>(r.s16(), 0);
    data_ = body.subspan(r.pos());
  } catch (const ReadError&) {
    done_ = true;
    return;
  }
  rate_ = format_.rate;
  if (format_.codec == Codec::Adpcm)
    adpcm_ = std::make_unique<AdpcmReader>(data_, format_.channels());
  else
    decoder_ = makePacketDecoder(format_);
  if (!adpcm_ && !decoder_) done_ = true;
}

SoundClip::~SoundClip() = default;

std::shared_ptr<SoundClip> SoundClip::fromMp3File(
    std::shared_ptr<const std::vector<uint8_t>> file) {
  // A DefineSound header in front: MP3, stereo (mono files are widened), no count, no delay.
  static constexpr uint8_t kHeader[9] = {0, 0, 0x2f, 0, 0, 0, 0, 0, 0};
  auto body = std::make_shared<std::vector<uint8_t>>(file->size() + sizeof kHeader);
  std::copy(std::begin(kHeader), std::end(kHeader), body->begin());
  std::copy(file->begin(), file->end(), body->begin() + sizeof kHeader);
  return std::make_shared<SoundClip>(*body, body);
}

std::shared_ptr<SoundClip> SoundClip::fromSamples(std::vector<int16_t> samples, int channels,
                                                  double rate) {
  auto c = std::make_shared<SoundClip>(std::span<const uint8_t>(), nullptr);
  channels = channels == 2 ? 2 : 1;
  c->format_.stereo = channels == 2;
  c->format_.rate = rate > 0 ? rate : 44100;
  c->rate_ = c->format_.rate;
  samples.resize(std::min(samples.size(), kMaxClipFrames * size_t(channels)));
  samples.resize(samples.size() - samples.size() % size_t(channels));
  c->samples_ = std::move(samples);
  c->done_ = true;
  return c;
}

size_t SoundClip::ensure(size_t frames) {
  frames = std::min(frames, kMaxClipFrames);
  while (!done_ && decodedFrames() < frames) decodeSome();
  return decodedFrames();
}

void SoundClip::decodeSome() {
  const size_t ch = size_t(channels());
  if (adpcm_) {
    if (adpcm_->read(samples_, kAdpcmSamplesPerPacket) == 0) done_ = true;
  } else {
    if (data_.empty()) {
      done_ = true;
    } else {
      size_t n = std::min(data_.size(), sliceFor(format_.codec));
      scratch_.clear();
      decoder_->decode(data_.first(n), scratch_);
      data_ = data_.subspan(n);
      rate_ = decoder_->rate();
      size_t drop = std::min(size_t(skip_) * ch, scratch_.size());
      skip_ -= int(drop / ch);
      samples_.insert(samples_.end(), scratch_.begin() + long(drop), scratch_.end());
    }
  }
  // The header's count ends the sound (MP3 pads its last frame) unless it lies about the data.
  size_t limit = std::min<size_t>(declared_ ? declared_ : kMaxClipFrames, kMaxClipFrames);
  if (decodedFrames() >= limit) {
    samples_.resize(limit * ch);
    done_ = true;
  }
  if (done_) finish();
}

void SoundClip::finish() {
  decoder_.reset();
  adpcm_.reset();
  samples_.shrink_to_fit();
  scratch_ = {};
}

double SoundClip::durationSeconds() {
  if (declared_ == 0) ensure(kMaxClipFrames);
  double frames =
      done_ ? double(decodedFrames()) : double(std::min<size_t>(declared_, kMaxClipFrames));
  return rate_ > 0 ? frames / rate_ : 0;
}

}  // namespace swf::sound
