// TextFormat. Its values are kept canonical: each setter converts what it is given the way the
// original player did (numbers to whole pixels, colours to 24-bit values, alignments to their
// lower-case names) and leaves the value as it was when it cannot make sense of it.

#include "swf/player/text_format_class.h"

#include <strings.h>

#include <cmath>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/function.h"

namespace swf {
namespace {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

enum Prop {
  kAlign,
  kBlockIndent,
  kBold,
  kBullet,
  kColor,
  kDisplay,
  kFont,
  kIndent,
  kItalic,
  kKerning,
  kLeading,
  kLeftMargin,
  kLetterSpacing,
  kRightMargin,
  kSize,
  kTabStops,
  kTarget,
  kUnderline,
  kUrl,
  kPropCount
};

const char* const kNames[kPropCount] = {
    "align",  "blockIndent", "bold",    "bullet",    "color",      "display",       "font",
    "indent", "italic",      "kerning", "leading",   "leftMargin", "letterSpacing", "rightMargin",
    "size",   "tabStops",    "target",  "underline", "url"};

// The values of SWF 8's text engine, unknown to older movies.
bool sinceVersion8(int p) { return p == kKerning || p == kLetterSpacing; }

class TextFormatObject : public Object {
 public:
  TextFormatObject() {
    for (Value& v : values) v = Value::null();
  }
  Value values[kPropCount];
  // Tab stops are kept apart: a value that is no list empties them without making them set.
  bool tabStopsSet = false;
  std::vector<double> tabStops;

  void traceChildren(avm1::Tracer& t) override {
    Object::traceChildren(t);
    for (const Value& v : values) v.trace(t);
  }
};

TextFormatObject* formatOf(Object* o) { return dynamic_cast<TextFormatObject*>(o); }

// What the original's number conversion gives from version 8: whole numbers towards zero, and
// the one "integer indefinite" value for anything out of range.
double wholeOrIndefinite(double d) {
  if (!(d >= -2147483648.0 && d < 2147483648.0)) return -2147483648.0;
  return std::trunc(d);
}

double toInt32(double d) {
  if (!std::isfinite(d)) return 0;
  d = std::trunc(std::fmod(d, 4294967296.0));
  if (d < 0) d += 4294967296.0;
  return double(int32_t(uint32_t(d)));
}

double toUint32(double d) {
  if (!std::isfinite(d)) return 0;
  d = std::trunc(std::fmod(d, 4294967296.0));
  if (d < 0) d += 4294967296.0;
  return d;
}

// Text as the text values take it: an object whose toString gives anything but text counts as
// "[type Object]".
std::string textOf(Vm& vm, const Value& v) {
  if (!v.isObject() || v.o->asClip()) return vm.toString(v);
  Value p = vm.toPrimitive(v, true);
  if (p.isString()) return p.s->text;
  return v.o->isFunction() ? "[type Function]" : "[type Object]";
}

const char* matchName(const std::string& s, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (strcasecmp(s.c_str(), n) == 0) return n;
  return nullptr;
}

void assign(Vm& vm, TextFormatObject& f, int prop, const Value& v) {
  // Alignment and display keep their value when given none.
  if ((prop == kDisplay || prop == kAlign) && v.isNullish()) return;
  if (v.isNullish()) {
    f.values[prop] = Value::null();
    if (prop == kTabStops) {
      f.tabStopsSet = false;
      f.tabStops.clear();
    }
    return;
  }
  // The original converts every value it is given to a number twice and to text once before
  // it looks at it (display asks for text twice); scripts see those calls.
  double n1 = vm.toNumber(v), n2 = v.object() ? vm.toNumber(v) : n1;
  std::string s = textOf(vm, v);
  bool v8 = vm.version() >= 8;
  double n = v8 ? n2 : n1;
  Value& out = f.values[prop];
  switch (prop) {
    case kAlign:
      if (const char* a = matchName(s, {"left", "center", "right", "justify"}))
        out = Value(vm.intern(a));
      break;
    case kDisplay:
      if (v.object()) s = textOf(vm, v);
      if (const char* d = matchName(s, {"none", "inline", "block"}))
        out = Value(vm.intern(d));
      else
        out = Value(vm.intern("block"));
      break;
    case kBold:
    case kBullet:
    case kItalic:
    case kKerning:
    case kUnderline:
      out = Value(vm.toBoolean(v));
      break;
    case kColor:
      out = Value(toUint32(n1));
      break;
    case kFont:
    case kTarget:
    case kUrl:
      out = Value(vm.str(s));
      break;
    case kLetterSpacing:
      out = Value(n);
      break;
    case kSize:
      out = Value(v8 ? wholeOrIndefinite(n) : toInt32(n));
      break;
    case kBlockIndent:
    case kIndent:
    case kLeading:
      out = Value(v8 ? wholeOrIndefinite(n) : std::max(0.0, toInt32(n)));
      break;
    case kLeftMargin:
    case kRightMargin:
      out = Value(v8 ? wholeOrIndefinite(n > 0 ? n : 0) : std::max(0.0, toInt32(n)));
      break;
    case kTabStops: {
      // Text and objects with a length give their elements; anything else empties the list.
      f.tabStops.clear();
      Value length = v.object() || v.type == Value::Str ? vm.get(v, vm.intern("length")) : Value();
      double count = length.isUndefined() ? 0 : vm.toNumber(length);
      if (!(count > 0)) break;
      count = std::min(count, 4096.0);
      for (int i = 0; i < int(count); ++i) {
        double e = vm.toNumber(vm.get(v, vm.intern(std::to_string(i))));
        f.tabStops.push_back(v8 ? wholeOrIndefinite(e) : toInt32(e));
      }
      f.tabStopsSet = true;
      break;
    }
    default:
      break;
  }
}

Value tabStopsValue(Vm& vm, const TextFormatObject& f) {
  if (!f.tabStopsSet) return Value::null();
  avm1::ArrayObject* a = vm.newArray();
  for (double t : f.tabStops) a->items.push_back(Value(t));
  return Value(static_cast<Object*>(a));
}

template <int P>
Value getValue(Vm& vm, Object* self, Args) {
  TextFormatObject* f = formatOf(self);
  if (!f) return Value();
  return P == kTabStops ? tabStopsValue(vm, *f) : f->values[P];
}

template <int P>
Value setValue(Vm& vm, Object* self, Args args) {
  if (TextFormatObject* f = formatOf(self)) assign(vm, *f, P, args.at(0));
  return Value();
}

template <int... P>
void addAccessors(Vm& vm, Object* proto, std::integer_sequence<int, P...>) {
  (
      [&] {
        if (sinceVersion8(P) && vm.version() < 8) return;
        avm1::String* key = vm.key(kNames[P]);
        if (proto->props.find(key)) return;
        avm1::Property& prop = proto->props.add(key, vm.intern(kNames[P]));
        prop.getter = vm.newNative(getValue<P>);
        prop.setter = vm.newNative(setValue<P>);
        prop.value = Value();
      }(),
      ...);
}

// The prototype gains its accessors when the first TextFormat is made (so a script that
// replaced it before sees them on its own object).
void addAccessorsToPrototype(Vm& vm) {
  Object* ctor = vm.get(vm.global, vm.intern("TextFormat")).object();
  Object* proto = ctor ? vm.get(ctor, vm.intern("prototype")).object() : nullptr;
  if (proto) addAccessors(vm, proto, std::make_integer_sequence<int, kPropCount>());
}

Value getTextExtent(Vm& vm, Object*, Args) {
  Object* o = vm.newObject();
  for (const char* n :
       {"width", "height", "ascent", "descent", "textFieldWidth", "textFieldHeight"})
    vm.put(o, n, Value(0));
  return Value(o);
}

Object* allocateTextFormat(Vm& vm) { return vm.make<TextFormatObject>(); }

Value textFormatCtor(Vm& vm, Object* self, Args args) {
  TextFormatObject* f = formatOf(self);
  if (!f) return Value();
  addAccessorsToPrototype(vm);
  f->values[kDisplay] = Value(vm.intern("block"));
  // getTextExtent is every instance's own, and a function without links of its own.
  avm1::Function* extent = vm.make<avm1::Function>();
  extent->native = getTextExtent;
  vm.put(f, "getTextExtent", Value(static_cast<Object*>(extent)));
  static const int kArgs[] = {kFont,   kSize,  kColor,      kBold,        kItalic, kUnderline, kUrl,
                              kTarget, kAlign, kLeftMargin, kRightMargin, kIndent, kLeading};
  for (size_t i = 0; i < std::size(kArgs) && i < args.size(); ++i)
    assign(vm, *f, kArgs[i], args.at(i));
  return Value(self);
}

const char* alignName(TextAlign a) {
  switch (a) {
    case TextAlign::Right:
      return "right";
    case TextAlign::Center:
      return "center";
    case TextAlign::Justify:
      return "justify";
    default:
      return "left";
  }
}

}  // namespace

Object* installTextFormat(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass("TextFormat", textFormatCtor, proto, allocateTextFormat);
  return proto;
}

Object* textFormatFrom(Vm& vm, const FormatSpec& s) {
  Value ctor = vm.get(vm.global, vm.intern("TextFormat"));
  Object* o = vm.construct(ctor, {}).object();
  TextFormatObject* f = formatOf(o);
  if (!f) return o;
  auto px = [](double twips) { return Value(twips / 20); };
  auto text = [&](const std::string& t) { return Value(vm.str(t)); };
  if (s.font) f->values[kFont] = text(*s.font);
  if (s.url) f->values[kUrl] = text(*s.url);
  if (s.target) f->values[kTarget] = text(*s.target);
  if (s.size) f->values[kSize] = px(*s.size);
  if (s.color)
    f->values[kColor] = Value(double((s.color->r << 16) | (s.color->g << 8) | s.color->b));
  if (s.bold) f->values[kBold] = Value(*s.bold);
  if (s.italic) f->values[kItalic] = Value(*s.italic);
  if (s.underline) f->values[kUnderline] = Value(*s.underline);
  if (s.bullet) f->values[kBullet] = Value(*s.bullet);
  if (s.align) f->values[kAlign] = Value(vm.intern(alignName(*s.align)));
  if (s.leftMargin) f->values[kLeftMargin] = px(*s.leftMargin);
  if (s.rightMargin) f->values[kRightMargin] = px(*s.rightMargin);
  if (s.indent) f->values[kIndent] = px(*s.indent);
  if (s.blockIndent) f->values[kBlockIndent] = px(*s.blockIndent);
  if (s.leading) f->values[kLeading] = px(*s.leading);
  if (vm.version() >= 8) {
    if (s.kerning) f->values[kKerning] = Value(*s.kerning);
    if (s.letterSpacing) f->values[kLetterSpacing] = px(*s.letterSpacing);
  }
  if (s.tabStops) {
    f->tabStopsSet = true;
    for (double t : *s.tabStops) f->tabStops.push_back(t / 20);
  }
  return o;
}

FormatSpec formatSpecOf(Vm& vm, const Value& format) {
  FormatSpec s;
  TextFormatObject* f = formatOf(format.object());
  if (!f) return s;
  auto has = [&](int p) { return !f->values[p].isNullish(); };
  auto num = [&](int p) { return vm.toNumber(f->values[p]); };
  auto twips = [&](int p) -> std::optional<double> {
    double d = num(p);
    if (!std::isfinite(d)) return std::nullopt;
    return d * 20;
  };
  if (has(kFont)) s.font = vm.toString(f->values[kFont]);
  if (has(kUrl)) s.url = vm.toString(f->values[kUrl]);
  if (has(kTarget)) s.target = vm.toString(f->values[kTarget]);
  if (has(kSize)) s.size = twips(kSize);
  if (has(kLetterSpacing)) s.letterSpacing = twips(kLetterSpacing);
  if (has(kColor)) {
    uint32_t c = uint32_t(num(kColor));
    s.color = RGBA{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 255};
  }
  auto flag = [&](int p, std::optional<bool>& to) {
    if (has(p)) to = vm.toBoolean(f->values[p]);
  };
  flag(kBold, s.bold);
  flag(kItalic, s.italic);
  flag(kUnderline, s.underline);
  flag(kKerning, s.kerning);
  flag(kBullet, s.bullet);
  if (has(kAlign)) {
    std::string a = vm.toString(f->values[kAlign]);
    s.align = a == "right"     ? TextAlign::Right
              : a == "center"  ? TextAlign::Center
              : a == "justify" ? TextAlign::Justify
                               : TextAlign::Left;
  }
  if (has(kLeftMargin)) s.leftMargin = twips(kLeftMargin);
  if (has(kRightMargin)) s.rightMargin = twips(kRightMargin);
  if (has(kIndent)) s.indent = twips(kIndent);
  if (has(kBlockIndent)) s.blockIndent = twips(kBlockIndent);
  if (has(kLeading)) s.leading = twips(kLeading);
  if (f->tabStopsSet) {
    s.tabStops.emplace();
    for (double t : f->tabStops) s.tabStops->push_back(t * 20);
  }
  return s;
}

}  // namespace swf
