// The drawing API of MovieClip: lines, curves and fills drawn by script into a clip, under its
// children. Arguments are in pixels of the clip's own space.

#include "swf/player/clip_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/player/script_access.h"
#include "swf/shapes/script_drawing.h"

namespace swf {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

namespace {

// Gradients keep at most this many colours, as the format's records do.
constexpr size_t kMaxGradientStops = 15;

ScriptDrawing* drawingOf(Vm& vm, Object* self, PlacedObject** placed = nullptr) {
  PlacedObject* p = placedOf(vm, self);
  if (!p) return nullptr;
  if (!p->drawing) p->drawing = std::make_shared<ScriptDrawing>();
  p->markChanged();
  if (placed) *placed = p;
  return p->drawing.get();
}

// An alpha left out is opaque; one given as undefined is not a number, so transparent.
Value alphaArg(Args args, size_t i) {
  if (args.size() <= i) return Value(100);
  return args.at(i).isUndefined() ? Value(0) : args.at(i);
}

double twips(Vm& vm, const Value& v) { return std::clamp(finiteNumber(vm, v), -1e8, 1e8) * 20; }

Value clear(Vm& vm, Object* self, Args) {
  if (PlacedObject* p = placedOf(vm, self); p && p->drawing) {
    p->drawing->clear();
    p->markChanged();
  }
  return Value();
}

Value moveTo(Vm& vm, Object* self, Args args) {
  if (args.size() < 2) return Value();
  if (ScriptDrawing* d = drawingOf(vm, self))
    d->moveTo(twips(vm, args.at(0)), twips(vm, args.at(1)));
  return Value();
}

Value lineTo(Vm& vm, Object* self, Args args) {
  if (args.size() < 2) return Value();
  if (ScriptDrawing* d = drawingOf(vm, self))
    d->lineTo(twips(vm, args.at(0)), twips(vm, args.at(1)));
  return Value();
}

Value curveTo(Vm& vm, Object* self, Args args) {
  if (args.size() < 4) return Value();
  if (ScriptDrawing* d = drawingOf(vm, self))
    d->curveTo(twips(vm, args.at(0)), twips(vm, args.at(1)), twips(vm, args.at(2)),
               twips(vm, args.at(3)));
  return Value();
}

Value endFill(Vm& vm, Object* self, Args) {
  if (ScriptDrawing* d = drawingOf(vm, self)) d->endFill();
  return Value();
}

Value beginFill(Vm& vm, Object* self, Args args) {
  ScriptDrawing* d = drawingOf(vm, self);
  if (!d) return Value();
  if (args.size() == 0 || args.at(0).isUndefined()) {
    d->endFill();
    return Value();
  }
  FillStyle f;
  f.color = colorFrom(vm, args.at(0), alphaArg(args, 1));
  d->beginFill(f);
  return Value();
}

Value lineStyle(Vm& vm, Object* self, Args args) {
  ScriptDrawing* d = drawingOf(vm, self);
  if (!d) return Value();
  if (args.size() == 0 || args.at(0).isUndefined()) {
    d->setLineStyle(std::nullopt);
    return Value();
  }
  LineStyle s;
  double w = vm.toNumber(args.at(0));
  s.width = std::isnan(w) ? 0 : std::clamp(w, 0.0, 255.0) * 20;
  s.color = colorFrom(vm, args.at(1), alphaArg(args, 2));
  s.pixelHinting = vm.toBoolean(args.at(3));
  std::string scale = vm.toString(args.at(4));
  s.noHScale = scale == "none" || scale == "horizontal";
  s.noVScale = scale == "none" || scale == "vertical";
  std::string caps = vm.toString(args.at(5));
  s.startCap = s.endCap = caps == "none"     ? CapStyle::None
                          : caps == "square" ? CapStyle::Square
                                             : CapStyle::Round;
  std::string joint = vm.toString(args.at(6));
  s.join = joint == "miter"   ? JoinStyle::Miter
           : joint == "bevel" ? JoinStyle::Bevel
                              : JoinStyle::Round;
  if (args.size() > 7) {
    double m = vm.toNumber(args.at(7));
    s.miterLimit = std::isnan(m) ? 3 : std::clamp(m, 1.0, 255.0);
  }
  d->setLineStyle(s);
  return Value();
}

Value beginGradientFill(Vm& vm, Object* self, Args args) {
  ScriptDrawing* d = drawingOf(vm, self);
  if (!d) return Value();
  d->endFill();
  if (auto f = gradientFromArgs(vm, args)) d->beginFill(*f);
  return Value();
}

Value lineGradientStyle(Vm& vm, Object* self, Args args) {
  ScriptDrawing* d = drawingOf(vm, self);
  if (!d) return Value();
  if (auto f = gradientFromArgs(vm, args)) d->setLineFill(*f);
  return Value();
}

}  // namespace

Matrix gradientMatrix(Vm& vm, Object* m) {
  if (!m) return Matrix{};
  if (vm.toString(member(vm, m, "matrixType")) == "box") {
    double x = finiteNumber(vm, member(vm, m, "x")), y = finiteNumber(vm, member(vm, m, "y"));
    double w = finiteNumber(vm, member(vm, m, "w")), h = finiteNumber(vm, member(vm, m, "h"));
    double r = finiteNumber(vm, member(vm, m, "r"));
    return boxGradientMatrix(w, h, r, x, y);
  }
  if (hasMember(vm, m, "tx") || hasMember(vm, m, "ty") || !hasMember(vm, m, "g"))
    return matrixFromObject(vm, m);
  // The 3×3 form: its unit square is the gradient's whole square.
  auto at = [&](const char* n) { return finiteNumber(vm, member(vm, m, n)); };
  Matrix unit{at("a"), at("b"), at("d"), at("e"), at("g") * 20, at("h") * 20};
  constexpr double kSquare = 32768;  // twips across the gradient square
  Matrix toUnit{20 / kSquare, 0, 0, 20 / kSquare, 0, 0};
  return unit * toUnit;
}

Matrix boxGradientMatrix(double w, double h, double r, double x, double y) {
  constexpr double kSide = 1638.4;  // pixels across the gradient square
  double c = std::cos(r), s = std::sin(r);
  return Matrix{c * w / kSide, s * h / kSide,    -s * w / kSide,
                c * h / kSide, (x + w / 2) * 20, (y + h / 2) * 20};
}

std::optional<FillStyle> gradientFromArgs(Vm& vm, Args args) {
  std::string type = vm.toString(args.at(0));
  FillStyle f;
  if (type == "linear")
    f.kind = FillKind::LinearGradient;
  else if (type == "radial")
    f.kind = FillKind::RadialGradient;
  else
    return std::nullopt;
  Object* colors = args.at(1).object();
  Object* alphas = args.at(2).object();
  Object* ratios = args.at(3).object();
  if (!colors || !alphas || !ratios) return std::nullopt;
  auto lengthOf = [&](Object* o) {
    double n = vm.toNumber(vm.get(o, vm.names().length));
    return std::isfinite(n) && n > 0 ? size_t(std::min(n, 1e6)) : size_t(0);
  };
  size_t n = std::min({lengthOf(colors), lengthOf(alphas), lengthOf(ratios), kMaxGradientStops});
  for (size_t i = 0; i < n; ++i) {
    avm1::String* k = vm.intern(std::to_string(i));
    // A ratio that is not a number is 0; colours are numbers only, anything else is black;
    // a missing alpha is transparent.
    double ratio = vm.toNumber(vm.get(ratios, k));
    if (std::isnan(ratio)) ratio = 0;
    if (!(ratio >= 0 && ratio < 256)) return std::nullopt;
    Value color = vm.get(colors, k);
    Value alpha = vm.get(alphas, k);
    if (alpha.isUndefined()) alpha = Value(0);
    f.gradient.stops.push_back(
        {std::floor(ratio), colorFrom(vm, color.isNumber() ? color : Value(0), alpha)});
  }
  // Without a matrix object there is no gradient to draw.
  if (!args.at(4).object()) return std::nullopt;
  f.matrix = gradientMatrix(vm, args.at(4).object());
  std::string spread = vm.toString(args.at(5));
  f.gradient.spread = spread == "reflect"  ? SpreadMode::Reflect
                      : spread == "repeat" ? SpreadMode::Repeat
                                           : SpreadMode::Pad;
  f.gradient.linearRGB = vm.toString(args.at(6)) == "linearRGB";
  if (f.kind == FillKind::RadialGradient && args.size() > 7) {
    double focal = finiteNumber(vm, args.at(7));
    if (focal != 0) {
      f.kind = FillKind::FocalGradient;
      f.gradient.focalPoint = std::clamp(focal, -1.0, 1.0);
    }
  }
  return f;
}

void defineDrawingMethods(Vm& vm, Object* p) {
  // The drawing API came with SWF 6; lineGradientStyle with SWF 8.
  constexpr uint16_t v6 = avm1::DontEnum | avm1::Version6;
  vm.define(p, "clear", clear, v6);
  vm.define(p, "moveTo", moveTo, v6);
  vm.define(p, "lineTo", lineTo, v6);
  vm.define(p, "curveTo", curveTo, v6);
  vm.define(p, "lineStyle", lineStyle, v6);
  vm.define(p, "beginFill", beginFill, v6);
  vm.define(p, "beginGradientFill", beginGradientFill, v6);
  vm.define(p, "lineGradientStyle", lineGradientStyle, avm1::DontEnum | avm1::Version8);
  vm.define(p, "endFill", endFill, v6);
}

}  // namespace swf
