#pragma once
// A timeline as stored in the file: the control tags of each frame, in order. The root movie and
// every sprite have one. Placements hold the character they name as it was defined at that point
// of the file, so a character placed before its definition resolves to nothing and a sprite can
// never contain itself.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "swf/model/geometry.h"
#include "swf/movie/character.h"
#include "swf/movie/filters.h"

namespace swf {

struct PlaceCommand {
  int version = 2;  // PlaceObject 1, 2 or 3
  int serial = 0;   // unique within its timeline: tells apart placements at the same depth
  int depth = 0;
  bool move = false;
  bool hasCharacter = false;
  uint16_t characterId = 0;
  std::shared_ptr<const Character> character;  // null when absent or not defined yet
  std::optional<Matrix> matrix;
  std::optional<ColorTransform> cxform;
  std::optional<int> ratio;
  std::optional<std::string> name;
  std::optional<int> clipDepth;
  std::optional<bool> visible;
  // PlaceObject3 blend mode (0 and 1 normal, 2 layer, 3 multiply ... 14 hard light).
  std::optional<int> blendMode;
  // PlaceObject3 filters; null when the tag does not set them, an empty list clears them.
  FilterListPtr filters;
  std::span<const uint8_t> clipActions;
};

struct RemoveCommand {
  int depth = 0;
};

using DisplayCommand = std::variant<PlaceCommand, RemoveCommand>;

// A tag kept for later stages (sound), with its body.
struct RawTag {
  uint16_t code = 0;
  std::span<const uint8_t> body;
};

struct InitAction {
  uint16_t spriteId = 0;
  std::span<const uint8_t> actions;
};

struct Frame {
  std::vector<DisplayCommand> display;            // in file order
  std::vector<std::span<const uint8_t>> actions;  // DoAction bodies
  // How many of the display tags come before each DoAction in the file (missing: none).
  std::vector<size_t> actionPlaces;
  std::vector<InitAction> initActions;
  std::vector<std::string> labels;
  std::optional<RGBA> background;
  std::vector<RawTag> sound;  // StartSound, SoundStreamHead/Block, ...
  size_t endOffset = 0;       // where its ShowFrame ends, from the start of the file (the root)
};

struct Timeline {
  std::vector<Frame> frames;          // never empty once parsed
  std::map<std::string, int> labels;  // lower-cased label → frame
  // False when the header promised more frames than the file holds: the player then waits on
  // the last frame for frames that never arrive instead of wrapping round.
  bool complete = true;
  // The version of the file it comes from: placing onto an occupied depth differs up to 5.
  int swfVersion = 6;

  int frameCount() const { return int(frames.size()); }
  // Frame of a label, compared without case; -1 when absent.
  int findLabel(const std::string& label) const;
};

}  // namespace swf
