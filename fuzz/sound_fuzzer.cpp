// Fuzzes the sound decoders: the input is a DefineSound body or a run of stream blocks in any
// codec, played through a voice with a SOUNDINFO taken from the input too, or an MP3 file as
// loadSound reads it (its ID3 tags, then its sound).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "swf/sound/event_voice.h"
#include "swf/sound/id3_tags.h"
#include "swf/sound/sound_clip.h"
#include "swf/sound/stream_sound.h"

namespace snd = swf::sound;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t mode = data[0];
  std::span<const uint8_t> rest(data + 1, size - 1);
  std::vector<float> out(4096 * 2);
  if ((mode & 0x0f) == 0x0c) {
    snd::readId3(rest);
    auto clip = snd::SoundClip::fromMp3File(
        std::make_shared<const std::vector<uint8_t>>(rest.begin(), rest.end()));
    snd::EventVoice v(clip, {}, 44100);
    for (int i = 0; i < 16 && v.mixInto(out.data(), 4096, 1, 0, 0, 1); ++i) {
    }
  } else if (mode & 1) {
    // Stream: a format byte, then blocks each led by a one-byte length; heads may change.
    snd::StreamIndex idx;
    size_t at = 0;
    while (at < rest.size() && idx.blockAt.size() < 64) {
      uint8_t len = rest[at++];
      if (len == 0 && at < rest.size()) {  // a new head
        idx.heads.push_back({snd::soundFormatFromByte(rest[at++]), 0, 0});
        continue;
      }
      size_t n = std::min<size_t>(len * 8u, rest.size() - at);
      idx.blockAt.push_back(rest.subspan(at, n));
      idx.headAt.push_back(int(idx.heads.size()) - 1);
      at += n;
    }
    snd::StreamVoice v(44100);
    for (size_t f = 0; f < idx.blockAt.size(); ++f) {
      v.enterFrame(idx, int(f), (mode & 2) || f % 5 != 3);
      v.mixInto(out.data(), 1024, 1, 0, 0, 1);
    }
  } else {
    // Event: a SOUNDINFO, then the DefineSound body from its id on.
    swf::BitReader r(rest);
    snd::SoundInfo info;
    try {
      info = snd::readSoundInfo(r);
    } catch (const swf::ReadError&) {
      return 0;
    }
    info.loops = std::min(info.loops, 4);
    auto clip = std::make_shared<snd::SoundClip>(rest.subspan(r.pos()), nullptr);
    snd::EventVoice v(clip, info, 44100, (mode >> 4) * 0.01);
    for (int i = 0; i < 16 && v.mixInto(out.data(), 4096, 1, 0.5f, 0.5f, 1); ++i) {
    }
    v.positionSeconds();
    clip->durationSeconds();
  }
  return 0;
}
