#pragma once
// The stream sound of one timeline: SoundStreamHead says the format, each frame's
// SoundStreamBlock brings the samples for that frame. Blocks of frames entered one after another
// play back to back; a jump starts the stream again at the new frame's block.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "swf/movie/timeline.h"
#include "swf/sound/packet_decoder.h"
#include "swf/sound/resampler.h"
#include "swf/sound/sound_format.h"

namespace swf::sound {

// Where a timeline's stream heads and blocks are: found once per timeline.
struct StreamIndex {
  struct Head {
    SoundFormat format;
    int samplesPerFrame = 0;
    int latencySeek = 0;  // MP3: frames of decoder delay at the start of the stream
  };
  std::vector<Head> heads;
  std::vector<int> headAt;                        // per frame: the head in force, -1 none
  std::vector<std::span<const uint8_t>> blockAt;  // per frame: its block (empty: none)
  bool any() const { return !heads.empty(); }
};

StreamIndex indexStream(const Timeline& tl);

class StreamVoice : public FrameSource {
 public:
  explicit StreamVoice(double outRate) : outRate_(outRate) {}

  // The timeline entered `frame`: `continuous` when it follows the frame entered before.
  void enterFrame(const StreamIndex& index, int frame, bool continuous);
  void setPlaying(bool on) { playing_ = on; }
  bool playing() const { return playing_; }
  void clear();

  void mixInto(float* out, size_t frames, float ll, float lr, float rl, float rr);
  // Output frames that can still be made from what the blocks brought, before the resampler
  // would read past it.
  double outputLeft() const;
  // True while the last frame entered brought samples: the stream then paces its timeline.
  bool active() const { return decoder_ != nullptr && fed_; }

  size_t pull(float* stereo, size_t frames) override;

 private:
  void start(const StreamIndex::Head& head);

  double outRate_;
  int head_ = -1;
  int lastFrame_ = -1;
  bool playing_ = true;
  int channels_ = 1;
  std::unique_ptr<PacketDecoder> decoder_;
  std::unique_ptr<Resampler> resampler_;
  double resamplerRate_ = 0;
  std::vector<int16_t> queue_;  // decoded frames, interleaved
  size_t read_ = 0;             // samples of queue_ already pulled
  int skip_ = 0;                // MP3: frames still to drop after a (re)start
  bool fed_ = false;
  std::vector<int16_t> scratch_;
  std::vector<float> mix_;
};

}  // namespace swf::sound
