#pragma once
// Filters that recompute each pixel's colour: the colour matrix and the convolution. Both work on
// unpremultiplied colour, as their weights and offsets are given for it.

#include "swf/model/geometry.h"
#include "swf/movie/filters.h"
#include "swf/render/filters/filter_image.h"

namespace swf {

void applyColorMatrix(const ColorMatrixFilter& f, FilterImage img);
// Kernels wider or taller than kMaxConvolutionSide are left out: their cost grows with their area.
constexpr int kMaxConvolutionSide = 15;
void applyConvolution(const ConvolutionFilter& f, FilterImage img);

// The object's colour transform, applied to its filtered picture.
void applyColorTransform(const ColorTransform& cx, FilterImage img);

}  // namespace swf
