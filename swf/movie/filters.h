#pragma once
// The bitmap filters a PlaceObject3 tag attaches to an object (drop shadow, blur, glow, bevel,
// gradient glow, convolution, colour matrix, gradient bevel), as stored in the file. Sizes are in
// pixels of the stage; angles in radians, clockwise from the x axis (y points down).

#include <array>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "swf/io/bit_reader.h"
#include "swf/model/geometry.h"

namespace swf {

// Blur shared by every filter that has one: a box blur of blurX by blurY pixels run `passes`
// times (the authoring tool's "quality"; 0 leaves the picture sharp).
struct FilterBlur {
  double blurX = 4, blurY = 4;
  int passes = 1;
  friend bool operator==(const FilterBlur&, const FilterBlur&) = default;
};

struct DropShadowFilter {
  RGBA color{0, 0, 0, 255};
  FilterBlur blur;
  double angle = 0.785398, distance = 4, strength = 1;
  bool inner = false, knockout = false;
  bool compositeSource = true;  // false: the object itself is hidden, only its shadow shows
  friend bool operator==(const DropShadowFilter&, const DropShadowFilter&) = default;
};

struct BlurFilter {
  FilterBlur blur;
  friend bool operator==(const BlurFilter&, const BlurFilter&) = default;
};

struct GlowFilter {
  RGBA color{255, 0, 0, 255};
  FilterBlur blur;
  double strength = 1;
  bool inner = false, knockout = false, compositeSource = true;
  friend bool operator==(const GlowFilter&, const GlowFilter&) = default;
};

struct BevelFilter {
  RGBA shadowColor{0, 0, 0, 255}, highlightColor{255, 255, 255, 255};
  FilterBlur blur;
  double angle = 0.785398, distance = 4, strength = 1;
  // inner alone: inside the object; neither: around it; onTop: both, over the object.
  bool inner = true, knockout = false, compositeSource = true, onTop = false;
  friend bool operator==(const BevelFilter&, const BevelFilter&) = default;
};

struct FilterGradientStop {
  RGBA color;
  uint8_t ratio = 0;
  friend bool operator==(const FilterGradientStop&, const FilterGradientStop&) = default;
};

// Gradient glows and bevels: like glows and bevels, but the strength of the effect at a pixel
// picks its colour from the gradient.
struct GradientFilterParams {
  std::vector<FilterGradientStop> stops;
  FilterBlur blur;
  double angle = 0.785398, distance = 4, strength = 1;
  bool inner = false, knockout = false, compositeSource = true, onTop = false;
  friend bool operator==(const GradientFilterParams&, const GradientFilterParams&) = default;
};

struct GradientGlowFilter {
  GradientFilterParams p;
  friend bool operator==(const GradientGlowFilter&, const GradientGlowFilter&) = default;
};

struct GradientBevelFilter {
  GradientFilterParams p;
  friend bool operator==(const GradientBevelFilter&, const GradientBevelFilter&) = default;
};

struct ConvolutionFilter {
  int columns = 0, rows = 0;
  float divisor = 1, bias = 0;
  std::vector<float> matrix;  // rows × columns, row by row
  RGBA defaultColor{0, 0, 0, 0};
  bool clamp = true;  // pixels beyond the edge repeat the edge; otherwise they are defaultColor
  bool preserveAlpha = true;
  friend bool operator==(const ConvolutionFilter&, const ConvolutionFilter&) = default;
};

// Four rows (red, green, blue, alpha) of five: the channels' weights and an offset in 0..255.
struct ColorMatrixFilter {
  std::array<float, 20> matrix{1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0};
  friend bool operator==(const ColorMatrixFilter&, const ColorMatrixFilter&) = default;
};

// In the order of the format's filter ids (0 drop shadow ... 7 gradient bevel).
using Filter =
    std::variant<DropShadowFilter, BlurFilter, GlowFilter, BevelFilter, GradientGlowFilter,
                 ConvolutionFilter, ColorMatrixFilter, GradientBevelFilter>;
using FilterList = std::vector<Filter>;
// Placements and display objects share one immutable list.
using FilterListPtr = std::shared_ptr<const FilterList>;

// Reads a FILTERLIST; an unknown filter id or a list that runs past the data is a ReadError.
FilterList readFilterList(BitReader& r);

}  // namespace swf
