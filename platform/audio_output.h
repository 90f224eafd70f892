#pragma once
// The sound device: SDL2 audio at 44.1 kHz stereo. Every movie control has a channel the UI
// thread fills on its tick; the device's callback pulls from all channels, adds them, applies
// the player's own output gain (platform/output_gain.h) and plays the result. A machine without
// a sound device gets channels that drop what they are given: silence, and no error.

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/audio_ring.h"

namespace rv {

class AudioOutput;

class AudioChannel {
 public:
  // Queues `frames` stereo frames. After an underrun (or at the start) a little silence goes
  // first, so the device always has a tick's worth in hand; more than the ring holds is dropped.
  void push(const float* stereo, size_t frames);
  // Frames waiting for the device.
  size_t queued() const { return ring_.queued(); }

 private:
  friend class AudioOutput;
  explicit AudioChannel(bool live) : live_(live) {}
  bool live_;
  AudioRing ring_{16384};
  std::vector<float> silence_;
};

class AudioOutput {
 public:
  static constexpr int kRate = 44100;
  // Frames kept queued ahead of the device: covers a late tick without adding much latency.
  static constexpr size_t kLeadFrames = 1024;

  enum class Mode {
    Device,  // the default device, or silence when there is none
    Silent,  // no device, channels drop what they get
    Pulled,  // no device, channels fill and the owner calls pull() (tests)
  };
  explicit AudioOutput(Mode mode = Mode::Device);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  bool hasDevice() const { return device_ != 0; }
  std::shared_ptr<AudioChannel> addChannel();
  void removeChannel(const std::shared_ptr<AudioChannel>& c);

  // Adds what every channel holds into `out` (stereo, zeroed by the caller), with the output
  // gain: the device callback's work, callable without a device for tests.
  void pull(float* out, size_t frames);

 private:
  static void callback(void* self, unsigned char* stream, int bytes);

  bool pulled_ = false;
  unsigned device_ = 0;
  std::vector<std::shared_ptr<AudioChannel>> channels_;  // changed only under the device lock
  std::vector<float> scratch_;
};

}  // namespace rv
