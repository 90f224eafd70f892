#pragma once
// Draws the character of one display object (not its children).

#include "swf/player/display_object.h"
#include "swf/render/draw_state.h"

namespace swf {

void paintCharacter(const DrawState& s, const DisplayObject& obj);

// The character, then what scripts drew into the object.
void paintOwnContent(const DrawState& s, const DisplayObject& obj);

}  // namespace swf
