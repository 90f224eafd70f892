#pragma once
// Fill and line styles of shapes, morph shapes and glyphs.

#include <cstdint>
#include <memory>
#include <vector>

#include "swf/io/bit_reader.h"
#include "swf/model/geometry.h"
#include "swf/movie/character.h"

namespace swf {

struct GradientStop {
  double ratio = 0;  // 0..255
  RGBA color;
};

enum class SpreadMode { Pad, Reflect, Repeat };

struct Gradient {
  std::vector<GradientStop> stops;
  SpreadMode spread = SpreadMode::Pad;
  bool linearRGB = false;  // interpolate in linear light instead of sRGB
  double focalPoint = 0;   // -1..1 along the x axis of a focal radial gradient
};

enum class FillKind { Solid, LinearGradient, RadialGradient, FocalGradient, Bitmap };

struct FillStyle {
  FillKind kind = FillKind::Solid;
  RGBA color;
  Matrix matrix;  // gradient or bitmap space to shape space
  Gradient gradient;
  uint16_t bitmapId = 0;
  std::shared_ptr<const Character> bitmap;  // resolved when the shape is read; may be null
  bool repeat = true;
  bool smooth = true;
};

enum class CapStyle { Round, None, Square };
enum class JoinStyle { Round, Bevel, Miter };

struct LineStyle {
  double width = 0;  // twips
  RGBA color;
  CapStyle startCap = CapStyle::Round, endCap = CapStyle::Round;
  JoinStyle join = JoinStyle::Round;
  double miterLimit = 3;
  bool noHScale = false, noVScale = false;
  bool pixelHinting = false;
  bool noClose = false;
  bool hasFill = false;  // LineStyle2 may paint the stroke with a fill style
  FillStyle fill;
};

// How the records of one shape tag are laid out.
struct StyleFormat {
  int shapeVersion = 1;  // 1..4 for DefineShape 1..4
  bool alpha() const { return shapeVersion >= 3; }
  bool extendedCounts() const { return shapeVersion >= 2; }
  bool lineStyle2() const { return shapeVersion >= 4; }
};

FillStyle readFillStyle(BitReader& r, const StyleFormat& f, const ParseContext& ctx);
std::vector<FillStyle> readFillStyles(BitReader& r, const StyleFormat& f, const ParseContext& ctx);
LineStyle readLineStyle(BitReader& r, const StyleFormat& f, const ParseContext& ctx);
std::vector<LineStyle> readLineStyles(BitReader& r, const StyleFormat& f, const ParseContext& ctx);

// Reading of the parts that morph styles share with plain ones.
FillKind fillKindFromType(uint8_t type);  // throws ReadError on an unknown type
void setBitmapFlags(FillStyle& s, uint8_t type);

// Interpolates two styles of a morph shape; t is 0 at the start, 1 at the end.
RGBA lerpColor(RGBA a, RGBA b, double t);
Matrix lerpMatrix(const Matrix& a, const Matrix& b, double t);
FillStyle lerpFillStyle(const FillStyle& a, const FillStyle& b, double t);
LineStyle lerpLineStyle(const LineStyle& a, const LineStyle& b, double t);

}  // namespace swf
