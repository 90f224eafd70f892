#include "swf/author/sound_tags.h"

#include <cstdlib>

#include "swf/author/bit_writer.h"
#include "swf/sound/adpcm.h"

namespace swf::author {

uint8_t soundFormatByte(int codec, int rateIndex, bool sixteenBit, bool stereo) {
  return uint8_t((codec << 4) | ((rateIndex & 3) << 2) | (sixteenBit ? 2 : 0) | (stereo ? 1 : 0));
}

std::vector<uint8_t> defineSoundBody(uint16_t id, uint8_t format, uint32_t sampleCount,
                                     std::span<const uint8_t> data) {
  BitWriter w;
  w.u16(id);
  w.u8(format);
  w.u32(sampleCount);
  w.bytes(data);
  return w.data();
}

std::vector<uint8_t> startSoundBody(uint16_t id, const sound::SoundInfo& info) {
  BitWriter w;
  w.u16(id);
  w.u8(uint8_t((info.stop ? 0x20 : 0) | (info.noMultiple ? 0x10 : 0) |
               (info.envelope.empty() ? 0 : 0x08) | (info.loops != 1 ? 0x04 : 0) |
               (info.outPoint ? 0x02 : 0) | (info.inPoint ? 0x01 : 0)));
  if (info.inPoint) w.u32(*info.inPoint);
  if (info.outPoint) w.u32(*info.outPoint);
  if (info.loops != 1) w.u16(uint16_t(info.loops));
  if (!info.envelope.empty()) {
    w.u8(uint8_t(info.envelope.size()));
    for (const auto& p : info.envelope) {
      w.u32(p.pos44);
      w.u16(p.left);
      w.u16(p.right);
    }
  }
  return w.data();
}

std::vector<uint8_t> soundStreamHeadBody(uint8_t format, uint16_t samplesPerFrame,
                                         int16_t latencySeek) {
  BitWriter w;
  w.u8(format & 0x0f);
  w.u8(format);
  w.u16(samplesPerFrame);
  if ((format >> 4) == 2) w.s16(latencySeek);
  return w.data();
}

std::vector<uint8_t> pcm16Bytes(std::span<const int16_t> samples) {
  std::vector<uint8_t> b;
  b.reserve(samples.size() * 2);
  for (int16_t s : samples) {
    b.push_back(uint8_t(s));
    b.push_back(uint8_t(uint16_t(s) >> 8));
  }
  return b;
}

std::vector<uint8_t> encodeAdpcm(std::span<const int16_t> samples, int channels, int codeBits,
                                 std::vector<int16_t>* decoded) {
  BitWriter w;
  w.ub(2, uint32_t(codeBits - 2));
  sound::AdpcmChannel state[2];
  const size_t frames = samples.size() / size_t(channels);
  for (size_t f = 0; f < frames; ++f) {
    bool packetStart = f % sound::kAdpcmSamplesPerPacket == 0;
    for (int c = 0; c < channels; ++c) {
      int target = samples[f * size_t(channels) + size_t(c)];
      sound::AdpcmChannel& s = state[c];
      if (packetStart) {
        s.sample = target;
        w.sb(16, target);
        w.ub(6, uint32_t(s.index));
      } else {
        // The code whose step lands nearest: tried in full, there are at most 32.
        unsigned best = 0;
        int bestError = 1 << 30;
        for (unsigned code = 0; code < (1u << codeBits); ++code) {
          sound::AdpcmChannel trial = s;
          trial.apply(code, codeBits);
          int e = std::abs(trial.sample - target);
          if (e < bestError) {
            bestError = e;
            best = code;
          }
        }
        s.apply(best, codeBits);
        w.ub(unsigned(codeBits), best);
      }
      if (decoded) decoded->push_back(int16_t(s.sample));
    }
  }
  return w.data();
}

}  // namespace swf::author
