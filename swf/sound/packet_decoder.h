#pragma once
// Turns the coded packets of one sound (a DefineSound body piece by piece, or the stream blocks
// of a timeline one after another) into 16-bit samples interleaved by channel. A decoder keeps
// what a codec carries from packet to packet (MP3's bit reservoir, the codec state of
// Nellymoser and Speex). Bad data yields fewer samples or silence, never an error.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/sound/sound_format.h"

namespace swf::sound {

class PacketDecoder {
 public:
  explicit PacketDecoder(const SoundFormat& f) : rate_(f.rate), channels_(f.channels()) {}
  virtual ~PacketDecoder() = default;
  PacketDecoder(const PacketDecoder&) = delete;
  PacketDecoder& operator=(const PacketDecoder&) = delete;

  // Appends the samples of `packet`, always with channels() channels.
  virtual void decode(std::span<const uint8_t> packet, std::vector<int16_t>& out) = 0;
  // Forgets what came before (a stream restarted elsewhere).
  virtual void reset() {}

  // The rate of the samples produced so far: the declared one until the data says otherwise
  // (an MP3 stream whose frames carry another rate than its head).
  double rate() const { return rate_; }
  int channels() const { return channels_; }

 protected:
  // Appends `frames` frames of `from` channels as channels() channels.
  void appendConverted(const int16_t* in, size_t frames, int from, std::vector<int16_t>& out) const;

  double rate_;
  int channels_;
};

// Null for a codec we cannot decode (its sound plays as silence).
std::unique_ptr<PacketDecoder> makePacketDecoder(const SoundFormat& f);

// The codec-specific makers (each in its own file).
std::unique_ptr<PacketDecoder> makePcmDecoder(const SoundFormat& f);
std::unique_ptr<PacketDecoder> makeAdpcmDecoder(const SoundFormat& f);
std::unique_ptr<PacketDecoder> makeMp3Decoder(const SoundFormat& f);
std::unique_ptr<PacketDecoder> makeAvDecoder(const SoundFormat& f);  // Nellymoser, Speex

}  // namespace swf::sound
