#pragma once
// Turns a fill style into the Cairo source it is painted with.

#include <cstdint>
#include <vector>

#include "swf/render/device_fill_cache.h"
#include "swf/render/draw_state.h"
#include "swf/shapes/styles.h"

namespace swf {

struct FillSource {
  bool visible = false;  // false: nothing to paint (transparent, missing bitmap, ...)
  double alpha = 1;      // extra opacity the caller paints with (bitmaps under an alpha change)
};

// Sets the source of `s.cr` for `style`. The CTM must already be the shape's own space: patterns
// are fixed to the user space in effect when they become the source. `extent`, the device
// pixels the fill covers when known, lets smoothed bitmaps come from the device fill cache.
FillSource setFillSource(const DrawState& s, const FillStyle& style,
                         const DeviceBox* extent = nullptr);

// The colour stops of a gradient as Cairo gets them, after the colour transform; gradients that
// interpolate in linear light get extra stops in between.
struct ColorStop {
  double offset;
  double r, g, b, a;  // 0..1, not premultiplied
};
std::vector<ColorStop> gradientStops(const Gradient& g, const ColorTransform& cx);

// The 256 premultiplied ARGB colours of a gradient, entry i at ratio i.
void fillRamp(const std::vector<ColorStop>& stops, uint32_t* out);

}  // namespace swf
