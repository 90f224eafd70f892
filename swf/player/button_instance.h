#pragma once
// A button on the stage: shows the records of its current state.

#include "swf/movie/button.h"
#include "swf/player/placed_object.h"

namespace swf {

enum class ButtonState { Up, Over, Down };

class ButtonInstance : public PlacedObject {
 public:
  ButtonInstance(const ButtonCharacter& button, PlayerContext& ctx, SpriteInstance* parentTimeline,
                 int nesting);

  const ButtonCharacter& button() const { return button_; }
  ButtonState state() const { return state_; }
  // Rebuilds the children for `s`; returns true when the state changed.
  bool setState(ButtonState s);

 private:
  void build();

  const ButtonCharacter& button_;
  ButtonState state_ = ButtonState::Up;
};

}  // namespace swf
