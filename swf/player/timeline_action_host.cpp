#include "swf/player/timeline_action_host.h"

#include <strings.h>

#include <cctype>

#include "swf/player/player.h"

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

// The sprite among `parent`'s children called `name` (any case), looking into the holders of
// depths that several objects share.
SpriteInstance* findNamedSprite(DisplayObject& parent, const std::string& name) {
  for (auto& [depth, child] : parent.children) {
    if (static_cast<PlacedObject&>(*child).holdsStack) {
      if (auto* s = findNamedSprite(*child, name)) return s;
      continue;
    }
    if (strcasecmp(child->name.c_str(), name.c_str()) == 0)
      if (auto* s = dynamic_cast<SpriteInstance*>(child.get())) return s;
  }
  return nullptr;
}

}  // namespace

TimelineActionHost::TimelineActionHost(Player& player, SpriteInstance& root,
                                       SpriteInstance& timeline)
    : player_(player),
      root_(root),
      original_(&timeline),
      originalAlive_(timeline.lifeToken()),
      target_(&timeline),
      targetAlive_(timeline.lifeToken()) {}

SpriteInstance* TimelineActionHost::target() const {
  return targetAlive_.expired() ? nullptr : target_;
}

void TimelineActionHost::play() {
  if (auto* t = target()) t->setPlaying(true);
}

void TimelineActionHost::stop() {
  if (auto* t = target()) t->setPlaying(false);
}

void TimelineActionHost::nextFrame() {
  if (auto* t = target()) {
    t->gotoFrame(t->currentFrame() + 1);
    t->setPlaying(false);
  }
}

void TimelineActionHost::previousFrame() {
  if (auto* t = target()) {
    t->gotoFrame(t->currentFrame() - 1);
    t->setPlaying(false);
  }
}

void TimelineActionHost::gotoFrame(int frame) {
  if (auto* t = target()) {
    t->gotoFrame(frame);
    t->setPlaying(false);
  }
}

void TimelineActionHost::gotoLabel(const std::string& label) {
  if (auto* t = target()) {
    int frame = t->timeline().findLabel(label);
    if (frame < 0) return;
    t->gotoFrame(frame);
    t->setPlaying(false);
  }
}

void TimelineActionHost::getURL(const std::string& url, const std::string& target) {
  static constexpr char kPrefix[] = "FSCommand:";
  constexpr size_t n = sizeof kPrefix - 1;
  if (url.size() >= n && strncasecmp(url.c_str(), kPrefix, n) == 0) {
    player_.fsCommand(url.substr(n), target);
    return;
  }
  // A level as the target loads the movie into it (an empty address empties it). Web pages
  // and loading into sprites come with the full script engine.
  if (int level = levelNumber(target); level >= 0) player_.loadLevel(level, url);
}

void TimelineActionHost::toggleQuality() { player_.toggleQuality(); }

void TimelineActionHost::stopSounds() { player_.stopSounds(); }

bool TimelineActionHost::setTarget(const std::string& path) {
  if (path.empty()) {
    target_ = original_;
    targetAlive_ = originalAlive_;
    return !targetAlive_.expired();
  }
  SpriteInstance* t = target();
  if (!t && path[0] != '/') return false;
  size_t i = 0;
  if (path[0] == '/') {
    t = &root_;
    i = 1;
  }
  while (t && i < path.size()) {
    size_t end = path.find_first_of("/:", i);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(i, end - i);
    i = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." || part == "_parent") {
      t = t->parentTimeline();
      continue;
    }
    if (part == "_root") {
      t = &root_;
      continue;
    }
    if (int level = levelNumber(part); level >= 0) {
      t = player_.levelRoot(level);
      continue;
    }
    t = findNamedSprite(*t, part);
  }
  // An unknown target sends the following actions nowhere until the target is reset.
  target_ = t;
  targetAlive_ = t ? t->lifeToken() : std::weak_ptr<const char>();
  return t != nullptr;
}

bool TimelineActionHost::frameLoaded(int frame) {
  auto* t = target();
  // The whole file is loaded before playing starts; only frames past the end never load.
  return t && frame < t->frameCount();
}

void TimelineActionHost::trace(const std::string& text) { player_.trace(text); }

}  // namespace swf
