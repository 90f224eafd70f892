#pragma once
// Paints a built shape: per layer, its fills in style order, then its strokes.

#include "swf/render/draw_state.h"
#include "swf/shapes/shape_drawing.h"

namespace swf {

void paintShape(const DrawState& s, const ShapeDrawing& d);

// Overrides the colour of every solid fill (glyphs are drawn in their text's colour).
void paintShape(const DrawState& s, const ShapeDrawing& d, RGBA solidColor);

}  // namespace swf
