#pragma once
// What a timeline says should be at each depth after a given frame. Playing and jumping both
// compute it with the same rules, so a jump gives exactly the list that playing gives; the
// display objects are then brought in line with it.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "swf/model/geometry.h"
#include "swf/movie/timeline.h"

namespace swf {

struct Placement {
  std::shared_ptr<const Character> character;
  uint16_t characterId = 0;
  int serial = -1;  // the PlaceCommand that created it; a new one means a new instance
  Matrix matrix;
  ColorTransform cxform;
  int ratio = 0;
  std::string name;
  int clipDepth = 0;
  bool visible = true;
  int blendMode = 0;
  FilterListPtr filters;
  std::span<const uint8_t> clipActions;  // PlaceObject2/3 clip events, as stored
  // Made by a script (attachMovie, duplicateMovieClip): the script gives it its class.
  bool byScript = false;
  bool startLater = false;  // the maker shows the first frame of a sprite itself
  // Older objects placed at the same depth, newest first. A placement without the move flag on
  // an occupied depth adds an object beneath those already there; the newest is the one that
  // later moves and removals at the depth address.
  std::vector<Placement> beneath;
};

using DepthState = std::map<int, Placement>;

// Depths a frame change touched; may hold repeats until normalised (sorted, unique).
using DepthList = std::vector<int>;
void normalise(DepthList& depths);

// Applies one frame's display commands of a timeline from a file of `swfVersion`; appends every
// depth it changes to `touched`. A placement with neither a character nor the move flag stops
// the frame there: returns false, and the playhead cannot enter that frame.
bool applyDisplayCommands(const Frame& frame, int swfVersion, DepthState& state,
                          DepthList& touched);

}  // namespace swf
