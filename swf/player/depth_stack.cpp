#include "swf/player/depth_stack.h"

namespace swf {
namespace {

// The placement shown by the holder's child `i`: the newest, then those beneath it.
const Placement& layer(const Placement& want, size_t i) {
  return i == 0 ? want : want.beneath[i - 1];
}

}  // namespace

bool holderMatches(const PlacedObject& holder, const Placement& want) {
  if (!holder.holdsStack || holder.children.size() != want.beneath.size() + 1) return false;
  size_t i = 0;
  for (const auto& [key, child] : holder.children) {
    const auto& o = static_cast<const PlacedObject&>(*child);
    const Placement& p = layer(want, i++);
    if (o.serial != p.serial || o.character != p.character) return false;
  }
  return true;
}

void applyToHolder(PlacedObject& holder, const Placement& want) {
  size_t i = 0;
  for (auto& [key, child] : holder.children)
    static_cast<PlacedObject&>(*child).applyPlacement(layer(want, i++));
}

std::unique_ptr<PlacedObject> takeLayer(std::unique_ptr<PlacedObject>& old, const Placement& p) {
  auto same = [&](const DisplayObject& o) {
    const auto& placed = static_cast<const PlacedObject&>(o);
    return !placed.holdsStack && placed.serial == p.serial && placed.character == p.character;
  };
  if (!old) return nullptr;
  if (!old->holdsStack) {
    if (!same(*old)) return nullptr;
    return std::move(old);
  }
  for (auto it = old->children.begin(); it != old->children.end(); ++it) {
    if (!same(*it->second)) continue;
    std::unique_ptr<PlacedObject> o(static_cast<PlacedObject*>(it->second.release()));
    old->children.erase(it);
    return o;
  }
  return nullptr;
}

std::unique_ptr<PlacedObject> instantiateStack(const Placement& want, int depth, PlayerContext& ctx,
                                               SpriteInstance* parentTimeline, int nesting,
                                               std::unique_ptr<PlacedObject>& old) {
  if (ctx.liveObjects >= kMaxLiveObjects) return nullptr;
  auto holder = std::make_unique<PlacedObject>(ctx, parentTimeline, nesting);
  holder->depth = depth;
  holder->serial = want.serial;
  holder->holdsStack = true;
  for (size_t i = 0; i <= want.beneath.size(); ++i) {
    Placement single = layer(want, i);
    single.beneath.clear();
    auto o = takeLayer(old, single);
    if (o)
      o->applyPlacement(single);
    else
      o = instantiate(single, depth, ctx, parentTimeline, nesting);
    if (o) holder->children.emplace(int(i), std::move(o));
  }
  return holder;
}

}  // namespace swf
