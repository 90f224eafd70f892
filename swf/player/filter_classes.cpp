// flash.filters: the eight filters of the format (and DisplacementMapFilter, kept as an object
// the renderer does not draw) as script objects whose settings are ordinary members, and the
// `filters` property of MovieClip that turns a list of them into the filters a clip is drawn with.

#include "swf/player/filter_classes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/package_support.h"
#include "swf/player/script_access.h"

namespace swf {

using avm1::Args;
using avm1::Function;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

namespace {

enum class Kind {
  Bevel,
  Blur,
  ColorMatrix,
  Convolution,
  DisplacementMap,
  DropShadow,
  Glow,
  GradientBevel,
  GradientGlow
};

// A filter's settings live in the object, one slot per member of its class in constructor
// order; scripts reach them through accessors on the class's prototype.
class FilterObject : public Object {
 public:
  Kind kind = Kind::Blur;
  std::vector<Value> values;
  void traceChildren(avm1::Tracer& t) override {
    Object::traceChildren(t);
    for (Value& v : values) v.trace(t);
  }
};

struct Member {
  const char* name;
  double number;
  const char* text = nullptr;
  bool flag = false;
  bool isFlag = false;
  bool isArray = false;
};

constexpr Member num(const char* n, double v) { return {n, v}; }
constexpr Member str(const char* n, const char* s) { return {n, 0, s}; }
constexpr Member flag(const char* n, bool v) { return {n, 0, nullptr, v, true}; }
constexpr Member list(const char* n) { return {n, 0, nullptr, false, false, true}; }

struct ClassDef {
  const char* name;
  Kind kind;
  std::vector<Member> members;  // in constructor order
};

const std::vector<ClassDef>& classes() {
  static const std::vector<ClassDef> defs = {
      {"BevelFilter",
       Kind::Bevel,
       {num("distance", 4), num("angle", 45), num("highlightColor", 0xFFFFFF),
        num("highlightAlpha", 1), num("shadowColor", 0), num("shadowAlpha", 1), num("blurX", 4),
        num("blurY", 4), num("strength", 1), num("quality", 1), str("type", "inner"),
        flag("knockout", false)}},
      {"BlurFilter", Kind::Blur, {num("blurX", 4), num("blurY", 4), num("quality", 1)}},
      {"ColorMatrixFilter", Kind::ColorMatrix, {list("matrix")}},
      {"ConvolutionFilter",
       Kind::Convolution,
       {num("matrixX", 0), num("matrixY", 0), list("matrix"), num("divisor", 1), num("bias", 0),
        flag("preserveAlpha", true), flag("clamp", true), num("color", 0), num("alpha", 0)}},
      {"DisplacementMapFilter",
       Kind::DisplacementMap,
       {num("mapBitmap", NAN), num("mapPoint", NAN), num("componentX", 0), num("componentY", 0),
        num("scaleX", 0), num("scaleY", 0), str("mode", "wrap"), num("color", 0), num("alpha", 0)}},
      {"DropShadowFilter",
       Kind::DropShadow,
       {num("distance", 4), num("angle", 45), num("color", 0), num("alpha", 1), num("blurX", 4),
        num("blurY", 4), num("strength", 1), num("quality", 1), flag("inner", false),
        flag("knockout", false), flag("hideObject", false)}},
      {"GlowFilter",
       Kind::Glow,
       {num("color", 0xFF0000), num("alpha", 1), num("blurX", 6), num("blurY", 6),
        num("strength", 2), num("quality", 1), flag("inner", false), flag("knockout", false)}},
      {"GradientBevelFilter",
       Kind::GradientBevel,
       {num("distance", 4), num("angle", 45), list("colors"), list("alphas"), list("ratios"),
        num("blurX", 4), num("blurY", 4), num("strength", 1), num("quality", 1),
        str("type", "inner"), flag("knockout", false)}},
      {"GradientGlowFilter",
       Kind::GradientGlow,
       {num("distance", 4), num("angle", 45), list("colors"), list("alphas"), list("ratios"),
        num("blurX", 4), num("blurY", 4), num("strength", 1), num("quality", 1),
        str("type", "outer"), flag("knockout", false)}},
  };
  return defs;
}

const ClassDef* defOf(Kind k) {
  for (const ClassDef& d : classes())
    if (d.kind == k) return &d;
  return nullptr;
}

Value defaultOf(Vm& vm, const Member& m) {
  if (m.isArray) {
    return Value(static_cast<Object*>(vm.newArray()));
  }
  if (m.isFlag) return Value(m.flag);
  if (m.text) return Value(vm.intern(m.text));
  if (std::isnan(m.number)) return Value();
  return Value(m.number);
}

template <Kind K>
Object* allocate(Vm& vm) {
  auto* f = vm.make<FilterObject>();
  f->kind = K;
  return f;
}

// Blur sizes are numbers from 0 to 255 (not a number stays so) and the quality a whole number
// from 0 to 15, whatever a script gives; other settings are kept as given.
Value blurSetting(Vm& vm, std::string_view name, const Value& given, const Value& kept) {
  if (name == "blurX" || name == "blurY") {
    double v = vm.toNumber(given);
    return Value(std::isnan(v) ? v : std::clamp(v, 0.0, 255.0));
  }
  if (name == "quality") return Value(std::clamp(vm.toInt32(given), 0, 15));
  return kept;
}

// The slot a member of the object's class is kept in, or undefined when its class has none.
Value field(Object* o, std::string_view name) {
  auto* f = dynamic_cast<FilterObject*>(o);
  const ClassDef* d = f ? defOf(f->kind) : nullptr;
  if (!d) return Value();
  for (size_t i = 0; i < d->members.size() && i < f->values.size(); ++i)
    if (name == d->members[i].name) return f->values[i];
  return Value();
}

Value construct(Vm& vm, Object* self, Args a) {
  auto* f = self ? dynamic_cast<FilterObject*>(self) : nullptr;
  const ClassDef* d = f ? defOf(f->kind) : nullptr;
  // Called as a plain function, even on a filter, the class sets nothing up.
  if (!d || !vm.isConstructing) return Value();
  // The original leaves the link to the class in sight of for..in on filters.
  if (avm1::Property* p = self->props.find(vm.names().ctor2)) p->flags &= ~avm1::DontEnum;
  // Before SWF 8 a filter is made empty: its arguments are not even read.
  if (vm.version() < 8) return Value();
  f->values.resize(d->members.size());
  for (size_t i = 0; i < d->members.size(); ++i) {
    const Member& m = d->members[i];
    Value v = i < a.size() && !a.at(i).isUndefined() ? a.at(i) : defaultOf(vm, m);
    if (i < a.size()) v = blurSetting(vm, m.name, a.at(i), v);
    if (f->kind == Kind::ColorMatrix && i == 0 && !v.object()) {  // the identity
      avm1::ArrayObject* id = vm.newArray();
      for (int k = 0; k < 20; ++k) id->items.push_back(Value(k % 6 == 0 ? 1.0 : 0.0));
      v = Value(static_cast<Object*>(id));
    }
    f->values[i] = v;
  }
  return Value();
}

// The accessors of member I of whatever filter they are called on (an empty filter, made
// before SWF 8, has nothing to give or take).
template <size_t I>
Value getMember(Vm&, Object* self, Args) {
  auto* f = dynamic_cast<FilterObject*>(self);
  if (!f || I >= f->values.size()) return Value();
  return f->values[I];
}

template <size_t I>
Value setMember(Vm& vm, Object* self, Args a) {
  auto* f = dynamic_cast<FilterObject*>(self);
  const ClassDef* d = f ? defOf(f->kind) : nullptr;
  if (!d || I >= d->members.size()) return Value();
  // Before SWF 8 the accessors are not there for scripts: a write makes a plain member.
  if (vm.version() < 8) {
    avm1::String* n = vm.intern(d->members[I].name);
    if (!self->props.find(vm.key(n))) vm.put(self, n, a.at(0), 0);
    return Value();
  }
  if (I >= f->values.size()) return Value();
  f->values[I] = blurSetting(vm, d->members[I].name, a.at(0), a.at(0));
  return Value();
}

constexpr size_t kMaxMembers = 12;
using Accessors = std::array<std::pair<avm1::NativeFn, avm1::NativeFn>, kMaxMembers>;

template <size_t... I>
constexpr Accessors accessorsOf(std::index_sequence<I...>) {
  return {std::pair<avm1::NativeFn, avm1::NativeFn>{getMember<I>, setMember<I>}...};
}
constexpr Accessors kAccessors = accessorsOf(std::make_index_sequence<kMaxMembers>());

Object* cloneFilter(Vm& vm, FilterObject* f) {
  auto* c = vm.make<FilterObject>();
  c->kind = f->kind;
  c->values = f->values;
  Vm::Pin pin(vm, Value(static_cast<Object*>(c)));
  vm.put(c, vm.names().proto, vm.get(f, vm.names().proto), avm1::DontEnum);
  return c;
}

Value cloneMethod(Vm& vm, Object* self, Args) {
  auto* f = self ? dynamic_cast<FilterObject*>(self) : nullptr;
  return f ? Value(cloneFilter(vm, f)) : Value();
}

Value bitmapFilterConstruct(Vm&, Object*, Args) { return Value(); }

double n(Vm& vm, Object* o, const char* name) {
  double v = vm.toNumber(field(o, name));
  return std::isfinite(v) ? v : 0;
}
bool b(Vm& vm, Object* o, const char* name) { return vm.toBoolean(field(o, name)); }

RGBA color(Vm& vm, Object* o, const char* rgb, const char* alpha) {
  uint32_t c = uint32_t(vm.toInt32(field(o, rgb)));
  double a = std::clamp(n(vm, o, alpha), 0.0, 1.0);
  return {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(std::lround(a * 255))};
}

FilterBlur blurOf(Vm& vm, Object* o) {
  return {std::clamp(n(vm, o, "blurX"), 0.0, 255.0), std::clamp(n(vm, o, "blurY"), 0.0, 255.0),
          int(std::clamp(n(vm, o, "quality"), 0.0, 15.0))};
}

double radians(Vm& vm, Object* o) { return n(vm, o, "angle") * std::numbers::pi / 180; }

std::vector<Value> items(Vm& vm, Object* o, const char* name, size_t max) {
  std::vector<Value> out;
  Object* a = field(o, name).object();
  if (!a) return out;
  double len = vm.toNumber(vm.get(a, vm.names().length));
  for (size_t i = 0; i < max && double(i) < len; ++i)
    out.push_back(vm.get(a, vm.intern(std::to_string(i))));
  return out;
}

GradientFilterParams gradientParams(Vm& vm, Object* o) {
  GradientFilterParams p;
  auto colors = items(vm, o, "colors", 16), alphas = items(vm, o, "alphas", 16),
       ratios = items(vm, o, "ratios", 16);
  for (size_t i = 0; i < std::min({colors.size(), alphas.size(), ratios.size()}); ++i) {
    uint32_t c = uint32_t(vm.toInt32(colors[i]));
    double a = std::clamp(vm.toNumber(alphas[i]), 0.0, 1.0);
    double r = std::clamp(vm.toNumber(ratios[i]), 0.0, 255.0);
    p.stops.push_back(
        {{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(std::lround(a * 255))},
         uint8_t(std::isnan(r) ? 0 : r)});
  }
  p.blur = blurOf(vm, o);
  p.angle = radians(vm, o);
  p.distance = n(vm, o, "distance");
  p.strength = std::clamp(n(vm, o, "strength"), 0.0, 255.0);
  std::string type = vm.toString(field(o, "type"));
  p.inner = type == "inner";
  p.onTop = type == "full";
  p.knockout = b(vm, o, "knockout");
  return p;
}

std::optional<Filter> toFilter(Vm& vm, FilterObject* f) {
  switch (f->kind) {
    case Kind::Blur:
      return BlurFilter{blurOf(vm, f)};
    case Kind::DropShadow: {
      DropShadowFilter d;
      d.color = color(vm, f, "color", "alpha");
      d.blur = blurOf(vm, f);
      d.angle = radians(vm, f);
      d.distance = n(vm, f, "distance");
      d.strength = std::clamp(n(vm, f, "strength"), 0.0, 255.0);
      d.inner = b(vm, f, "inner");
      d.knockout = b(vm, f, "knockout");
      d.compositeSource = !b(vm, f, "hideObject");
      return d;
    }
    case Kind::Glow: {
      GlowFilter g;
      g.color = color(vm, f, "color", "alpha");
      g.blur = blurOf(vm, f);
      g.strength = std::clamp(n(vm, f, "strength"), 0.0, 255.0);
      g.inner = b(vm, f, "inner");
      g.knockout = b(vm, f, "knockout");
      return g;
    }
    case Kind::Bevel: {
      BevelFilter v;
      v.highlightColor = color(vm, f, "highlightColor", "highlightAlpha");
      v.shadowColor = color(vm, f, "shadowColor", "shadowAlpha");
      v.blur = blurOf(vm, f);
      v.angle = radians(vm, f);
      v.distance = n(vm, f, "distance");
      v.strength = std::clamp(n(vm, f, "strength"), 0.0, 255.0);
      std::string type = vm.toString(field(f, "type"));
      v.inner = type != "outer";
      v.onTop = type == "full";
      v.knockout = b(vm, f, "knockout");
      return v;
    }
    case Kind::ColorMatrix: {
      ColorMatrixFilter c;
      auto m = items(vm, f, "matrix", 20);
      for (size_t i = 0; i < m.size(); ++i) {
        double v = vm.toNumber(m[i]);
        c.matrix[i] = float(std::isfinite(v) ? v : 0);
      }
      return c;
    }
    case Kind::Convolution: {
      ConvolutionFilter c;
      c.columns = int(std::clamp(n(vm, f, "matrixX"), 0.0, 15.0));
      c.rows = int(std::clamp(n(vm, f, "matrixY"), 0.0, 15.0));
      auto m = items(vm, f, "matrix", size_t(c.columns * c.rows));
      for (const Value& v : m) c.matrix.push_back(float(vm.toNumber(v)));
      c.matrix.resize(size_t(c.columns * c.rows), 0);
      c.divisor = float(n(vm, f, "divisor"));
      c.bias = float(n(vm, f, "bias"));
      c.preserveAlpha = b(vm, f, "preserveAlpha");
      c.clamp = b(vm, f, "clamp");
      c.defaultColor = color(vm, f, "color", "alpha");
      return c;
    }
    case Kind::GradientGlow:
      return GradientGlowFilter{gradientParams(vm, f)};
    case Kind::GradientBevel:
      return GradientBevelFilter{gradientParams(vm, f)};
    case Kind::DisplacementMap:
      break;
  }
  return std::nullopt;
}

// The list last given to a clip, kept on its object out of sight of for..in.
constexpr const char* kKept = "__filters";

Value getFilters(Vm& vm, Object* self, Args) {
  avm1::ArrayObject* out = vm.newArray();
  Vm::Pin pin(vm, Value(static_cast<Object*>(out)));
  if (Object* kept = self ? vm.get(self, vm.key(kKept)).object() : nullptr)
    if (auto* a = kept->asArray())
      for (const Value& v : a->items)
        if (auto* f = dynamic_cast<FilterObject*>(v.object()))
          out->items.push_back(Value(cloneFilter(vm, f)));
  return Value(static_cast<Object*>(out));
}

Value setFilters(Vm& vm, Object* self, Args a) {
  PlacedObject* p = placedOf(vm, self);
  if (!p || !self) return Value();
  auto list = std::make_shared<FilterList>();
  avm1::ArrayObject* kept = vm.newArray();
  Vm::Pin pin(vm, Value(static_cast<Object*>(kept)));
  if (Object* arr = a.at(0).object()) {
    double len = vm.toNumber(vm.get(arr, vm.names().length));
    for (size_t i = 0; i < 64 && double(i) < len; ++i) {
      auto* f = dynamic_cast<FilterObject*>(vm.get(arr, vm.intern(std::to_string(i))).object());
      if (!f) continue;
      kept->items.push_back(Value(cloneFilter(vm, f)));
      if (auto filter = toFilter(vm, f)) list->push_back(std::move(*filter));
    }
  }
  vm.put(self, vm.intern(kKept), Value(static_cast<Object*>(kept)), avm1::DontEnum);
  p->filters = list->empty() ? nullptr : FilterListPtr(std::move(list));
  p->markChanged();
  return Value();
}

// blendMode: by name or by number, as the format numbers them.
const char* const kBlendNames[] = {"normal",  "normal", "layer",      "multiply", "screen",
                                   "lighten", "darken", "difference", "add",      "subtract",
                                   "invert",  "alpha",  "erase",      "overlay",  "hardlight"};

Value getBlendMode(Vm& vm, Object* self, Args) {
  PlacedObject* p = placedOf(vm, self);
  if (!p) return Value();
  int m = std::clamp(p->blendMode, 0, 14);
  return Value(vm.intern(kBlendNames[m]));
}

Value setBlendMode(Vm& vm, Object* self, Args a) {
  PlacedObject* p = placedOf(vm, self);
  if (!p) return Value();
  Value v = a.at(0);
  int mode = -1;
  if (v.isString()) {
    for (int i = 1; i < 15; ++i)
      if (v.s->text == kBlendNames[i]) mode = i;
  } else {
    double d = vm.toNumber(v);
    if (d >= 1 && d <= 14) mode = int(d);
  }
  if (mode < 0) return Value();
  p->blendMode = mode;
  p->markChanged();
  return Value();
}

}  // namespace

void installFilters(Vm& vm, Object* movieClipProto) {
  using Alloc = Object* (*)(Vm&);
  static const Alloc allocs[] = {allocate<Kind::Bevel>,
                                 allocate<Kind::Blur>,
                                 allocate<Kind::ColorMatrix>,
                                 allocate<Kind::Convolution>,
                                 allocate<Kind::DisplacementMap>,
                                 allocate<Kind::DropShadow>,
                                 allocate<Kind::Glow>,
                                 allocate<Kind::GradientBevel>,
                                 allocate<Kind::GradientGlow>};
  // BitmapFilter is the common base; each filter's prototype is one of its instances.
  Object* baseProto = vm.newObject();
  vm.define(baseProto, "clone", cloneMethod, avm1::Version8);
  Function* base = avm1::definePackageClass(vm, "flash.filters", "BitmapFilter",
                                            bitmapFilterConstruct, baseProto);
  for (const ClassDef& d : classes()) {
    Object* proto = vm.newObject(baseProto);
    avm1::definePackageClass(vm, "flash.filters", d.name, construct, proto, allocs[int(d.kind)]);
    proto->props.remove(vm.names().constructor);
    vm.put(proto, vm.names().ctor2, Value(static_cast<Object*>(base)),
           avm1::DontEnum | avm1::Version6);
    for (size_t i = 0; i < d.members.size() && i < kMaxMembers; ++i)
      avm1::defineAccessor(vm, proto, d.members[i].name, kAccessors[i].first, kAccessors[i].second,
                           0);
  }
  avm1::defineAccessor(vm, movieClipProto, "filters", getFilters, setFilters);
  avm1::defineAccessor(vm, movieClipProto, "blendMode", getBlendMode, setBlendMode);
  // Only SWF 8 movies see them.
  for (const char* name : {"filters", "blendMode"})
    if (auto* prop = movieClipProto->props.find(vm.key(name))) prop->flags |= avm1::Version8;
}

}  // namespace swf
