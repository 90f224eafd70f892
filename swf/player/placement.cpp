#include "swf/player/placement.h"

#include <algorithm>

namespace swf {
namespace {

// Objects one depth may hold at once: a movie that keeps adding at one depth is bounded.
constexpr size_t kMaxObjectsPerDepth = 64;

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

void place(const PlaceCommand& p, int swfVersion, DepthState& state, DepthList& touched) {
  auto it = state.find(p.depth);
  bool occupied = it != state.end();
  if (p.move && !p.hasCharacter) {  // modify what is there
    if (!occupied) return;
    setProperties(p, it->second);
    touched.push_back(p.depth);
    return;
  }
  if (!p.hasCharacter) return;
  // A move has nothing to act on at an empty depth, whatever character it names.
  if (p.move && !occupied) return;
  // Named before it was defined: nothing can be shown. A move of what is there to an unknown
  // character leaves the old one alone.
  if (!p.character) return;
  if (occupied && !p.move && p.version != 1) {
    // PlaceObject 2 and 3 without the move flag are ignored on an occupied depth, except in
    // files of version 5 and earlier, where they add a second object beneath the one there.
    // PlaceObject 1 has no flag and replaces.
    // A button never joins them.
    if (swfVersion > 5 || p.character->kind() == CharacterKind::Button) return;
    if (it->second.beneath.size() >= kMaxObjectsPerDepth - 1) return;
    Placement s;
    s.character = p.character;
    s.characterId = p.characterId;
    s.serial = p.serial;
    s.clipActions = p.clipActions;
    setProperties(p, s);
    s.beneath = std::move(it->second.beneath);
    it->second.beneath.clear();
    s.beneath.insert(s.beneath.begin(), std::move(it->second));
    it->second = std::move(s);
    touched.push_back(p.depth);
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
  if (occupied && !p.move) s.beneath = std::move(it->second.beneath);
  s.character = p.character;
  s.characterId = p.characterId;
  s.serial = p.serial;
  s.clipActions = p.clipActions;
  setProperties(p, s);
  state[p.depth] = std::move(s);
  touched.push_back(p.depth);
}

}  // namespace

void normalise(DepthList& depths) {
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
}

bool applyDisplayCommands(const Frame& frame, int swfVersion, DepthState& state,
                          DepthList& touched) {
  for (const DisplayCommand& c : frame.display) {
    if (const auto* p = std::get_if<PlaceCommand>(&c)) {
      if (!p->move && !p->hasCharacter) return false;
      place(*p, swfVersion, state, touched);
    } else {
      int depth = std::get<RemoveCommand>(c).depth;
      auto it = state.find(depth);
      if (it == state.end()) continue;
      touched.push_back(depth);
      if (it->second.beneath.empty()) {
        state.erase(it);
        continue;
      }
      // The newest goes; the one placed before it is addressed again.
      auto rest = std::move(it->second.beneath);
      Placement next = std::move(rest.front());
      rest.erase(rest.begin());
      next.beneath = std::move(rest);
      it->second = std::move(next);
    }
  }
  return true;
}

}  // namespace swf
