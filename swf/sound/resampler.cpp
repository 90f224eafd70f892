#include "swf/sound/resampler.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace swf::sound {

namespace {
constexpr int kPhases = 256;
constexpr int kBaseTaps = 12;  // per side when upsampling
constexpr int kMaxTaps = 64;
constexpr double kPassband = 0.92;  // cutoff as a part of the lower Nyquist frequency
constexpr size_t kPullChunk = 512;
}  // namespace

struct SincTable {
  int taps = 0;
  std::vector<float> coef;  // (kPhases + 1) rows of 2 * taps
  const float* row(int phase) const { return coef.data() + size_t(phase) * size_t(2 * taps); }
};

namespace {

std::shared_ptr<const SincTable> makeTable(int taps, double cutoff) {
  auto t = std::make_shared<SincTable>();
  t->taps = taps;
  t->coef.resize(size_t(kPhases + 1) * size_t(2 * taps));
  for (int p = 0; p <= kPhases; ++p) {
    double frac = double(p) / kPhases;
    float* row = t->coef.data() + size_t(p) * size_t(2 * taps);
    double sum = 0;
    for (int k = 0; k < 2 * taps; ++k) {
      double x = (k - taps + 1) - frac;  // distance from the output position, in input frames
      double s = x == 0 ? 1.0 : std::sin(M_PI * cutoff * x) / (M_PI * cutoff * x);
      double w = std::abs(x) >= taps ? 0.0
                                     : 0.42 + 0.5 * std::cos(M_PI * x / taps) +
                                           0.08 * std::cos(2 * M_PI * x / taps);
      row[k] = float(s * w);
      sum += s * w;
    }
    for (int k = 0; k < 2 * taps; ++k) row[k] = float(row[k] / sum);  // unity gain at DC
  }
  return t;
}

std::shared_ptr<const SincTable> tableFor(int taps, double cutoff) {
  static std::mutex m;
  static std::map<std::pair<int, long>, std::shared_ptr<const SincTable>> cache;
  std::lock_guard lock(m);
  auto key = std::make_pair(taps, std::lround(cutoff * 1e6));
  auto& t = cache[key];
  if (!t) t = makeTable(taps, cutoff);
  return t;
}

}  // namespace

Resampler::Resampler(double inRate, double outRate) {
  if (!(inRate > 0) || !(outRate > 0) || !std::isfinite(inRate)) inRate = outRate = 44100;
  step_ = inRate / outRate;
  copy_ = step_ == 1.0;
  if (!copy_) {
    double scale = std::min(1.0, outRate / inRate);
    taps_ = std::min(kMaxTaps, int(std::ceil(kBaseTaps / scale)));
    table_ = tableFor(taps_, kPassband * scale);
  }
  reset();
}

Resampler::~Resampler() = default;

void Resampler::reset() {
  // History of silence before the first frame, so output frame 0 sits on input frame 0.
  buf_.assign(size_t(2 * taps_), 0.0f);
  pos_ = taps_;
  realEnd_ = size_t(taps_);
}

double Resampler::pending() const { return std::max(0.0, double(realEnd_) - pos_); }

void Resampler::fill(FrameSource& source, size_t upTo) {
  size_t have = buf_.size() / 2;
  if (have >= upTo) return;
  size_t want = std::max(upTo - have, kPullChunk);
  buf_.resize((have + want) * 2);
  size_t got = source.pull(buf_.data() + have * 2, want);
  if (got > 0) realEnd_ = have + got;
  std::fill(buf_.begin() + long((have + got) * 2), buf_.end(), 0.0f);
  if (got < want) buf_.resize(std::max(have + got, upTo) * 2);
}

void Resampler::process(FrameSource& source, float* out, size_t frames) {
  if (copy_) {
    size_t start = size_t(pos_);
    fill(source, start + frames);
    std::copy_n(buf_.begin() + long(start * 2), frames * 2, out);
    pos_ += double(frames);
  } else {
    const SincTable& t = *table_;
    const int n = 2 * taps_;
    float c[2 * kMaxTaps];
    for (size_t i = 0; i < frames; ++i) {
      size_t base = size_t(pos_);
      fill(source, base + size_t(taps_) + 1);
      double frac = pos_ - double(base);
      double ph = frac * kPhases;
      int p = std::min(int(ph), kPhases - 1);
      float f = float(ph - p);
      const float* a = t.row(p);
      const float* b = t.row(p + 1);
      for (int k = 0; k < n; ++k) c[k] = a[k] + f * (b[k] - a[k]);
      const float* in = buf_.data() + (base - size_t(taps_) + 1) * 2;
      float l = 0, r = 0;
      for (int k = 0; k < n; ++k) {
        l += c[k] * in[2 * k];
        r += c[k] * in[2 * k + 1];
      }
      out[2 * i] = l;
      out[2 * i + 1] = r;
      pos_ += step_;
    }
  }
  // Drop what no later output can reach, keeping the kernel's history.
  size_t keepFrom = size_t(pos_) > size_t(taps_) ? size_t(pos_) - size_t(taps_) : 0;
  if (keepFrom > 4096) {
    buf_.erase(buf_.begin(), buf_.begin() + long(keepFrom * 2));
    pos_ -= double(keepFrom);
    realEnd_ = realEnd_ > keepFrom ? realEnd_ - keepFrom : 0;
  }
}

}  // namespace swf::sound
