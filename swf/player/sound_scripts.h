#pragma once
// What the player does for the Sound objects of its scripts between their calls: loading the
// files loadSound asked for, and telling objects that their sound ended (onSoundComplete) or
// their file arrived (onID3, onLoad). Objects waiting for either stay alive until then.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "swf/sound/sound_engine.h"

namespace swf {
namespace avm1 {
class Vm;
class Tracer;
}  // namespace avm1

class Player;
class SoundObject;

class SoundScripts {
 public:
  explicit SoundScripts(Player& player) : player_(player) {}
  sound::SoundEngine& engine();

  // The object wants onSoundComplete when this voice ends.
  void watch(sound::SoundEngine::VoiceId voice, SoundObject* o);
  // Loads `url` for the object at the next delivery (the call itself returns at once).
  void load(SoundObject* o, std::string url, bool streaming);
  // Loads what was asked and calls the handlers of what happened since the last time.
  void deliver(avm1::Vm& vm);
  void traceRoots(avm1::Tracer& t) const;

  // Files larger than this are not loaded.
  static constexpr uintmax_t kMaxFileBytes = 64u << 20;

 private:
  struct Load {
    SoundObject* object;
    int generation;
    std::string url;
    bool streaming;
  };
  void finishLoad(avm1::Vm& vm, const Load& l);

  Player& player_;
  std::map<sound::SoundEngine::VoiceId, SoundObject*> watched_;
  // Those whose sound ended, while their handlers run.
  std::vector<std::pair<sound::SoundEngine::VoiceId, SoundObject*>> ended_;
  std::vector<Load> loads_;
};

}  // namespace swf
