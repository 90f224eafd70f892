#pragma once
// Extents of characters and display objects, for limiting the work of masks, blend modes and
// filters.

#include <optional>

#include "swf/player/display_object.h"

namespace swf {

struct Box {
  double x0, y0, x1, y1;
};

// The device box around a rectangle once transformed.
Box transformBox(const Rect& r, const Matrix& m);

// A character's extent in its own twips; nothing for characters that draw nothing themselves.
std::optional<Rect> characterBounds(const Character& c, int ratio);
// The same for a placed object, whose own bounds may differ from its character's.
std::optional<Rect> characterBounds(const DisplayObject& obj);

// The extent of an object and its children once transformed by `toDevice` (which already
// includes the object's own matrix), widened by their filters; `filterScale` is the device pixels
// per stage pixel, in which filters give their sizes.
std::optional<Box> objectBounds(const DisplayObject& obj, const Matrix& toDevice,
                                double filterScale = 1);
// The same without the object's own filters (its children's still count).
std::optional<Box> unfilteredBounds(const DisplayObject& obj, const Matrix& toDevice,
                                    double filterScale = 1);

}  // namespace swf
