// The system output volume through ALSA's simple mixer element "Master" on the "default" device.
// Machines without one (containers, headless servers) get the player's own output gain instead.

#include <alsa/asoundlib.h>

#include <cstdint>
#include <memory>

#include "platform/mixer.h"
#include "platform/output_gain.h"

namespace rv {
namespace {

constexpr uint32_t kFullVolume = 0xFFFFFFFFu;

uint16_t leftOf(uint32_t v) { return static_cast<uint16_t>(v & 0xFFFFu); }
uint16_t rightOf(uint32_t v) { return static_cast<uint16_t>(v >> 16); }
uint32_t pack(uint16_t left, uint16_t right) { return uint32_t{left} | (uint32_t{right} << 16); }

// ALSA reports a missing card on standard error; a player without sound hardware is normal here.
void quietAlsaError(const char*, int, const char*, int, const char*, ...) {}

class SoftwareGainMixer : public Mixer {
 public:
  SoftwareGainMixer() { apply(); }
  uint32_t volume() override { return value_; }
  void setVolume(uint32_t leftLowRightHigh) override {
    value_ = leftLowRightHigh;
    apply();
  }

 private:
  void apply() { setOutputGain({leftOf(value_) / 65535.0f, rightOf(value_) / 65535.0f}); }
  uint32_t value_ = kFullVolume;
};

class AlsaMixer : public Mixer {
 public:
  AlsaMixer(snd_mixer_t* handle, snd_mixer_elem_t* element) : handle_(handle), element_(element) {
    snd_mixer_selem_get_playback_volume_range(element_, &min_, &max_);
    mono_ = snd_mixer_selem_is_playback_mono(element_) != 0;
  }
  ~AlsaMixer() override { snd_mixer_close(handle_); }
  AlsaMixer(const AlsaMixer&) = delete;
  AlsaMixer& operator=(const AlsaMixer&) = delete;

  bool usable() const { return max_ > min_; }

  uint32_t volume() override {
    snd_mixer_handle_events(handle_);  // pick up changes made by other programs
    long left = min_, right = min_;
    if (mono_) {
      if (snd_mixer_selem_get_playback_volume(element_, SND_MIXER_SCHN_MONO, &left) < 0)
        return last_;
      right = left;
    } else if (snd_mixer_selem_get_playback_volume(element_, SND_MIXER_SCHN_FRONT_LEFT, &left) <
                   0 ||
               snd_mixer_selem_get_playback_volume(element_, SND_MIXER_SCHN_FRONT_RIGHT, &right) <
                   0) {
      return last_;
    }
    last_ = pack(toLevel(left), toLevel(right));
    return last_;
  }

  void setVolume(uint32_t leftLowRightHigh) override {
    last_ = leftLowRightHigh;
    if (mono_) {
      // One channel: the right level decides, as it does for the packed value's magnitude.
      snd_mixer_selem_set_playback_volume(element_, SND_MIXER_SCHN_MONO,
                                          toRaw(rightOf(leftLowRightHigh)));
      return;
    }
    snd_mixer_selem_set_playback_volume(element_, SND_MIXER_SCHN_FRONT_LEFT,
                                        toRaw(leftOf(leftLowRightHigh)));
    snd_mixer_selem_set_playback_volume(element_, SND_MIXER_SCHN_FRONT_RIGHT,
                                        toRaw(rightOf(leftLowRightHigh)));
  }

 private:
  uint16_t toLevel(long raw) const {
    if (raw <= min_) return 0;
    if (raw >= max_) return 65535;
    const long long span = static_cast<long long>(max_) - min_;
    return static_cast<uint16_t>(((raw - min_) * 65535LL + span / 2) / span);
  }
  long toRaw(uint16_t level) const {
    const long long span = static_cast<long long>(max_) - min_;
    return static_cast<long>(min_ + (level * span + 32767) / 65535);
  }

  snd_mixer_t* handle_;
  snd_mixer_elem_t* element_;
  long min_ = 0, max_ = 0;
  bool mono_ = false;
  uint32_t last_ = kFullVolume;
};

std::unique_ptr<AlsaMixer> openAlsaMaster() {
  snd_lib_error_set_handler(quietAlsaError);
  snd_mixer_t* handle = nullptr;
  std::unique_ptr<AlsaMixer> mixer;
  if (snd_mixer_open(&handle, 0) == 0) {
    snd_mixer_elem_t* element = nullptr;
    if (snd_mixer_attach(handle, "default") == 0 &&
        snd_mixer_selem_register(handle, nullptr, nullptr) == 0 && snd_mixer_load(handle) == 0) {
      snd_mixer_selem_id_t* id = nullptr;
      snd_mixer_selem_id_alloca(&id);
      snd_mixer_selem_id_set_index(id, 0);
      snd_mixer_selem_id_set_name(id, "Master");
      element = snd_mixer_find_selem(handle, id);
    }
    if (element && snd_mixer_selem_has_playback_volume(element)) {
      mixer = std::make_unique<AlsaMixer>(handle, element);
      if (!mixer->usable()) mixer.reset();  // closes the handle
    } else {
      snd_mixer_close(handle);
    }
  }
  snd_lib_error_set_handler(nullptr);
  return mixer;
}

}  // namespace

std::unique_ptr<Mixer> makeSoftwareMixer() { return std::make_unique<SoftwareGainMixer>(); }

std::unique_ptr<Mixer> makeSystemMixer() {
  if (auto alsa = openAlsaMaster()) return alsa;
  return makeSoftwareMixer();
}

}  // namespace rv
