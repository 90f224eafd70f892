#pragma once
// DefineButton and DefineButton2: characters shown per mouse state, and actions per transition.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/model/geometry.h"
#include "swf/movie/character.h"
#include "swf/movie/filters.h"

namespace swf {

enum ButtonStateFlag : uint8_t {
  kButtonUp = 1,
  kButtonOver = 2,
  kButtonDown = 4,
  kButtonHit = 8,
};

struct ButtonRecord {
  uint8_t states = 0;  // ButtonStateFlag bits
  uint16_t characterId = 0;
  std::shared_ptr<const Character> character;  // null when not defined yet
  int depth = 0;
  Matrix matrix;
  ColorTransform cxform;
  FilterListPtr filters;  // DefineButton2 records of version 8 files may carry these two
  int blendMode = 0;
};

// Transition bits of a DefineButton2 action condition (the 16-bit field read little-endian).
enum ButtonCondition : uint16_t {
  kCondIdleToOverUp = 1 << 0,       // roll over
  kCondOverUpToIdle = 1 << 1,       // roll out
  kCondOverUpToOverDown = 1 << 2,   // press
  kCondOverDownToOverUp = 1 << 3,   // release
  kCondOverDownToOutDown = 1 << 4,  // drag out
  kCondOutDownToOverDown = 1 << 5,  // drag over
  kCondOutDownToIdle = 1 << 6,      // release outside
  kCondIdleToOverDown = 1 << 7,     // drag over (menu buttons)
  kCondOverDownToIdle = 1 << 8,     // drag out (menu buttons)
  // bits 9..15: key code
};

struct ButtonAction {
  uint16_t conditions = 0;
  std::span<const uint8_t> actions;
};

struct ButtonCharacter : Character {
  CharacterKind kind() const override { return CharacterKind::Button; }
  int version = 1;  // DefineButton 1 or 2
  bool trackAsMenu = false;
  std::vector<ButtonRecord> records;
  std::vector<ButtonAction> actions;  // DefineButton's single block has the release condition
  // DefineButtonSound: the sound id and SOUNDINFO of roll out, roll over, press and release,
  // each as written (empty: none).
  std::span<const uint8_t> sounds[4];
};

}  // namespace swf
