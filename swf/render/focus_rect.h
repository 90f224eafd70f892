#pragma once
// The yellow frame the player draws around the clip that has the keyboard focus.

#include <cairo.h>

#include "swf/render/bounds.h"

namespace swf {

// The frame's width in device pixels; it lies inside the clip's bounds.
inline constexpr double kFocusFrameWidth = 3;

// Draws the frame just inside `device` (device pixels), antialiased like any shape.
void drawFocusFrame(cairo_t* cr, const Box& device);

}  // namespace swf
