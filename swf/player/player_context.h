#pragma once
// State every display object of one player shares: the clock's tick count, the queue of actions
// waiting to run, and the counters that bound how much a movie may instantiate.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <span>
#include <vector>

namespace swf {

struct Movie;
class SpriteInstance;
namespace sound {
class SoundEngine;
}

// Deeper nesting of sprites than this is shown empty; the authoring tool's own limit is far lower.
inline constexpr int kMaxNesting = 128;
// Live display objects of one player; placements beyond it are not shown.
inline constexpr int kMaxLiveObjects = 200000;

struct QueuedActions {
  std::weak_ptr<const char> alive;  // the target's life token
  SpriteInstance* target = nullptr;
  std::span<const uint8_t> code;
  // Instead of code: the clip's handler method of this name ("onEnterFrame"), if it has one.
  const char* handler = nullptr;
};

struct PlayerContext {
  const Movie* movie = nullptr;
  uint64_t tick = 0;
  int liveObjects = 0;
  int instanceCount = 0;                // unnamed sprites made so far ("instance1", ...)
  bool changed = false;                 // something drawn changed since the last look
  sound::SoundEngine* sound = nullptr;  // the player's sound; null in a player without one
  std::vector<QueuedActions> actions;
  // DoInitAction runs once per sprite definition.
  std::set<uint16_t> initActionsDone;
  // The file data of each level's movie, by its root: scripts keep what they run alive.
  std::map<const SpriteInstance*, std::shared_ptr<const void>> levelData;
  // Movies loaded into clips (loadMovie), by the sprite showing them; their data is in levelData
  // too. Their scripts run with their own version and find their code through them.
  struct LoadedMovie {
    std::shared_ptr<const Movie> movie;
    std::string path;
  };
  std::map<const SpriteInstance*, LoadedMovie> loadedMovies;
};

}  // namespace swf
