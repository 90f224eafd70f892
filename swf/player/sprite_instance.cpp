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
  for (int f = from; f <= target; ++f) {
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
  ctx_.changed = true;
  // Definitions' init actions run once, before the frame actions of the frame that holds them.
  for (int f = std::max(from, 0); f <= target; ++f)
    for (const InitAction& ia : timeline_.frames[size_t(f)].initActions)
      if (ctx_.initActionsDone.insert(ia.spriteId).second)
        ctx_.actions.push_back({lifeToken(), this, ia.actions, nullptr});
  enterSounds(previous);
  // The clip events the display changes raise come first; this timeline's actions run before
  // those of the children its frame creates.
  size_t savedInit = ctx_.initMark, savedEvent = ctx_.eventMark;
  ctx_.initMark = ctx_.eventMark = ctx_.actions.size();
  for (auto code : timeline_.frames[target].actions)
    ctx_.actions.push_back({lifeToken(), this, code, nullptr});
  if (back) dropScriptClipsAtTimelineDepths();
  reconcile(touched);
  ctx_.initMark = savedInit;
  ctx_.eventMark = savedEvent;
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

void SpriteInstance::advanceTree(bool loop) {
  if (createdTick() != ctx_.tick) step(loop);
  advanceChildren(*this);
}

void advanceChildren(DisplayObject& node) {
  // Stepping a child changes only that child's own children, so this map stays valid.
  for (auto& [depth, child] : node.children) {
    auto* placed = static_cast<PlacedObject*>(child.get());
    if (auto* sprite = dynamic_cast<SpriteInstance*>(placed))
      sprite->advanceTree(true);
    else if (!child->children.empty())
      advanceChildren(*child);
  }
}

}  // namespace swf
