#include "swf/player/script_host.h"

#include <strings.h>

#include <cctype>

#include "swf/player/local_address.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"

namespace swf {

void ScriptHost::trace(const std::string& text) { player_.trace(text); }

void ScriptHost::getURL(const std::string& url, const std::string& target, int method) {
  static constexpr char kPrefix[] = "FSCommand:";
  constexpr size_t n = sizeof kPrefix - 1;
  if (url.size() >= n && strncasecmp(url.c_str(), kPrefix, n) == 0) {
    player_.fsCommand(url.substr(n), target);
    return;
  }
  if (loadFromScript(url, target, method)) return;
  // A level as the target loads the movie into it (an empty address empties it).
  if (int level = levelTargetNumber(target); level >= 0) player_.loadLevel(level, url);
}

double ScriptHost::timerMs() { return player_.elapsedMs(); }
double ScriptHost::wallClockMs() {
  return player_.wallClock ? player_.wallClock() : VmHost::wallClockMs();
}

void ScriptHost::toggleQuality() { player_.toggleQuality(); }

void ScriptHost::stopSounds() { player_.stopSounds(); }

void ScriptHost::traceRoots(avm1::Tracer& t) {
  sounds_.traceRoots(t);
  streams_.traceRoots(t);
}
std::string ScriptHost::moviePath() { return player_.path(); }

sound::SoundEngine* ScriptHost::soundEngine() { return &player_.sound(); }

avm1::DisplayNode* ScriptHost::levelNode(int n) { return player_.levelRoot(n); }

}  // namespace swf
