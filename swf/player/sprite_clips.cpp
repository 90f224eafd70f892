// Clips that scripts make, move and remove: duplicates, attached symbols, empty clips, depth
// swaps, and the unload events of whatever leaves the stage.

#include <strings.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <typeinfo>

#include "swf/avm1/vm.h"
#include "swf/movie/movie.h"
#include "swf/movie/sprite.h"
#include "swf/player/sprite_instance.h"
#include "swf/shapes/script_drawing.h"

namespace swf {
namespace {

// Scripts number depths from -16384 (the timeline's first) up; the display list keys them from 0.
constexpr int kDepthOffset = 16384;
// The highest depth a script may use, as the original player bounded it. Scripts may make clips
// below the timeline's depths too, where removed clips wait for their unload handlers.
constexpr int kMaxScriptDepth = 2130690045;
// Script removals reach only from 0 to here.
constexpr int kMaxRemovableDepth = 1048575;

bool toInternalDepth(int scriptDepth, int& out, int lowest = -kMaxScriptDepth,
                     int highest = kMaxScriptDepth) {
  if (scriptDepth < lowest || scriptDepth > highest) return false;
  out = scriptDepth + kDepthOffset;
  return true;
}

// One frame, nothing in it: what createEmptyMovieClip shows.
std::shared_ptr<const Character> emptySprite() {
  static const std::shared_ptr<const Character> empty = [] {
    auto s = std::make_shared<SpriteCharacter>();
    s->timeline.frames.resize(1);
    s->declaredFrameCount = 1;
    return std::shared_ptr<const Character>(std::move(s));
  }();
  return empty;
}

bool hasUnloadHandler(SpriteInstance& s) {
  for (const ClipEvent& e : s.clipEvents)
    if (e.flags & kEventUnload) return true;
  avm1::ClipObject* c = s.scriptObject;
  if (!c || !c->vm) return false;
  // Any value keeps the clip until the event, a function or not.
  return !c->vm->get(c, c->vm->intern("onUnload")).isUndefined();
}

// Whether `o` or anything in it waits for an unload handler.
bool waitsForUnload(DisplayObject& o, int guard = 0) {
  if (guard > kMaxNesting + 2) return false;
  if (auto* s = dynamic_cast<SpriteInstance*>(&o); s && hasUnloadHandler(*s)) return true;
  for (auto& [d, child] : o.children)
    if (waitsForUnload(*child, guard + 1)) return true;
  return false;
}

// A removed clip kept only for the handlers of some of its children: the children with none in
// them go at once.
void dropChildrenNotWaiting(DisplayObject& o, int guard = 0) {
  if (guard > kMaxNesting + 2) return;
  if (auto* s = dynamic_cast<SpriteInstance*>(&o); s && hasUnloadHandler(*s)) return;
  for (auto it = o.children.begin(); it != o.children.end();) {
    if (!waitsForUnload(*it->second)) {
      it = o.children.erase(it);
      continue;
    }
    dropChildrenNotWaiting(*it->second, guard + 1);
    ++it;
  }
}

// Queues the unload events of the sprites in `o` (children first, as they go first); true when
// any was queued.
bool queueUnloads(DisplayObject& o, int guard = 0) {
  bool any = false;
  if (guard > kMaxNesting + 2) return false;
  for (auto& [d, child] : o.children) any |= queueUnloads(*child, guard + 1);
  if (auto* s = dynamic_cast<SpriteInstance*>(&o); s && hasUnloadHandler(*s)) {
    s->queueEvent(kEventUnload, "onUnload");
    any = true;
  }
  return any;
}

// What is left of a removed clip waits only for unload handlers: it neither plays nor hears
// other events, and what it had queued no longer runs.
void markRemoved(DisplayObject& o, int guard = 0) {
  if (guard > kMaxNesting + 2) return;
  static_cast<PlacedObject&>(o).removed = true;
  for (auto& [d, child] : o.children) markRemoved(*child, guard + 1);
}

}  // namespace

PlayerContext::MovieHome PlayerContext::homeOf(const SpriteInstance* timeline) const {
  MovieHome home;
  const SpriteInstance* s = timeline;
  while (s && s->parentTimeline() && !loadedMovies.count(s)) s = s->parentTimeline();
  home.top = s;
  if (auto it = loadedMovies.find(s); it != loadedMovies.end()) {
    home.movie = it->second.movie.get();
    home.path = it->second.path;
  } else if (auto level = levelMovies.find(s); level != levelMovies.end()) {
    home.movie = level->second;
    if (auto p = levelPaths.find(s); p != levelPaths.end()) home.path = p->second;
  }
  return home;
}

std::string SpriteInstance::symbolName() {
  const SpriteInstance* parent = parentTimeline();
  const Movie* movie = parent && characterId ? ctx_.homeOf(parent).movie : nullptr;
  if (!movie) return {};
  for (const auto& [exportName, exportId] : movie->exports)
    if (exportId == characterId) return exportName;
  return {};
}

std::map<int, std::unique_ptr<DisplayObject>>::iterator SpriteInstance::eraseChild(
    std::map<int, std::unique_ptr<DisplayObject>>::iterator it) {
  ctx_.changed = true;
  auto* placed = static_cast<PlacedObject*>(it->second.get());
  if (it->first < 0) return children.erase(it);
  // Another clip removed from the same depth may still wait there: this one waits below it.
  int parked = -1 - it->first;
  while (children.count(parked) && parked > INT_MIN) --parked;
  if (children.count(parked) || !queueUnloads(*placed)) return children.erase(it);
  dropChildrenNotWaiting(*placed);
  markRemoved(*placed);
  // A clip with unload handlers stays, below every depth in use, until they have run; scripts
  // see it at the depth they number -32769 minus its old one.
  auto o = std::move(it->second);
  auto next = children.erase(it);
  o->depth = parked;
  placed->scripted = true;
  ctx_.retired.push_back({placed->lifeToken(), lifeToken(), this, placed, parked});
  children[parked] = std::move(o);
  return next;
}

void SpriteInstance::dropChild(int internalDepth) {
  auto it = children.find(internalDepth);
  if (it != children.end()) eraseChild(it);
}

SpriteInstance* SpriteInstance::placeScriptClip(std::shared_ptr<const Character> c, uint16_t id,
                                                const std::string& name, int scriptDepth,
                                                const SpriteInstance* like, bool startLater) {
  int depth;
  if (!c || c->kind() != CharacterKind::Sprite || !toInternalDepth(scriptDepth, depth))
    return nullptr;
  Placement p;
  p.character = std::move(c);
  p.characterId = id;
  p.name = name;
  p.byScript = true;
  p.startLater = startLater;
  if (like) {
    p.matrix = like->matrix;
    p.cxform = like->cxform;
    p.visible = like->visible;
    p.blendMode = like->blendMode;
    p.filters = like->filters;
  }
  dropChild(depth);  // may be `like` itself: read above
  auto o = instantiate(p, depth, ctx_, this, nesting() + 1);
  auto* s = dynamic_cast<SpriteInstance*>(o.get());
  if (!s) return nullptr;
  s->scripted = true;
  s->autoNamed = false;
  s->name = name;
  children[depth] = std::move(o);
  ctx_.changed = true;
  return s;
}

avm1::DisplayNode* SpriteInstance::duplicateNode(const std::string& newName, int scriptDepth) {
  SpriteInstance* parent = parentTimeline();
  if (!parent || !character) return nullptr;
  // A duplicate onto this clip's own depth replaces it: take what the copy needs first.
  std::vector<ClipEvent> events = clipEvents;
  auto copiedDrawing = drawing ? std::make_shared<ScriptDrawing>(*drawing) : nullptr;
  SpriteInstance* s = parent->placeScriptClip(character, characterId, newName, scriptDepth, this);
  if (!s) return nullptr;
  s->clipEvents = std::move(events);
  s->drawing = std::move(copiedDrawing);  // the copy draws alike
  if (s->clipEvents.empty()) return s;
  // Its construct events run inside duplicateMovieClip; initialize and load come later.
  if (avm1::Vm* vm = ctx_.vm) {
    auto life = s->lifeToken();
    std::vector<std::span<const uint8_t>> blocks;
    for (const ClipEvent& e : s->clipEvents)
      if (e.flags & kEventConstruct) blocks.push_back(e.actions);
    for (auto code : blocks)
      if (!life.expired())
        vm->runBlock(code, s->codeOwner(), vm->clipFor(s), parent->timeline().swfVersion);
    if (life.expired()) return nullptr;
  } else {
    s->queueEvent(kEventConstruct, nullptr);
  }
  s->queueEvent(kEventInitialize, nullptr);
  s->queueEvent(kEventLoad, "onLoad");
  return s;
}

avm1::DisplayNode* SpriteInstance::attachNode(const std::string& symbol, const std::string& newName,
                                              int scriptDepth, bool startLater) {
  SpriteInstance* root = levelTop();
  auto it = ctx_.levelMovies.find(root);
  if (it == ctx_.levelMovies.end() || !it->second) return nullptr;
  const Movie& movie = *it->second;
  uint16_t id = 0;
  bool found = false;
  // Export names match whatever the case of their ASCII letters. A name is known once the
  // level has shown the frame that exports it.
  for (size_t i = 0; i < movie.exports.size(); ++i) {
    const auto& [exportName, exportId] = movie.exports[i];
    int frame = i < movie.exportFrames.size() ? movie.exportFrames[i] : 0;
    frame = std::min(frame, std::max(root->frameCount() - 1, 0));
    if (frame <= root->furthestFrame() && strcasecmp(exportName.c_str(), symbol.c_str()) == 0) {
      id = exportId;
      found = true;
    }
  }
  if (!found) return nullptr;
  return placeScriptClip(movie.character(id), id, newName, scriptDepth, nullptr, startLater);
}

avm1::DisplayNode* SpriteInstance::createEmptyNode(const std::string& newName, int scriptDepth) {
  return placeScriptClip(emptySprite(), 0, newName, scriptDepth, nullptr);
}

void SpriteInstance::removeNode() {
  // Clips at the timeline's depths stay: a script removes only what scripts may place.
  SpriteInstance* parent = parentTimeline();
  if (!parent || depth < kDepthOffset || depth - kDepthOffset > kMaxRemovableDepth) return;
  // Nothing inside a clip that waits for its unload handlers leaves before it.
  for (const SpriteInstance* s = parent; s; s = s->parentTimeline())
    for (const auto& r : ctx_.retired)
      if (r.object == s && !r.alive.expired()) return;
  auto it = parent->children.find(depth);
  if (it != parent->children.end() && it->second.get() == this) parent->dropChild(depth);
}

void SpriteInstance::swapDepth(int scriptDepth) {
  SpriteInstance* parent = parentTimeline();
  int target;
  if (!toInternalDepth(scriptDepth, target, -kDepthOffset, kMaxScriptDepth - 1)) return;
  if (!parent) {
    rootMoved_ = true;
    rootDepth_ = scriptDepth;
    return;
  }
  if (target == depth) return;
  auto mine = parent->children.find(depth);
  if (mine == parent->children.end() || mine->second.get() != this) return;
  std::unique_ptr<DisplayObject> self = std::move(mine->second);
  parent->children.erase(mine);
  auto there = parent->children.find(target);
  if (there != parent->children.end()) {
    std::unique_ptr<DisplayObject> other = std::move(there->second);
    parent->children.erase(there);
    other->depth = depth;
    static_cast<PlacedObject&>(*other).scripted = true;
    parent->children[depth] = std::move(other);
  }
  self->depth = target;
  scripted = true;
  parent->children[target] = std::move(self);
  ctx_.changed = true;
}

avm1::DisplayNode* SpriteInstance::nodeAtDepth(int scriptDepth) {
  int d;
  if (!toInternalDepth(scriptDepth, d)) return nullptr;
  auto it = children.find(d);
  if (it == children.end()) return nullptr;
  DisplayObject* child = it->second.get();
  if (auto* s = dynamic_cast<SpriteInstance*>(child)) return s;
  // Shapes and bitmaps are nothing to scripts themselves: the clip holding one answers for it.
  return typeid(*child) == typeid(PlacedObject) ? this : nullptr;
}

std::string SpriteInstance::movieUrl() const {
  PlayerContext::MovieHome home = ctx_.homeOf(this);
  if (home.top && !home.top->loadedAddress.empty()) return home.top->loadedAddress;
  std::string path = home.path;
  if (path.empty()) return "file:///";
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  return "file://" + (error ? path : full.lexically_normal().string());
}

int SpriteInstance::nextHighestDepth() {
  if (children.empty()) return 0;
  return std::max(children.rbegin()->first + 1 - kDepthOffset, 0);
}

double SpriteInstance::bytesTotal() const {
  if (character == emptySprite()) return 0;  // made by a script: nothing of it was loaded
  const SpriteInstance* s = this;
  while (s->parentTimeline()) s = s->parentTimeline();
  auto it = ctx_.levelMovies.find(s);
  return it == ctx_.levelMovies.end() || !it->second ? 0 : double(it->second->fileLength);
}

}  // namespace swf
