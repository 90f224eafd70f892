#pragma once
// An event sound of the dictionary (DefineSound), decoded as it is played: a long MP3 starts at
// once and costs its decoding spread over its playing time. Decoded samples are kept, so loops,
// replays and every voice of the same sound share them.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/sound/packet_decoder.h"
#include "swf/sound/sound_format.h"

namespace swf::sound {

class AdpcmReader;

// More than this many frames of one sound are not kept (about 12 minutes at 44.1 kHz): a file
// declaring 2^32 samples, or an MP3 that expands without end, stays bounded.
inline constexpr size_t kMaxClipFrames = size_t(1) << 25;

class SoundClip {
 public:
  // `body` is the DefineSound body from its id on; `owner` keeps the bytes it points into alive.
  // Throws nothing: a body too short for its header gives an empty sound.
  SoundClip(std::span<const uint8_t> body, std::shared_ptr<const void> owner);
  // An MP3 file of its own (the Sound object's loadSound), decoded like an event sound.
  static std::shared_ptr<SoundClip> fromMp3File(std::shared_ptr<const std::vector<uint8_t>> file);
  // Samples decoded elsewhere (an FLV file's audio), interleaved by channel, at any rate.
  static std::shared_ptr<SoundClip> fromSamples(std::vector<int16_t> samples, int channels,
                                                double rate);
  ~SoundClip();
  SoundClip(const SoundClip&) = delete;
  SoundClip& operator=(const SoundClip&) = delete;

  const SoundFormat& format() const { return format_; }
  double rate() const { return rate_; }
  int channels() const { return format_.channels(); }
  uint32_t declaredFrames() const { return declared_; }

  // Decodes until `frames` frames exist or the data ends; returns the frames decoded so far.
  size_t ensure(size_t frames);
  size_t decodedFrames() const { return samples_.size() / size_t(channels()); }
  bool complete() const { return done_; }
  const int16_t* frame(size_t i) const { return samples_.data() + i * size_t(channels()); }

  // Length in seconds: exact once decoded, else what the header declares; a sound that declares
  // nothing (a loaded MP3 file) is decoded to its end to know.
  double durationSeconds();

 private:
  void decodeSome();
  void finish();

  std::shared_ptr<const void> owner_;
  SoundFormat format_;
  double rate_ = 44100;
  uint32_t declared_ = 0;
  std::span<const uint8_t> data_;  // coded samples still to decode
  std::unique_ptr<PacketDecoder> decoder_;
  std::unique_ptr<AdpcmReader> adpcm_;
  int skip_ = 0;  // MP3: frames of decoder delay still to drop
  std::vector<int16_t> samples_;
  std::vector<int16_t> scratch_;
  bool done_ = false;
};

}  // namespace swf::sound
