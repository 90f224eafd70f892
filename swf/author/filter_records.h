#pragma once
// Writes PlaceObject3 filter lists, the mirror of readFilterList.

#include "swf/author/bit_writer.h"
#include "swf/movie/filters.h"

namespace swf::author {

void writeFilterList(BitWriter& w, const FilterList& filters);

}  // namespace swf::author
