#pragma once
// Draws one skin's window with Cairo: the window in its looks (plain, lit buttons, each volume
// level), from which the skin's pictures are cut, and the window's shape as a mask.

#include <cairo.h>

#include "layouts.h"

namespace rvskin {

struct Look {
  bool listShown = false;  // the playlist panel is part of the picture
  bool lit = false;        // every button lit, as under the pointer or in its state
  int volumeLevel = 0;     // bars lit, 0..5
  bool knob = false;       // the seek knob drawn at the start of its track
};

// An opaque picture of the whole window (listWidth wide when the panel is shown).
cairo_surface_t* paintWindow(const Layout& layout, const Look& look);
// White inside the window's outline, transparent outside; no anti-aliasing.
cairo_surface_t* paintMask(const Layout& layout, bool listShown);
// The seek knob over a piece of its track.
cairo_surface_t* paintKnob(const Layout& layout);

}  // namespace rvskin
