// Movies loaded into levels above the movie, and the stage colour they share.
#include <filesystem>

#include "swf/player/local_address.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"
#include "swf/sound/sound_engine.h"

namespace swf {

int firstBackgroundFrame(const Timeline& tl) {
  for (int f = 0; f < tl.frameCount(); ++f)
    if (tl.frames[size_t(f)].background) return f;
  return -1;
}

SpriteInstance* Player::levelRoot(int n) const {
  auto it = levels_.find(n);
  return it == levels_.end() ? nullptr : it->second.root;
}

void Player::loadLevel(int n, const std::string& url) {
  // A movie may replace level 0 (the control's own movie), but not leave it empty.
  if (n < 0 || !root_ || (n == 0 && url.empty())) return;
  pendingLoads_.push_back({n, url, {}});
}

std::shared_ptr<const Movie> Player::levelMovie(const std::string& path) const {
  // A movie already shown is parsed already: movies are immutable and shared.
  for (const auto& [n, level] : levels_)
    if (level.path == path) return level.movie;
  return loadMovieFile(path);
}

int Player::loadPendingLevels(int budget) {
  auto loads = std::move(pendingLoads_);
  pendingLoads_.clear();
  int loaded = 0;
  for (const auto& [n, url, address] : loads) {
    if (loaded >= budget) break;  // the rest are dropped
    if (url.empty()) {
      if (auto it = levels_.find(n); n > 0 && it != levels_.end()) {
        ctx_->levelData.erase(it->second.root);
        ctx_->levelMovies.erase(it->second.root);
        ctx_->levelPaths.erase(it->second.root);
        levels_.erase(it);
        stage_->children.erase(n);
      }
      ctx_->changed = true;
      continue;
    }
    if (!levels_.count(n) && levels_.size() > kMaxLevels) continue;
    std::string path = swf::localFileFor(path_, url);
    if (path.empty()) continue;
    std::shared_ptr<const Movie> movie;
    try {
      movie = levelMovie(path);
    } catch (const LoadError&) {
      continue;  // what cannot be loaded leaves the level as it was
    }
    if (auto it = levels_.find(n); it != levels_.end()) {
      ctx_->levelData.erase(it->second.root);
      ctx_->levelMovies.erase(it->second.root);
      ctx_->levelPaths.erase(it->second.root);
    }
    stage_->children.erase(n);
    sound_->addMovie(movie);
    auto root = std::make_unique<SpriteInstance>(movie->root, *ctx_, nullptr, 0);
    SpriteInstance* r = root.get();
    ctx_->levelData[r] = movie->data;
    ctx_->levelMovies[r] = movie.get();
    ctx_->levelPaths[r] = path;
    r->loadedAddress = address;
    r->depth = n;
    r->setPlaying(true);
    stage_->children.emplace(n, std::move(root));
    int bg = firstBackgroundFrame(movie->root);
    levels_[n] = Level{std::move(movie), path, r, bg};
    if (n == 0) root_ = r;  // the old movie's clips are dead references now
    noteArrival();
    // A movie arriving in a level above the first shows its first frame when the clips next
    // advance (newest first, so before the older levels hear their enterFrame). A new level 0
    // takes over at once: nothing more of the old movie may run.
    if (n == 0) r->start();
    ctx_->changed = true;
    ++loaded;
  }
  return loaded;
}

void Player::noteArrival() { arrivals_.push_back(ctx_->actions.size()); }

void Player::orderArrivalsNewestFirst() {
  std::vector<size_t> starts = std::move(arrivals_);
  arrivals_.clear();
  auto& queue = ctx_->actions;
  if (starts.size() < 2 || starts.back() > queue.size()) return;
  std::vector<QueuedActions> ordered(queue.begin(), queue.begin() + ptrdiff_t(starts[0]));
  for (size_t i = starts.size(); i-- > 0;) {
    size_t end = i + 1 < starts.size() ? starts[i + 1] : queue.size();
    ordered.insert(ordered.end(), queue.begin() + ptrdiff_t(starts[i]),
                   queue.begin() + ptrdiff_t(end));
  }
  queue = std::move(ordered);
}

SpriteInstance* Player::levelOf(SpriteInstance* timeline, int& swfVersion) const {
  PlayerContext::MovieHome home = ctx_->homeOf(timeline);
  if (!home.movie) return nullptr;
  swfVersion = home.movie->version;
  return const_cast<SpriteInstance*>(home.top);
}

void Player::latchBackground() {
  if (background_) return;
  for (const auto& [n, level] : levels_) {
    if (level.backgroundFrame < 0 || level.root->currentFrame() < level.backgroundFrame) continue;
    const auto& c = *level.movie->root.frames[size_t(level.backgroundFrame)].background;
    background_ = RGBA{c.r, c.g, c.b, 255};
    changed_ = true;
    return;
  }
}

}  // namespace swf
