#include "swf/player/sprite_instance.h"

#include <algorithm>

#include "swf/movie/tag_codes.h"
#include "swf/player/depth_stack.h"
#include "swf/sound/sound_engine.h"

namespace swf {

SpriteInstance::SpriteInstance(const Timeline& timeline, PlayerContext& ctx,
                               SpriteInstance* parentTimeline, int nesting)
    : PlacedObject(ctx, parentTimeline, nesting), timeline_(timeline) {}

SpriteInstance::~SpriteInstance() {
  if (ctx_.sound) ctx_.sound->ownerGone(this);
  if (ctx_.loadedMovies.erase(this)) ctx_.levelData.erase(this);
}

void SpriteInstance::setPlaying(bool on) {
  playing_ = on;
  if (ctx_.sound) ctx_.sound->streamPlaying(this, on);
}

void SpriteInstance::enterSounds(int previous) {
  if (!ctx_.sound) return;
  for (const RawTag& t : timeline_.frames[frame_].sound)
    if (t.code == tag::StartSound || t.code == tag::StartSound2)
      ctx_.sound->startTag(t.code, t.body, this);
  // The blocks of frames entered one after another play back to back; any other jump starts
  // the stream again at this frame.
  ctx_.sound->streamFrame(this, timeline_, frame_, wrapping_ || frame_ == previous + 1);
}

void SpriteInstance::start() {
  if (frame_ < 0) gotoFrame(0);
}

namespace {

// The root keeps the list of every 64th frame it passes, so a jump back replays at most 63
// frames; the budget bounds what the copies may hold in all.
constexpr int kSnapshotInterval = 64;
constexpr size_t kSnapshotBudget = 50000;  // placements, about 12 MB

}  // namespace

void SpriteInstance::gotoFrame(int target) {
  if (timeline_.frames.empty()) return;
  target = std::clamp(target, 0, frameCount() - 1);
  if (target == frame_) return;
  DepthList touched;
  int from = frame_ + 1;
  bool back = target < frame_;
  if (back) {
    // Backwards: rebuild from the first frame or the nearest list kept on the way; every depth
    // of either list may differ.
    for (const auto& [depth, _] : state_) touched.push_back(depth);
    state_.clear();
    from = 0;
    auto kept = snapshots_.upper_bound(target);
    if (kept != snapshots_.begin()) {
      --kept;
      state_ = kept->second;
      from = kept->first + 1;
    }
  }
  bool keep = parentTimeline() == nullptr;
  std::vector<std::pair<int, Placement>> passing;
  std::vector<int> placedNow;  // the placements of the frames passed (not those standing before)
  for (int f = from; f <= target; ++f) {
    // Clips with event handlers that frames on the way place and take away again live and die
    // on the way: note what this frame may take away.
    std::vector<std::pair<int, Placement>> handled;
    for (const auto& c : timeline_.frames[f].display) {
      int d = std::visit([](const auto& cmd) { return cmd.depth; }, c);
      auto it = state_.find(d);
      if (it != state_.end() && !it->second.clipActions.empty() && !shows(d, it->second) &&
          std::count(placedNow.begin(), placedNow.end(), it->second.serial))
        handled.emplace_back(d, it->second);
    }
    for (const auto& c : timeline_.frames[f].display)
      if (const auto* place = std::get_if<PlaceCommand>(&c); place && !place->move)
        placedNow.push_back(place->serial);
    if (!applyDisplayCommands(timeline_.frames[f], timeline_.swfVersion, state_, touched) &&
        f > 0) {
      // The playhead stays on the frame before: only the removals and placements already made
      // show, and that frame's actions do not run again.
      target = f - 1;
      if (target == frame_) {
        reconcile(touched);
        return;
      }
      break;
    }
    for (auto& entry : handled) {
      const auto depth = entry.first;
      const auto serial = entry.second.serial;
      auto it = state_.find(depth);
      bool gone = it == state_.end() || it->second.serial != serial;
      if (gone && std::none_of(passing.begin(), passing.end(), [&](const auto& e) {
            return e.first == depth && e.second.serial == serial;
          }))
        passing.emplace_back(depth, std::move(entry.second));
    }
    if (keep && f % kSnapshotInterval == 0 && f > 0 && !snapshots_.count(f) &&
        snapshotPlacements_ + state_.size() <= kSnapshotBudget) {
      snapshots_.emplace(f, state_);
      snapshotPlacements_ += state_.size();
    }
  }
  if (from == 0 || target < frame_)
    for (const auto& [depth, _] : state_) touched.push_back(depth);
  int previous = frame_;
  frame_ = target;
  furthestFrame_ = std::max(furthestFrame_, target);
  ctx_.changed = true;
  enterSounds(previous);
  for (const auto& [d, p] : passing) passBy(d, p);
  queueFrame(target, touched, back);
  // Definitions' init actions run once, before the frame actions.
  for (int f = std::max(from, 0); f <= target; ++f)
    for (const InitAction& ia : timeline_.frames[size_t(f)].initActions)
      if (ctx_.initActionsDone.insert(ia.spriteId).second)
        ctx_.initQueue.push_back({lifeToken(), this, ia.actions, nullptr});
}

bool SpriteInstance::shows(int depth, const Placement& p) const {
  auto it = children.find(depth);
  return it != children.end() &&
         static_cast<const PlacedObject*>(it->second.get())->serial == p.serial;
}

void SpriteInstance::passBy(int depth, const Placement& p) {
  // Made and removed at once: it hears its load and unload, and waits for the unload handlers
  // where removed clips wait. A depth in use now is left alone.
  if (children.count(depth)) return;
  auto o = instantiate(p, depth, ctx_, this, nesting() + 1);
  if (!o) return;
  auto it = children.emplace(depth, std::move(o)).first;
  eraseChild(it);
}

void SpriteInstance::queueFrame(int target, DepthList& touched, bool back) {
  // The events of the display changes and the frame's actions queue in the order of the file's
  // tags: a DoAction runs after the events of the tags before it and before those after it.
  // Changes of the frames passed on the way come first; a jump back takes away what does not
  // belong to the frame after the frame's actions.
  const Frame& entered = timeline_.frames[size_t(target)];
  std::map<int, size_t> lastTag;  // depth → the entered frame's last display tag there
  for (size_t i = 0; i < entered.display.size(); ++i)
    lastTag[std::visit([](const auto& c) { return c.depth; }, entered.display[i])] = i + 1;
  normalise(touched);
  std::vector<QueuedActions> unloads;
  auto* savedHeld = ctx_.heldUnloads;
  ctx_.heldUnloads = back ? &unloads : nullptr;
  if (back) dropScriptClipsAtTimelineDepths();
  // Reconciles the depths whose last change comes before `place` display tags.
  auto reconcileBefore = [&](size_t place) {
    DepthList part, rest;
    for (int d : touched) {
      auto it = lastTag.find(d);
      (it == lastTag.end() || it->second <= place ? part : rest).push_back(d);
    }
    touched = std::move(rest);
    if (!part.empty()) reconcile(part);
  };
  for (size_t i = 0; i < entered.actions.size(); ++i) {
    reconcileBefore(i < entered.actionPlaces.size() ? entered.actionPlaces[i] : 0);
    ctx_.actions.push_back({lifeToken(), this, entered.actions[i], nullptr});
  }
  reconcileBefore(entered.display.size());
  ctx_.heldUnloads = savedHeld;
  for (const QueuedActions& q : unloads) ctx_.queueUnload(q);
}

void SpriteInstance::reconcile(DepthList& depths) {
  normalise(depths);
  // Both maps and the depths are in order: when many depths changed, walking the maps beats
  // looking each depth up.
  bool walk = depths.size() * 8 > state_.size() + children.size();
  auto want = state_.begin();
  auto have = children.begin();
  for (int depth : depths) {
    if (walk) {
      while (want != state_.end() && want->first < depth) ++want;
      while (have != children.end() && have->first < depth) ++have;
    } else {
      want = state_.lower_bound(depth);
      have = children.lower_bound(depth);
    }
    bool wanted = want != state_.end() && want->first == depth;
    bool present = have != children.end() && have->first == depth;
    // What scripts made or moved is theirs: the timeline neither replaces nor removes it.
    if (present && static_cast<PlacedObject*>(have->second.get())->scripted) continue;
    if (!wanted) {
      if (present) have = eraseChild(have);
      continue;
    }
    const Placement& p = want->second;
    bool stacked = !p.beneath.empty();
    std::unique_ptr<PlacedObject> old;
    if (present) {
      auto* o = static_cast<PlacedObject*>(have->second.get());
      if (stacked && o->serial == p.serial && holderMatches(*o, p)) {
        applyToHolder(*o, p);
        continue;
      }
      if (!stacked && !o->holdsStack && o->serial == p.serial && o->character == p.character) {
        o->applyPlacement(p);
        continue;
      }
      // The objects of a depth that several share live on while the others come and go.
      old.reset(static_cast<PlacedObject*>(have->second.release()));
    }
    std::unique_ptr<PlacedObject> o;
    if (stacked) {
      o = instantiateStack(p, depth, ctx_, this, nesting() + 1, old);
    } else if ((o = takeLayer(old, p))) {
      o->applyPlacement(p);
    }
    if (present) {
      // What is left of the old goes as removed objects go; an emptied holder just goes.
      bool left = old && (!old->holdsStack || !old->children.empty());
      have->second = std::move(old);
      have = left ? eraseChild(have) : children.erase(have);
    }
    if (!o) o = instantiate(p, depth, ctx_, this, nesting() + 1);
    if (o) have = children.emplace_hint(have, depth, std::move(o));
  }
}

void SpriteInstance::dropScriptClipsAtTimelineDepths() {
  // Internal depths 0 up to here are the timeline's (scripts number them from -16384 to -1).
  constexpr int kTimelineDepths = 16384;
  for (auto it = children.lower_bound(0); it != children.end() && it->first < kTimelineDepths;)
    it = static_cast<PlacedObject*>(it->second.get())->scripted ? eraseChild(it) : std::next(it);
}

bool SpriteInstance::step(bool loop) {
  if (!playing_) return false;
  if (frame_ + 1 < frameCount()) {
    gotoFrame(frame_ + 1);
  } else if (!timeline_.complete && loop) {
    return false;  // still waiting for the frames the header promised
  } else if (loop) {
    if (frameCount() > 1) {
      wrapping_ = true;
      gotoFrame(0);
      wrapping_ = false;
    }
    return frameCount() > 1;
  } else {
    playing_ = false;
    return false;
  }
  return true;
}

}  // namespace swf
