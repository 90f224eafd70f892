#pragma once
// One playing instance of an event sound: its in and out points, loops and envelope, read from
// the shared decoded clip and resampled to the output rate.

#include <cstdint>
#include <memory>

#include "swf/sound/resampler.h"
#include "swf/sound/sound_clip.h"
#include "swf/sound/sound_info.h"

namespace swf::sound {

class EventVoice : public FrameSource {
 public:
  // `offsetSeconds` starts that far into the sound (the Sound object's start(offset)).
  EventVoice(std::shared_ptr<SoundClip> clip, const SoundInfo& info, double outRate,
             double offsetSeconds = 0);

  // Adds `frames` frames of this voice into `out` (stereo), each channel through `gain`.
  // Returns false once the voice has played out.
  bool mixInto(float* out, size_t frames, float ll, float lr, float rl, float rr);

  bool finished() const { return finished_; }
  const std::shared_ptr<SoundClip>& clip() const { return clip_; }
  // Seconds into the sound, within the current loop.
  double positionSeconds() const;

  size_t pull(float* stereo, size_t frames) override;

 private:
  float envelopeAt(uint64_t pos44, int channel) const;

  std::shared_ptr<SoundClip> clip_;
  SoundInfo info_;
  Resampler resampler_;
  double outRate_;
  size_t inFrame_ = 0, outFrame_ = 0;  // the played part of the clip, in its frames
  size_t cursor_ = 0;                  // next frame to pull
  int loopsLeft_ = 1;
  bool sourceDone_ = false, finished_ = false;
  uint64_t played_ = 0;  // output frames produced
  std::vector<float> scratch_;
};

}  // namespace swf::sound
