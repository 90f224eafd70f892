#pragma once
// Draws a video object's current picture, stretched over the stream's declared size.

#include "swf/player/display_object.h"
#include "swf/render/draw_state.h"

namespace swf {

void paintVideo(const DrawState& s, const DisplayObject& obj);

}  // namespace swf
