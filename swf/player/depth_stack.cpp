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

std::unique_ptr<PlacedObject> instantiateStack(const Placement& want, int depth, PlayerContext& ctx,
                                               SpriteInstance* parentTimeline, int nesting) {
  if (ctx.liveObjects >= kMaxLiveObjects) return nullptr;
  auto holder = std::make_unique<PlacedObject>(ctx, parentTimeline, nesting);
  holder->depth = depth;
  holder->serial = want.serial;
  holder->holdsStack = true;
  for (size_t i = 0; i <= want.beneath.size(); ++i) {
    Placement single = layer(want, i);
    single.beneath.clear();
    if (auto o = instantiate(single, depth, ctx, parentTimeline, nesting))
      holder->children.emplace(int(i), std::move(o));
  }
  return holder;
}

}  // namespace swf
