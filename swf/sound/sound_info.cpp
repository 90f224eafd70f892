#include "swf/sound/sound_info.h"

#include <algorithm>

#include "swf/movie/tag_codes.h"

namespace swf::sound {

SoundInfo readSoundInfo(BitReader& r) {
  SoundInfo s;
  uint8_t flags = r.u8();
  s.stop = flags & 0x20;
  s.noMultiple = flags & 0x10;
  bool envelope = flags & 0x08, loops = flags & 0x04, out = flags & 0x02, in = flags & 0x01;
  if (in) s.inPoint = r.u32();
  if (out) s.outPoint = r.u32();
  if (loops) s.loops = std::max<int>(r.u16(), 1);
  if (envelope) {
    int n = r.u8();
    for (int i = 0; i < n; ++i) {
      EnvelopePoint p;
      p.pos44 = r.u32();
      p.left = r.u16();
      p.right = r.u16();
      s.envelope.push_back(p);
    }
  }
  return s;
}

std::optional<StartSoundTag> readStartSound(int code, std::span<const uint8_t> body) {
  try {
    BitReader r(body);
    StartSoundTag t;
    if (code == tag::StartSound2)
      t.className = r.cstring();
    else
      t.soundId = r.u16();
    t.info = readSoundInfo(r);
    return t;
  } catch (const ReadError&) {
    return std::nullopt;
  }
}

}  // namespace swf::sound
