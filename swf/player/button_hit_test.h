#pragma once
// Finds the button under a stage point: the topmost visible one whose hit-state records contain it.

#include "swf/player/button_instance.h"
#include "swf/player/display_object.h"

namespace swf {

// (x, y) in stage twips.
ButtonInstance* findButtonAt(DisplayObject& root, double x, double y);

}  // namespace swf
