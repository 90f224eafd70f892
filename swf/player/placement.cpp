#include "swf/player/placement.h"

#include <algorithm>

namespace swf {
namespace {

bool isScriptable(const Character& c) {
  return c.kind() == CharacterKind::Sprite || c.kind() == CharacterKind::Button;
}

void setProperties(const PlaceCommand& p, Placement& s) {
  if (p.matrix) s.matrix = *p.matrix;
  if (p.cxform) s.cxform = *p.cxform;
  if (p.ratio) s.ratio = *p.ratio;
  if (p.name) s.name = *p.name;
  if (p.clipDepth) s.clipDepth = *p.clipDepth;
  if (p.visible) s.visible = *p.visible;
  if (p.blendMode) s.blendMode = *p.blendMode;
  if (p.filters) s.filters = p.filters;
}

void place(const PlaceCommand& p, DepthState& state, DepthList& touched) {
  auto it = state.find(p.depth);
  bool occupied = it != state.end();
  if (p.move && !p.hasCharacter) {  // modify what is there
    if (!occupied) return;
    setProperties(p, it->second);
    touched.push_back(p.depth);
    return;
  }
  if (!p.hasCharacter) return;
  // A placement on an occupied depth without the move flag is ignored, except PlaceObject 1,
  // which has no flag and always replaces.
  if (occupied && !p.move && p.version != 1) return;
  if (!p.character) {
    // Named before it was defined: nothing can be shown. A move of what is there to an unknown
    // character leaves the old one alone.
    if (!occupied || !p.move) return;
    return;
  }
  if (occupied && p.move && (isScriptable(*p.character) || isScriptable(*it->second.character))) {
    // Sprites and buttons are objects in their own right: a move that names another character
    // does not swap them out, nor does anything replace a shape by one; only the move applies.
    setProperties(p, it->second);
    touched.push_back(p.depth);
    return;
  }
  Placement s;
  if (occupied && p.move) s = it->second;  // swapping the character keeps the properties
  s.character = p.character;
  s.characterId = p.characterId;
  s.serial = p.serial;
  setProperties(p, s);
  state[p.depth] = std::move(s);
  touched.push_back(p.depth);
}

}  // namespace

void normalise(DepthList& depths) {
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
}

void applyDisplayCommands(const Frame& frame, DepthState& state, DepthList& touched) {
  for (const DisplayCommand& c : frame.display) {
    if (const auto* p = std::get_if<PlaceCommand>(&c)) {
      place(*p, state, touched);
    } else {
      int depth = std::get<RemoveCommand>(c).depth;
      if (state.erase(depth)) touched.push_back(depth);
    }
  }
}

}  // namespace swf
