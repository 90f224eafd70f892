#include "swf/sound/packet_decoder.h"

#include "swf/sound/adpcm.h"

namespace swf::sound {

void PacketDecoder::appendConverted(const int16_t* in, size_t frames, int from,
                                    std::vector<int16_t>& out) const {
  if (from == channels_) {
    out.insert(out.end(), in, in + frames * size_t(from));
  } else if (from == 1) {  // mono into stereo
    for (size_t i = 0; i < frames; ++i) {
      out.push_back(in[i]);
      out.push_back(in[i]);
    }
  } else {  // stereo (or more) into mono: the mean of the first two
    for (size_t i = 0; i < frames; ++i)
      out.push_back(int16_t((in[i * size_t(from)] + in[i * size_t(from) + 1]) / 2));
  }
}

namespace {

class PcmDecoder : public PacketDecoder {
 public:
  explicit PcmDecoder(const SoundFormat& f) : PacketDecoder(f), sixteen_(f.sixteenBit) {}
  void decode(std::span<const uint8_t> p, std::vector<int16_t>& out) override {
    if (sixteen_) {
      // Both PCM codecs are read little-endian: "native" files were written on x86.
      size_t n = p.size() / 2 / size_t(channels_) * size_t(channels_);
      out.reserve(out.size() + n);
      for (size_t i = 0; i < n; ++i) out.push_back(int16_t(p[2 * i] | (p[2 * i + 1] << 8)));
    } else {
      size_t n = p.size() / size_t(channels_) * size_t(channels_);
      out.reserve(out.size() + n);
      for (size_t i = 0; i < n; ++i) out.push_back(int16_t((int(p[i]) - 128) << 8));
    }
  }

 private:
  bool sixteen_;
};

// Every stream block is an ADPCM stream of its own, with its own code size.
class AdpcmDecoder : public PacketDecoder {
 public:
  using PacketDecoder::PacketDecoder;
  void decode(std::span<const uint8_t> p, std::vector<int16_t>& out) override {
    AdpcmReader reader(p, channels_);
    while (reader.read(out, size_t(kAdpcmSamplesPerPacket)) > 0) {
    }
  }
};

}  // namespace

std::unique_ptr<PacketDecoder> makePcmDecoder(const SoundFormat& f) {
  return std::make_unique<PcmDecoder>(f);
}

std::unique_ptr<PacketDecoder> makeAdpcmDecoder(const SoundFormat& f) {
  return std::make_unique<AdpcmDecoder>(f);
}

std::unique_ptr<PacketDecoder> makePacketDecoder(const SoundFormat& f) {
  if (!f.known) return nullptr;
  switch (f.codec) {
    case Codec::PcmNative:
    case Codec::PcmLittle:
      return makePcmDecoder(f);
    case Codec::Adpcm:
      return makeAdpcmDecoder(f);
    case Codec::Mp3:
      return makeMp3Decoder(f);
    case Codec::Nelly16k:
    case Codec::Nelly8k:
    case Codec::Nelly:
    case Codec::Speex:
      return makeAvDecoder(f);
  }
  return nullptr;
}

}  // namespace swf::sound
