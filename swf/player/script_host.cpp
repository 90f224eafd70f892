#include "swf/player/script_host.h"

#include <strings.h>

#include <cctype>

#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"

namespace swf {
namespace {

// The number of a "_levelN" name (any case); -1 for other names.
int levelNumber(const std::string& name) {
  static constexpr char kPrefix[] = "_level";
  constexpr size_t n = sizeof kPrefix - 1;
  if (name.size() <= n || name.size() > n + 6 || strncasecmp(name.c_str(), kPrefix, n) != 0)
    return -1;
  int level = 0;
  for (size_t i = n; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
    level = level * 10 + (name[i] - '0');
  }
  return level;
}

}  // namespace

void ScriptHost::trace(const std::string& text) { player_.trace(text); }

void ScriptHost::getURL(const std::string& url, const std::string& target, int) {
  static constexpr char kPrefix[] = "FSCommand:";
  constexpr size_t n = sizeof kPrefix - 1;
  if (url.size() >= n && strncasecmp(url.c_str(), kPrefix, n) == 0) {
    player_.fsCommand(url.substr(n), target);
    return;
  }
  // A level as the target loads the movie into it (an empty address empties it). Web pages
  // and loading into sprites come with the player's loading classes.
  if (int level = levelNumber(target); level >= 0) player_.loadLevel(level, url);
}

double ScriptHost::timerMs() { return player_.elapsedMs(); }

void ScriptHost::toggleQuality() { player_.toggleQuality(); }

void ScriptHost::stopSounds() { player_.stopSounds(); }

void ScriptHost::traceRoots(avm1::Tracer& t) { sounds_.traceRoots(t); }
std::string ScriptHost::moviePath() { return player_.path(); }

sound::SoundEngine* ScriptHost::soundEngine() { return &player_.sound(); }

avm1::DisplayNode* ScriptHost::levelNode(int n) { return player_.levelRoot(n); }

}  // namespace swf
