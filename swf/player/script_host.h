#pragma once
// What the script machine asks of the player: traces, addresses, the clock and the levels.

#include "swf/avm1/vm.h"
#include "swf/player/script_streams.h"
#include "swf/player/sound_scripts.h"

namespace swf {

class Player;

class ScriptHost : public avm1::VmHost {
 public:
  explicit ScriptHost(Player& player) : player_(player), sounds_(player) {}
  Player& player() { return player_; }
  void trace(const std::string& text) override;
  void getURL(const std::string& url, const std::string& target, int method) override;
  double timerMs() override;
  double wallClockMs() override;
  avm1::DisplayNode* levelNode(int n) override;
  void toggleQuality() override;
  void stopSounds() override;
  void traceRoots(avm1::Tracer& t) override;
  SoundScripts& sounds() { return sounds_; }
  ScriptStreams& streams() { return streams_; }
  void startStream(avm1::ScriptStream* s) override { streams_.start(s); }
  void stopStream(avm1::ScriptStream* s) override { streams_.stop(s); }
  std::string moviePath() override;
  sound::SoundEngine* soundEngine() override;
  // Loading (script_loading.cpp).
  std::string localPath(const std::string& url) override;
  std::string movieAddress(const std::string& url) override;
  avm1::DisplayNode* loadMovieNow(avm1::DisplayNode* target, int level, const std::string& path,
                                  const std::string& address, std::string& error) override;
  std::string sharedObjectDir() override;

 private:
  // GetURL2's loads (variables, movies into clips) and web pages; false for what the level
  // loading above handles.
  bool loadFromScript(const std::string& url, const std::string& target, int flags);
  avm1::DisplayNode* currentNode();
  Player& player_;
  SoundScripts sounds_;
  ScriptStreams streams_;
};

}  // namespace swf
