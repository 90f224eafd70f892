#include "platform/audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/output_gain.h"

namespace rv {

void AudioChannel::push(const float* stereo, size_t frames) {
  if (!live_ || frames == 0) return;
  if (ring_.queued() == 0) {
    silence_.assign(AudioOutput::kLeadFrames * 2, 0.0f);
    ring_.write(silence_.data(), AudioOutput::kLeadFrames);
  }
  ring_.write(stereo, frames);
}

AudioOutput::AudioOutput(Mode mode) : pulled_(mode == Mode::Pulled) {
  if (mode != Mode::Device) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  SDL_AudioSpec want{}, have{};
  want.freq = kRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 512;
  want.callback = &AudioOutput::callback;
  want.userdata = this;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);  // SDL converts if it must
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  scratch_.resize(size_t(have.samples) * 4 + 4096);
  SDL_PauseAudioDevice(device_, 0);
}

AudioOutput::~AudioOutput() {
  if (device_) {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

std::shared_ptr<AudioChannel> AudioOutput::addChannel() {
  std::shared_ptr<AudioChannel> c(new AudioChannel(device_ != 0 || pulled_));
  if (device_) SDL_LockAudioDevice(device_);
  channels_.push_back(c);
  if (device_) SDL_UnlockAudioDevice(device_);
  return c;
}

void AudioOutput::removeChannel(const std::shared_ptr<AudioChannel>& c) {
  if (device_) SDL_LockAudioDevice(device_);
  std::erase(channels_, c);
  if (device_) SDL_UnlockAudioDevice(device_);
}

void AudioOutput::pull(float* out, size_t frames) {
  scratch_.resize(std::max(scratch_.size(), frames * 2));
  for (const auto& c : channels_) {
    size_t got = c->ring_.read(scratch_.data(), frames);
    for (size_t i = 0; i < got * 2; ++i) out[i] += scratch_[i];
  }
  ChannelGain g = outputGain();
  for (size_t i = 0; i < frames; ++i) {
    out[2 * i] = std::clamp(out[2 * i] * g.left, -1.0f, 1.0f);
    out[2 * i + 1] = std::clamp(out[2 * i + 1] * g.right, -1.0f, 1.0f);
  }
}

void AudioOutput::callback(void* self, unsigned char* stream, int bytes) {
  auto* out = reinterpret_cast<float*>(stream);
  size_t frames = size_t(bytes) / (2 * sizeof(float));
  std::fill(out, out + frames * 2, 0.0f);
  static_cast<AudioOutput*>(self)->pull(out, frames);
}

}  // namespace rv
