#pragma once
// Drawing an object that has filters: its content goes into an offscreen picture in device
// space, the filters run over that picture in order, and the result is painted where the object
// is, with the state's operator (the object's blend mode, when it blends as it is drawn).

#include <functional>

#include "swf/player/display_object.h"
#include "swf/render/draw_state.h"

namespace swf {

// Offscreen pictures larger than this are not made; the object is then drawn without filters.
constexpr long kMaxFilterPixels = 8L << 20;
// Nor inside this many offscreen groups (masks, blend modes, filters), which bounds the memory
// that nested filtered objects take.
constexpr int kMaxFilterGroupDepth = 6;

// Whether the object has filters to draw; cheap, so that objects without them pay nothing more.
inline bool mayFilter(const DrawState& s, const DisplayObject& obj) {
  return !s.maskMode && obj.filters && !obj.filters->empty();
}

// Draws `obj` through its filters, calling `drawContent` for what it draws unfiltered. Returns
// false when it did nothing and the caller should draw the object as usual (no filters, mask
// drawing, too deep or too large).
bool drawFiltered(const DrawState& s, const DisplayObject& obj,
                  const std::function<void(const DrawState&)>& drawContent);

}  // namespace swf
