#pragma once
// Runs an object's filter list over its picture, and says how far the list spreads it.

#include "swf/movie/filters.h"
#include "swf/render/filters/filter_image.h"

namespace swf {

// Filters past this many in one list are left out, so that a file cannot ask for unbounded work.
constexpr size_t kMaxFiltersApplied = 8;

// Whether the list changes anything that is drawn.
bool hasVisibleFilters(const FilterList* filters);

// Runs the filters in order; `img` must already have room for their reach.
void applyFilters(const FilterList& filters, FilterImage img, FilterScale scale);

// The margin the whole list's result needs around the object's extent.
FilterReach filtersReach(const FilterList& filters, FilterScale scale);
// How far the list carries a pixel's effect: at least the reach, and also for effects that stay
// inside the object. A picture cut short must keep this much beyond what shows.
FilterReach filtersInfluence(const FilterList& filters, FilterScale scale);

}  // namespace swf
