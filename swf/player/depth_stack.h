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

// Takes out of `old` (a single object or a holder) the object that shows the single placement
// `p`, if it holds one: adding an object to a depth or taking one away leaves the others be.
std::unique_ptr<PlacedObject> takeLayer(std::unique_ptr<PlacedObject>& old, const Placement& p);

// A holder with an instance of each object of `want`, taking from `old` the ones it already
// shows; null when the object budget is spent.
std::unique_ptr<PlacedObject> instantiateStack(const Placement& want, int depth, PlayerContext& ctx,
                                               SpriteInstance* parentTimeline, int nesting,
                                               std::unique_ptr<PlacedObject>& old);

}  // namespace swf
