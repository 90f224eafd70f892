#pragma once
// The scripts' Sound object. Its settings (volume, pan, transform) belong to the clip it names,
// so every Sound object of one clip shares them, as do the clip's own frame sounds; a Sound
// made without a clip speaks for the whole movie; once it loads a file it has settings of its
// own. The sound it starts is an exported sound (attachSound) or the file it loaded.

#include <memory>
#include <optional>
#include <string>

#include "swf/avm1/clip_object.h"
#include "swf/sound/sound_engine.h"

namespace swf {

class SoundScripts;

class SoundObject : public avm1::Object {
 public:
  enum class Target { Movie, Clip, Own };

  explicit SoundObject(SoundScripts& scripts) : scripts(scripts) {}
  ~SoundObject() override;
  void traceChildren(avm1::Tracer& t) override;
  // `duration` and `position`, in milliseconds, for files of version 6 on.
  bool getNative(avm1::Vm& vm, avm1::String* key, avm1::Value& out) override;

  // The owner whose settings this object reads and writes (null: the movie's); false when its
  // clip is not on the stage now.
  bool owner(avm1::Vm& vm, const void*& key) const;
  // The sound start() plays; null when none is attached or loaded.
  std::shared_ptr<sound::SoundClip> clip() const;
  double durationMs() const;
  double positionMs() const;
  // Remembers where the last started sound is, before it stops.
  void notePosition();

  SoundScripts& scripts;
  Target target = Target::Movie;
  std::string path;                  // the clip, found again at every use
  avm1::ClipObject* base = nullptr;  // where a relative path starts
  uint16_t attached = 0;             // the exported sound attachSound chose
  std::shared_ptr<sound::SoundClip> loaded;
  sound::SoundEngine::VoiceId voice = 0;  // the sound started last
  double offsetMs = 0;                    // where it started
  double lastPositionMs = 0;              // where it was when it stopped
  int loads = 0;                          // loadSound calls so far; a newer one wins
  std::optional<double> bytesLoaded, bytesTotal;
};

// Installs the Sound class; for the player's own machines (their host is the player's).
void installSound(avm1::Vm& vm);

}  // namespace swf
