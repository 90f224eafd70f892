#pragma once
// Writers for the shared records, the inverse of readRect/readMatrix/readColorTransform.

#include "swf/author/bit_writer.h"
#include "swf/model/geometry.h"

namespace swf::author {

void writeRect(BitWriter& w, const Rect& r);
void writeMatrix(BitWriter& w, const Matrix& m);  // a-d rounded to 16.16, tx/ty to twips
void writeColorTransform(BitWriter& w, const ColorTransform& cx, bool withAlpha);
void writeRGB(BitWriter& w, RGBA c);
void writeRGBA(BitWriter& w, RGBA c);

}  // namespace swf::author
