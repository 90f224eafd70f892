#include "swf/player/button_instance.h"

namespace swf {

ButtonInstance::ButtonInstance(const ButtonCharacter& button, PlayerContext& ctx,
                               SpriteInstance* parentTimeline, int nesting)
    : PlacedObject(ctx, parentTimeline, nesting), button_(button) {
  build();
}

bool ButtonInstance::setState(ButtonState s) {
  if (s == state_) return false;
  state_ = s;
  build();
  ctx_.changed = true;
  return true;
}

void ButtonInstance::build() {
  children.clear();
  uint8_t flag = state_ == ButtonState::Up     ? kButtonUp
                 : state_ == ButtonState::Over ? kButtonOver
                                               : kButtonDown;
  for (const ButtonRecord& rec : button_.records) {
    if (!(rec.states & flag) || !rec.character || children.count(rec.depth)) continue;
    Placement p;
    p.character = rec.character;
    p.characterId = rec.characterId;
    p.matrix = rec.matrix;
    p.cxform = rec.cxform;
    p.filters = rec.filters;
    p.blendMode = rec.blendMode;
    if (auto o = instantiate(p, rec.depth, ctx_, parentTimeline(), nesting() + 1))
      children[rec.depth] = std::move(o);
  }
}

}  // namespace swf
