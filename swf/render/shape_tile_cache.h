#pragma once
// Small shapes drawn once per look into a tile of device pixels, then copied. Filling a path
// costs cairo several microseconds however few pixels it covers, copying a small tile a
// fraction of that; games move many small shapes by whole pixels from frame to frame.
//
// A look is the shape, its transform less the whole-pixel part of the translation, and its
// colour transform. A look gets a tile the second time it is drawn, so shapes that turn or
// scale in every frame keep being drawn directly.

#include <memory>

#include "swf/movie/character.h"
#include "swf/render/draw_state.h"
#include "swf/shapes/shape_drawing.h"

namespace swf {

// Paints `drawing` (the shape `owner`) from its tile; false when it must be drawn directly
// (too large, a bitmap fill or a stroke that keeps its width, a blend or mask in effect, a look
// seen for the first time).
bool paintShapeTile(const DrawState& s, const std::shared_ptr<const Character>& owner,
                    const ShapeDrawing& drawing);

// How many tiles are kept, and forgetting them all (and every look seen).
size_t shapeTileCount();
void clearShapeTiles();

}  // namespace swf
