// Fuzzes video: the first byte chooses between the frames of an embedded stream (a codec byte,
// then frames each led by a two-byte length, decoded in order with a seek back half way) and an
// FLV file played through a NetStream's playback for a few seconds with a seek.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/sound/sound_engine.h"
#include "swf/video/embedded_video.h"
#include "swf/video/flv_playback.h"

#ifdef RV_VIDEO_FUZZ_ALONE
// Built without the movie parser: the mixer's look-up of a movie's sounds is never reached here.
#include "swf/movie/movie.h"
std::shared_ptr<const swf::Character> swf::Movie::character(uint16_t) const { return nullptr; }
#endif

namespace {

void embedded(std::span<const uint8_t> in) {
  if (in.empty()) return;
  swf::VideoCharacter v;
  v.codec = in[0];
  v.width = v.height = 64;
  size_t at = 1;
  int number = 0;
  while (at + 2 <= in.size() && number < 64) {
    size_t len = size_t(in[at]) << 8 | in[at + 1];
    at += 2;
    len = std::min(len, in.size() - at);
    v.addFrame(number++, in.subspan(at, len));
    at += len;
  }
  swf::EmbeddedVideo e(v);
  for (int i = 0; i < number; ++i) e.pictureAt(i);
  e.pictureAt(number / 2);
}

void flv(std::span<const uint8_t> in) {
  swf::sound::SoundEngine sound;
  swf::FlvPlayback p(&sound);
  p.play(std::make_shared<std::vector<uint8_t>>(in.begin(), in.end()));
  std::vector<float> mix(2 * 2205);
  for (int i = 0; i < 60; ++i) {
    if (i == 30) p.seek(0.5);
    p.advance(50);
    sound.mix(mix.data(), 2205);
    p.takeEvents();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  std::span<const uint8_t> rest(data + 1, size - 1);
  if (data[0] & 1)
    flv(rest);
  else
    embedded(rest);
  return 0;
}
