#pragma once
// State every display object of one player shares: the clock's tick count, the queue of actions
// waiting to run, and the counters that bound how much a movie may instantiate.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "swf/player/display_object.h"

namespace swf::avm1 {
class Vm;
}

namespace swf {

struct Movie;
class SpriteInstance;
struct PlayerInput;
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
  // Instead of code: a step of making a placed clip its registered class's instance (the
  // prototype after its initialize events, the constructor after its construct events).
  enum class ClassStep : uint8_t { None, Prototype, Constructor } classStep = ClassStep::None;
  // Runs even though the target left the stage since it was queued (its load and unload).
  bool afterRemoval = false;
};

struct PlayerContext {
  const Movie* movie = nullptr;
  uint64_t tick = 0;
  uint64_t births = 0;  // display objects made so far
  int liveObjects = 0;
  int instanceCount = 0;                // unnamed sprites made so far ("instance1", ...)
  bool changed = false;                 // something drawn changed since the last look
  sound::SoundEngine* sound = nullptr;  // the player's sound; null in a player without one
  PlayerInput* input = nullptr;         // keys, focus and text fields; null without a player
  avm1::Vm* vm = nullptr;               // the scripts' machine; null without a player
  // Actions wait in three queues; whenever a block is done, the next comes from the first queue
  // that holds any: init actions and initialize events, then what constructs clips (construct
  // events and registered classes), then everything else in the order it was queued.
  std::deque<QueuedActions> initQueue, constructQueue;
  std::vector<QueuedActions> actions;
  bool anyQueued() const {
    return !initQueue.empty() || !constructQueue.empty() || !actions.empty();
  }
  // While a timeline jumps back, the unload events of what it takes away wait here until the
  // frame's actions are queued.
  std::vector<QueuedActions>* heldUnloads = nullptr;
  void queueUnload(const QueuedActions& q) { (heldUnloads ? *heldUnloads : actions).push_back(q); }
  // DoInitAction runs once per sprite definition.
  std::set<uint16_t> initActionsDone;
  // The file data of each level's movie, by its root: scripts keep what they run alive.
  std::map<const SpriteInstance*, std::shared_ptr<const void>> levelData;
  // Each level's movie by its root: scripts attach the symbols it exports.
  std::map<const SpriteInstance*, const Movie*> levelMovies;
  // Where each level's movie came from, by its root (a clip's `_url`).
  std::map<const SpriteInstance*, std::string> levelPaths;
  // Clips taken off the stage whose unload handlers are queued: they wait below every other
  // depth of their parent and go once the queue has run.
  struct Retired {
    std::weak_ptr<const char> alive, parentAlive;
    DisplayObject* parent = nullptr;
    const DisplayObject* object = nullptr;
    int depth = 0;
  };
  std::vector<Retired> retired;
  // Takes the retired clips off the stage for good.
  void dropRetired() {
    auto list = std::move(retired);
    retired.clear();
    for (const Retired& r : list) {
      if (r.alive.expired() || r.parentAlive.expired()) continue;
      auto it = r.parent->children.find(r.depth);
      if (it != r.parent->children.end() && it->second.get() == r.object)
        r.parent->children.erase(it);
    }
  }
  // The pointer on the stage, in twips, and the clip following it (startDrag).
  double mouseX = 0, mouseY = 0;
  bool mouseDown = false;
  struct Drag {
    std::weak_ptr<const char> alive;
    SpriteInstance* clip = nullptr;
    double offsetX = 0, offsetY = 0;  // clip position minus pointer, parent twips
    bool bounded = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // parent twips
  } drag;
  // Movies loaded into clips (loadMovie), by the sprite showing them; their data is in levelData
  // too. Their scripts run with their own version and find their code through them.
  struct LoadedMovie {
    std::shared_ptr<const Movie> movie;
    std::string path;
  };
  std::map<const SpriteInstance*, LoadedMovie> loadedMovies;

  // The movie `timeline` shows or belongs to: the one loaded into it or its nearest ancestor
  // that had one loaded, else its level's. `top` is that clip or level root; `movie` is null
  // (and `path` empty) for a timeline on no movie's stage.
  struct MovieHome {
    const SpriteInstance* top = nullptr;
    const Movie* movie = nullptr;
    std::string path;
  };
  MovieHome homeOf(const SpriteInstance* timeline) const;
};

}  // namespace swf
