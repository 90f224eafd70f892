#pragma once
// Characters the engine keeps but does not draw: sounds (for the sound stage) and definitions
// whose parser had nothing to draw yet. They keep timelines intact: a placement of one still
// occupies its depth and carries its name.

#include <cstdint>
#include <span>

#include "swf/movie/character.h"

namespace swf {

struct RawCharacter : Character {
  RawCharacter(CharacterKind k, uint16_t tag, std::span<const uint8_t> b)
      : kind_(k), tagCode(tag), body(b) {}
  CharacterKind kind() const override { return kind_; }

  CharacterKind kind_;
  uint16_t tagCode;
  std::span<const uint8_t> body;  // points into the movie's data, which outlives it
};

}  // namespace swf
