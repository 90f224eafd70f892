#pragma once
// The sound of one player: the event sounds playing, the stream sound of each timeline, and
// the mixing of them all into stereo at the output rate. The player drives it from its frame
// clock; a Sound object of the scripts drives it through the same calls (start, stop, volume,
// pan, transform, position, duration per clip). Everything runs on the thread of the player.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "swf/movie/movie.h"
#include "swf/sound/event_voice.h"
#include "swf/sound/sound_info.h"
#include "swf/sound/sound_transform.h"
#include "swf/sound/stream_sound.h"

namespace swf::sound {

inline constexpr int kOutputRate = 44100;

class SoundEngine {
 public:
  using VoiceId = uint64_t;
  // More event sounds than this at once: the oldest stops for the newest.
  static constexpr size_t kMaxVoices = 32;

  SoundEngine() = default;
  SoundEngine(const SoundEngine&) = delete;
  SoundEngine& operator=(const SoundEngine&) = delete;

  // Movies whose dictionaries hold the sounds named by id or export name (level 0 first).
  void addMovie(std::shared_ptr<const Movie> movie);
  void clear();

  // --- event sounds
  // The decoded sound of a DefineSound id in movie `in` (null: the first movie that has one).
  std::shared_ptr<SoundClip> clip(uint16_t soundId, const Movie* in = nullptr);
  // The id exported under `name` (compared without case); 0 when none.
  uint16_t exportedSound(const std::string& name) const;
  // Starts a sound for `owner` (the clip whose settings apply; null for none). With the stop
  // flag it stops the sound's instances instead; with no-multiple it starts nothing while one
  // plays. Returns the new voice, 0 when none started.
  VoiceId start(uint16_t soundId, const SoundInfo& info, const void* owner,
                double offsetSeconds = 0, const Movie* in = nullptr);
  // The same for a sound that is not in a dictionary (a loaded MP3 file); id 0 in its voices.
  VoiceId start(std::shared_ptr<SoundClip> clip, const SoundInfo& info, const void* owner,
                double offsetSeconds = 0);
  // A StartSound or StartSound2 tag of a frame.
  void startTag(int code, std::span<const uint8_t> body, const void* owner);
  void stopVoice(VoiceId v);
  void stopSound(uint16_t soundId);                     // every instance of that sound
  void stopSound(uint16_t soundId, const void* owner);  // those started for that clip
  void stopOwner(const void* owner);                    // every event sound started for that clip
  void stopAll();                                       // StopSounds: event sounds and streams
  bool isPlaying(VoiceId v) const;
  double positionSeconds(VoiceId v) const;  // 0 once stopped
  double durationSeconds(uint16_t soundId);
  // The sounds started since loading, each once (the first 256), for tools that check them.
  const std::vector<uint16_t>& startedSounds() const { return started_; }
  // Voices that played to their end since the last call (for onSoundComplete); the last
  // kMaxFinished of them.
  std::vector<VoiceId> takeFinished();
  // Whether `v` played to its end (rather than being stopped); it is then forgotten.
  bool takeFinished(VoiceId v);
  static constexpr size_t kMaxFinished = 1024;

  // --- a clip's sound settings (null: the whole movie's), applied to all its sounds
  void setTransform(const void* owner, const SoundTransform& t);
  SoundTransform transform(const void* owner) const;
  // The clip is gone: its streams stop, its event sounds play on without its settings.
  void ownerGone(const void* owner);

  // --- stream sounds, one per timeline
  void streamFrame(const void* timeline, const Timeline& tl, int frame, bool continuous);
  void streamPlaying(const void* timeline, bool on);
  bool streamActive(const void* timeline) const;
  double streamOutputLeft(const void* timeline) const;  // output frames queued

  // --- output
  // Writes `frames` stereo frames of everything playing (silence while paused).
  void mix(float* out, size_t frames);
  void setPaused(bool on) { paused_ = on; }
  bool paused() const { return paused_; }
  size_t voiceCount() const { return voices_.size(); }

 private:
  struct Voice {
    VoiceId id;
    uint16_t soundId;
    const void* owner;
    std::unique_ptr<EventVoice> voice;
  };
  VoiceId add(uint16_t soundId, std::shared_ptr<SoundClip> clip, const SoundInfo& info,
              const void* owner, double offsetSeconds);
  ChannelMatrix gainFor(const void* owner) const;
  const StreamIndex& indexFor(const Timeline& tl);

  std::vector<std::shared_ptr<const Movie>> movies_;
  // The movie among movies_ whose bytes hold `bytes` (a tag body); null for none.
  const Movie* movieHolding(std::span<const uint8_t> bytes) const;

  std::map<std::pair<const Movie*, uint16_t>, std::shared_ptr<SoundClip>> clips_;
  std::vector<Voice> voices_;
  VoiceId nextId_ = 1;
  std::vector<VoiceId> finished_;
  std::vector<uint16_t> started_;
  std::map<const void*, SoundTransform> transforms_;
  std::map<const Timeline*, StreamIndex> indexes_;
  std::map<const void*, StreamVoice> streams_;
  bool paused_ = false;
};

}  // namespace swf::sound
