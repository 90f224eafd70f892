#pragma once
// How loud a clip's sounds play and where: the Sound object's volume and its transform of the
// two channels, in percent as scripts set them.

#include <algorithm>
#include <cmath>

namespace swf::sound {

struct SoundTransform {
  double volume = 100;
  // ll: left input into the left output, lr: right input into the left output, rl: left input
  // into the right output, rr: right input into the right output.
  double ll = 100, lr = 0, rl = 0, rr = 100;

  // Pan -100 (left) .. 100 (right), as setPan sets the transform.
  static SoundTransform withPan(double volume, double pan) {
    SoundTransform t;
    t.volume = volume;
    pan = std::isfinite(pan) ? std::clamp(pan, -100.0, 100.0) : 0.0;
    t.ll = pan > 0 ? 100 - pan : 100;
    t.rr = pan < 0 ? 100 + pan : 100;
    return t;
  }
  double pan() const { return ll == rr ? 0 : ll > rr ? -(100 - rr) : 100 - ll; }
};

// A level from a script: finite and never above full (a negative one turns the phase), so
// setVolume(1e308) cannot scream and NaN is mute.
inline double saneLevel(double v) { return std::isfinite(v) ? std::clamp(v, -100.0, 100.0) : 0; }

// The gains one transform applies: out left = in left * ll + in right * lr, out right = in left
// * rl + in right * rr.
struct ChannelMatrix {
  float ll = 1, lr = 0, rl = 0, rr = 1;
  static ChannelMatrix of(const SoundTransform& t) {
    double v = saneLevel(t.volume) / 100;
    return {float(v * saneLevel(t.ll) / 100), float(v * saneLevel(t.lr) / 100),
            float(v * saneLevel(t.rl) / 100), float(v * saneLevel(t.rr) / 100)};
  }
  ChannelMatrix then(const ChannelMatrix& o) const {  // this, then o
    return {ll * o.ll + rl * o.lr, lr * o.ll + rr * o.lr, ll * o.rl + rl * o.rr,
            lr * o.rl + rr * o.rr};
  }
};

}  // namespace swf::sound
