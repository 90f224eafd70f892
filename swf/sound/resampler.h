#pragma once
// Band-limited resampling of stereo frames to the output rate: a windowed-sinc kernel
// (Blackman window) tabulated at 256 phases, interpolated between phases, with its cutoff below
// the lower of the two Nyquist frequencies so neither images nor aliases pass. Equal rates copy.

#include <cstddef>
#include <memory>
#include <vector>

namespace swf::sound {

// Where a resampler reads its input: stereo float frames, interleaved.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Writes up to `frames` frames; fewer means the source has nothing more for now.
  virtual size_t pull(float* stereo, size_t frames) = 0;
};

struct SincTable;

class Resampler {
 public:
  Resampler(double inRate, double outRate);
  ~Resampler();

  // Writes `frames` output frames into `out` (stereo, interleaved); input the source does not
  // have reads as silence.
  void process(FrameSource& source, float* out, size_t frames);
  // Forgets the input seen so far (a jump in the source).
  void reset();
  // Input frames read from the source and not yet passed by the output position: what the
  // output still has to play of what was pulled.
  double pending() const;

  double ratio() const { return step_; }
  // Input frames the kernel reads beyond the output position.
  int lookahead() const { return taps_ + 1; }

 private:
  void fill(FrameSource& source, size_t upTo);

  double step_;  // input frames per output frame
  bool copy_;    // equal rates
  std::shared_ptr<const SincTable> table_;
  int taps_ = 0;            // per side
  std::vector<float> buf_;  // stereo frames; buf_[0] is input frame `base`
  double pos_ = 0;          // output position in buf_ frames
  size_t realEnd_ = 0;      // buf_ frames before this came from the source, the rest is padding
};

}  // namespace swf::sound
