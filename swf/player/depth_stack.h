#pragma once
// A depth that holds several objects (placed there without the move flag) is shown by a holder:
// an object without a character of its own whose children are the objects, the newest first, so
// the newest draws lowest.

#include <memory>

#include "swf/player/placed_object.h"

namespace swf {

// Whether `holder` shows exactly the objects of `want` (same placements, same characters).
bool holderMatches(const PlacedObject& holder, const Placement& want);

// Brings the held objects' properties in line with `want`, which holderMatches accepted.
void applyToHolder(PlacedObject& holder, const Placement& want);

// A holder with an instance of each object of `want`; null when the object budget is spent.
std::unique_ptr<PlacedObject> instantiateStack(const Placement& want, int depth, PlayerContext& ctx,
                                               SpriteInstance* parentTimeline, int nesting);

}  // namespace swf
