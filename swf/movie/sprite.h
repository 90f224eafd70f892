#pragma once
// DefineSprite: a character with its own timeline.

#include "swf/movie/character.h"
#include "swf/movie/timeline.h"

namespace swf {

struct SpriteCharacter : Character {
  CharacterKind kind() const override { return CharacterKind::Sprite; }
  int declaredFrameCount = 0;
  Timeline timeline;
};

}  // namespace swf
