// TextField and TextFormat for scripts, and MovieClip.createTextField. A field's object reads
// and writes the field itself; it outlives the field as an ordinary object.

#include <strings.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <utility>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/movie_clip_groups.h"
#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/gc.h"
#include "swf/player/input_classes.h"
#include "swf/player/matrix_properties.h"
#include "swf/player/player.h"
#include "swf/player/script_host.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"
#include "swf/player/text_field_variables.h"
#include "swf/player/text_format_class.h"
#include "swf/render/text_metrics.h"
#include "swf/text/field_text.h"
#include "swf/text/text_content.h"

namespace swf {
namespace {

using avm1::Args;
using avm1::Object;
using avm1::String;
using avm1::Value;
using avm1::Vm;

// Once its field is gone the object is a dead reference, like a clip's: it answers as whatever
// clip or field now has the field's name in the same parent.
class TextFieldObject : public Object {
 public:
  TextFieldObject(TextFieldInstance* f, avm1::ClipObject* parent)
      : field_(f), life_(f->lifeToken()), parent_(parent), name_(f->name) {}
  TextFieldInstance* field() const { return life_.expired() ? nullptr : field_; }
  void rename(const std::string& name) { name_ = name; }
  bool getNative(Vm& vm, String* key, Value& out) override;
  bool setNative(Vm& vm, String* key, const Value& v) override;
  String* nativeText(Vm& vm) override;
  const char* typeName() const override {
    if (field()) return "object";
    Object* now = successor();
    return now && !now->asClip() ? now->typeName() : "movieclip";
  }
  void traceChildren(avm1::Tracer& t) override {
    Object::traceChildren(t);
    t.mark(parent_);
    t.mark(styleSheet);
  }

  // Whatever object was given as the field's style sheet; it does not style the text.
  Object* styleSheet = nullptr;

 private:
  Object* successor() const;

  TextFieldInstance* field_;
  std::weak_ptr<const char> life_;
  avm1::ClipObject* parent_;  // null for a field made outside a timeline
  std::string name_;
};

// Keeps what the player's classes need alive: their prototypes and the objects of the text
// fields on the stage (a script may have put handlers or variables on them).
class PlayerObjects : public Object {
 public:
  PlayerInput* input = nullptr;
  Object* textFieldProto = nullptr;
  Object* textFormatProto = nullptr;
  void traceChildren(avm1::Tracer& t) override {
    Object::traceChildren(t);
    t.mark(textFieldProto);
    t.mark(textFormatProto);
    if (input)
      for (TextFieldInstance* f : input->fields) t.mark(f->scriptObject);
  }
};

PlayerObjects* playerObjects(Vm& vm) { return static_cast<PlayerObjects*>(vm.hostRoot); }

double rgbNumber(RGBA c) { return double((c.r << 16) | (c.g << 8) | c.b); }
RGBA rgbFrom(Vm& vm, const Value& v, uint8_t alpha = 255) {
  uint32_t n = uint32_t(vm.toInt32(v));
  return RGBA{uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n), alpha};
}

// ---- properties ----

struct FieldProperty {
  const char* name;
  Value (*get)(Vm&, TextFieldInstance&);
  void (*set)(Vm&, TextFieldInstance&, const Value&);  // null: read-only
};

const char* const kAutoSize[] = {"none", "left", "center", "right"};

// A position or size in pixels as twips the way the original stored them: a 32-bit integer
// that wraps (infinities are 0). Nothing for undefined, null and NaN, which change nothing, nor
// for a negative size.
std::optional<int32_t> twipsOf(Vm& vm, const Value& v, bool size = false) {
  if (v.isNullish()) return std::nullopt;
  double d = vm.toNumber(v);
  if (std::isnan(d) || (size && d < 0)) return std::nullopt;
  if (!std::isfinite(d)) return 0;
  return int32_t(uint32_t(int64_t(std::fmod(std::round(d * 20), 4294967296.0))));
}

Value str(Vm& vm, const std::string& s) { return Value(vm.str(s)); }

// Most setters ask an object for its valueOf before they convert it their own way (the result
// is not used), as the original does; text and colours do not.
const Value& primed(Vm& vm, const Value& v) {
  if (v.isObject()) vm.toPrimitive(v);
  return v;
}

void changedText(Vm& vm, TextFieldInstance& f) { storeFieldVariable(vm, f); }

const FieldProperty kProperties[] = {
    {"text", [](Vm& vm, TextFieldInstance& f) { return str(vm, f.text()); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.setText(vm.toString(v));
       changedText(vm, f);
     }},
    {"htmlText", [](Vm& vm, TextFieldInstance& f) { return str(vm, f.htmlText()); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.setHtmlText(vm.toString(v), vm.version());
       changedText(vm, f);
     }},
    {"html", [](Vm&, TextFieldInstance& f) { return Value(f.def().html); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().html = vm.toBoolean(primed(vm, v));
     }},
    {"variable",
     [](Vm& vm, TextFieldInstance& f) {
       return f.def().variableName.empty() ? Value::null() : str(vm, f.def().variableName);
     },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().variableName = primed(vm, v).isNullish() ? "" : vm.toString(v);
       f.bound = false;
       syncFieldVariable(vm, f);
     }},
    {"autoSize",
     [](Vm& vm, TextFieldInstance& f) { return Value(vm.intern(kAutoSize[f.autoSize])); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       int mode = 0;
       primed(vm, v);
       if (v.isBool()) {
         mode = v.b ? 1 : 0;
       } else {
         std::string s = vm.toString(v);
         for (int i = 0; i < 4; ++i)
           if (strcasecmp(s.c_str(), kAutoSize[i]) == 0) mode = i;
       }
       f.autoSize = mode;
       f.requestAutoSize();
     }},
    {"wordWrap", [](Vm&, TextFieldInstance& f) { return Value(f.def().wordWrap); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().wordWrap = vm.toBoolean(primed(vm, v));
       f.applyAutoSize();
       f.touch();
     }},
    {"condenseWhite", [](Vm&, TextFieldInstance& f) { return Value(f.condenseWhite); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.condenseWhite = vm.toBoolean(primed(vm, v));
     }},
    {"mouseWheelEnabled", [](Vm&, TextFieldInstance& f) { return Value(f.mouseWheelEnabled); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.mouseWheelEnabled = vm.toBoolean(primed(vm, v));
     }},
    {"multiline", [](Vm&, TextFieldInstance& f) { return Value(f.def().multiline); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().multiline = vm.toBoolean(primed(vm, v));
     }},
    {"border", [](Vm&, TextFieldInstance& f) { return Value(f.def().border); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().border = vm.toBoolean(primed(vm, v));
       f.touch();
     }},
    {"borderColor", [](Vm&, TextFieldInstance& f) { return Value(rgbNumber(f.def().borderColor)); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().borderColor = rgbFrom(vm, v);
       f.touch();
     }},
    {"background", [](Vm&, TextFieldInstance& f) { return Value(f.def().background); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().background = vm.toBoolean(primed(vm, v));
       f.touch();
     }},
    {"backgroundColor",
     [](Vm&, TextFieldInstance& f) { return Value(rgbNumber(f.def().backgroundColor)); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().backgroundColor = rgbFrom(vm, v);
       f.touch();
     }},
    {"textColor",
     [](Vm&, TextFieldInstance& f) {
       const FieldDocument& d = f.document();
       return Value(rgbNumber(d.size() ? d.styleAt(0).chars.color : f.newTextFormat().chars.color));
     },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       FormatSpec color;
       color.color = rgbFrom(vm, v);
       f.applyFormat(0, f.length(), color);
       f.setNewTextFormat(color);
     }},
    {"embedFonts", [](Vm&, TextFieldInstance& f) { return Value(f.def().useOutlines); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().useOutlines = vm.toBoolean(primed(vm, v));
       f.touch();
     }},
    {"scroll", [](Vm&, TextFieldInstance& f) { return Value(f.scroll); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       double d = vm.toNumber(v);
       if (!std::isfinite(d)) return;
       int s = std::clamp(int(std::max(d, 1.0)), 1, f.maxScroll());
       if (s != f.scroll) {
         f.scroll = s;
         f.touch();
       }
     }},
    {"maxscroll", [](Vm&, TextFieldInstance& f) { return Value(f.maxScroll()); }, nullptr},
    {"bottomScroll", [](Vm&, TextFieldInstance& f) { return Value(f.bottomScroll()); }, nullptr},
    {"hscroll", [](Vm&, TextFieldInstance& f) { return Value(f.hscroll); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       double d = vm.toNumber(v);
       if (!std::isfinite(d)) return;
       int h = std::clamp(int(std::max(d, 0.0)), 0, f.maxHScroll());
       if (h != f.hscroll) {
         f.hscroll = h;
         f.touch();
       }
     }},
    {"maxhscroll", [](Vm&, TextFieldInstance& f) { return Value(f.maxHScroll()); }, nullptr},
    {"restrict",
     [](Vm& vm, TextFieldInstance& f) {
       return f.restrictSet ? str(vm, f.restrict) : Value::null();
     },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (primed(vm, v).isNullish()) {
         f.restrictSet = false;
         f.restrict.clear();
         return;
       }
       // Empty text leaves a field without a list as it is.
       std::string list = vm.toString(v);
       if (list.empty() && !f.restrictSet) return;
       f.restrictSet = true;
       f.restrict = list;
     }},
    {"styleSheet",
     [](Vm&, TextFieldInstance& f) {
       auto* o = dynamic_cast<TextFieldObject*>(f.scriptObject);
       return o && o->styleSheet ? Value(o->styleSheet) : Value();
     },
     // Only an object that is not a clip is taken: anything else clears it.
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (auto* o = dynamic_cast<TextFieldObject*>(f.scriptObject))
         o->styleSheet = primed(vm, v).object() && !v.o->asClip() ? v.o : nullptr;
     }},
    {"maxChars",
     [](Vm&, TextFieldInstance& f) {
       return f.def().maxLength != 0 ? Value(f.def().maxLength) : Value::null();
     },
     // Kept as a 32-bit integer; 0 is no limit, and so is any negative number.
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().maxLength = vm.toInt32(primed(vm, v));
     }},
    {"password", [](Vm&, TextFieldInstance& f) { return Value(f.def().password); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().password = vm.toBoolean(primed(vm, v));
       f.touch();
       f.relayout();
     }},
    {"selectable", [](Vm&, TextFieldInstance& f) { return Value(!f.def().noSelect); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.def().noSelect = !vm.toBoolean(primed(vm, v));
     }},
    {"type",
     [](Vm& vm, TextFieldInstance& f) {
       return Value(vm.intern(f.def().readOnly ? "dynamic" : "input"));
     },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       std::string s = vm.toString(primed(vm, v));
       if (strcasecmp(s.c_str(), "input") == 0) f.def().readOnly = false;
       if (strcasecmp(s.c_str(), "dynamic") == 0) f.def().readOnly = true;
     }},
    {"textWidth",
     [](Vm&, TextFieldInstance& f) {
       return Value(std::round(measureField(f.def(), f.shownText()).textWidth / 20));
     },
     nullptr},
    {"textHeight",
     [](Vm&, TextFieldInstance& f) {
       return Value(std::round(measureField(f.def(), f.shownText()).textHeight / 20));
     },
     nullptr},
    {"length", [](Vm&, TextFieldInstance& f) { return Value(double(f.length())); }, nullptr},
    {"tabEnabled",
     [](Vm&, TextFieldInstance& f) { return f.tabEnabledSet ? Value(f.tabEnabled) : Value(); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.tabEnabledSet = !v.isUndefined();
       f.tabEnabled = vm.toBoolean(v);
     }},
    {"tabIndex",
     [](Vm&, TextFieldInstance& f) { return f.tabIndex >= 0 ? Value(f.tabIndex) : Value(); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       double d = vm.toNumber(v);
       f.tabIndex = std::isfinite(d) && d >= 0 ? int(std::min(d, 1e9)) : -1;
     }},
    {"_x", [](Vm&, TextFieldInstance& f) { return Value(f.matrix.tx / 20); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (auto t = twipsOf(vm, v)) f.matrix.tx = *t;
       f.touch();
     }},
    {"_y", [](Vm&, TextFieldInstance& f) { return Value(f.matrix.ty / 20); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (auto t = twipsOf(vm, v)) f.matrix.ty = *t;
       f.touch();
     }},
    {"_width",
     [](Vm&, TextFieldInstance& f) {
       return Value(f.def().bounds.width() * matrixXScale(f.matrix) / 100 / 20);
     },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       auto t = twipsOf(vm, v, true);
       if (!t) return;
       Rect& b = f.def().bounds;
       b.xMax = b.xMin + int(std::round(*t / std::max(matrixXScale(f.matrix) / 100, 1e-9)));
       f.applyAutoSize();
       f.touch();
       f.relayout();
     }},
    {"_height",
     [](Vm&, TextFieldInstance& f) {
       return Value(f.def().bounds.height() * matrixYScale(f.matrix) / 100 / 20);
     },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       auto t = twipsOf(vm, v, true);
       if (!t) return;
       Rect& b = f.def().bounds;
       b.yMax = b.yMin + int(std::round(*t / std::max(matrixYScale(f.matrix) / 100, 1e-9)));
       f.touch();
       f.relayout();
     }},
    {"_xscale", [](Vm&, TextFieldInstance& f) { return Value(matrixXScale(f.matrix)); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (double d = vm.toNumber(v); std::isfinite(d))
         setScaleRotation(f.matrix, d, matrixYScale(f.matrix), matrixRotation(f.matrix));
       f.touch();
     }},
    {"_yscale", [](Vm&, TextFieldInstance& f) { return Value(matrixYScale(f.matrix)); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (double d = vm.toNumber(v); std::isfinite(d))
         setScaleRotation(f.matrix, matrixXScale(f.matrix), d, matrixRotation(f.matrix));
       f.touch();
     }},
    {"_rotation", [](Vm&, TextFieldInstance& f) { return Value(matrixRotation(f.matrix)); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (double d = vm.toNumber(v); std::isfinite(d))
         setScaleRotation(f.matrix, matrixXScale(f.matrix), matrixYScale(f.matrix), d);
       f.touch();
     }},
    {"_alpha", [](Vm&, TextFieldInstance& f) { return Value(f.cxform.am * 100); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       if (double d = vm.toNumber(v); std::isfinite(d)) f.cxform.am = d / 100;
       f.touch();
     }},
    {"_visible", [](Vm&, TextFieldInstance& f) { return Value(f.visible); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.visible = vm.toBoolean(v);
       f.touch();
     }},
    {"_name", [](Vm& vm, TextFieldInstance& f) { return str(vm, f.name); },
     [](Vm& vm, TextFieldInstance& f, const Value& v) {
       f.name = vm.toString(v);
       if (auto* o = dynamic_cast<TextFieldObject*>(f.scriptObject)) o->rename(f.name);
     }},
    {"_target",
     [](Vm& vm, TextFieldInstance& f) {
       std::string path;
       for (SpriteInstance* s = f.parentTimeline(); s && s->parentTimeline();
            s = s->parentTimeline())
         path = "/" + s->name + path;
       return str(vm, path + "/" + f.name);
     },
     nullptr},
    {"_parent",
     [](Vm& vm, TextFieldInstance& f) {
       SpriteInstance* p = f.parentTimeline();
       return p ? Value(static_cast<Object*>(vm.clipFor(p))) : Value();
     },
     nullptr},
};

const FieldProperty* findProperty(const std::string& name) {
  for (const FieldProperty& p : kProperties)
    if (strcasecmp(p.name, name.c_str()) == 0) return &p;
  return nullptr;
}

Object* TextFieldObject::successor() const {
  avm1::DisplayNode* p = parent_ && parent_->vm ? parent_->node() : nullptr;
  if (!p) return nullptr;
  Vm& vm = *parent_->vm;
  if (avm1::DisplayNode* c = p->childNode(name_, vm.caseSensitive())) return vm.clipFor(c);
  Object* o = p->childObject(vm, name_, vm.caseSensitive());
  return o == this ? nullptr : o;
}

// SWF 5 code sees a field's object as a plain one, its display properties aside.
bool hiddenFrom(Vm& vm, const String* key) { return vm.version() < 6 && key->text[0] != '_'; }

bool TextFieldObject::getNative(Vm& vm, String* key, Value& out) {
  if (key->text.empty() || hiddenFrom(vm, key)) return false;
  TextFieldInstance* f = field();
  if (!f) {
    // What the field held went with it.
    Object* now = successor();
    out = now ? vm.get(now, key) : Value();
    return true;
  }
  const FieldProperty* p = findProperty(key->text);
  if (!p) return false;
  // What the field shows follows its variable at once, not only after the actions.
  if (!f->def().variableName.empty()) syncFieldVariable(vm, *f);
  if (p->name[0] == '_') f->settleAutoSize();
  out = p->get(vm, *f);
  return true;
}

bool TextFieldObject::setNative(Vm& vm, String* key, const Value& v) {
  if (key->text.empty() || hiddenFrom(vm, key)) return false;
  TextFieldInstance* f = field();
  if (!f) {
    if (Object* now = successor()) vm.set(now, key, v);
    return true;
  }
  const FieldProperty* p = findProperty(key->text);
  if (!p) return false;
  if (p->set) p->set(vm, *f, v);
  return true;
}

TextFieldInstance* fieldOf(Object* self) {
  auto* o = dynamic_cast<TextFieldObject*>(self);
  return o ? o->field() : nullptr;
}

// ---- the same properties as accessors on the prototype ----

template <size_t I>
Value accessorGet(Vm& vm, Object* self, Args) {
  TextFieldInstance* f = fieldOf(self);
  if (!f) return Value();
  if (!f->def().variableName.empty()) syncFieldVariable(vm, *f);
  if (kProperties[I].name[0] == '_') f->settleAutoSize();
  return kProperties[I].get(vm, *f);
}

template <size_t I>
Value accessorSet(Vm& vm, Object* self, Args args) {
  TextFieldInstance* f = fieldOf(self);
  if (f && kProperties[I].set) kProperties[I].set(vm, *f, args.at(0));
  return Value();
}

struct Accessor {
  avm1::NativeFn get, set;
};

template <size_t... I>
constexpr std::array<Accessor, sizeof...(I)> makeAccessors(std::index_sequence<I...>) {
  return {Accessor{&accessorGet<I>, &accessorSet<I>}...};
}

constexpr auto kAccessors = makeAccessors(std::make_index_sequence<std::size(kProperties)>());

// ---- TextField methods ----

// The range a format call names: (), (index) or (begin, end), clipped to the text; empty
// when it names nothing in it.
struct Range {
  size_t begin = 0, end = 0;
};

Range rangeOf(Vm& vm, TextFieldInstance& f, Args args, size_t count) {
  double len = double(f.length());
  if (count == 0) return {0, f.length()};
  double b = vm.toNumber(args.at(0));
  if (count == 1) {
    if (!(b >= 0 && b < len)) return {};
    return {size_t(b), size_t(b) + 1};
  }
  double e = vm.toNumber(args.at(1));
  if (std::isnan(b) || std::isnan(e)) return {};
  b = std::max(b, 0.0);
  e = std::min(e, len);
  if (!(b < e)) return {};
  return {size_t(b), size_t(e)};
}

// setTextFormat([begin, [end,]] format)
Value setTextFormat(Vm& vm, Object* self, Args args) {
  TextFieldInstance* f = fieldOf(self);
  if (!f || args.size() == 0) return Value();
  size_t count = std::min<size_t>(args.size() - 1, 2);
  Value fmt = args.at(count);
  if (!fmt.object()) return Value();
  Range r = rangeOf(vm, *f, args, count);
  if (r.begin < r.end) f->applyFormat(r.begin, r.end, formatSpecOf(vm, fmt));
  return Value();
}

// getTextFormat([begin, [end]]): what the range shares.
Value getTextFormat(Vm& vm, Object* self, Args args) {
  TextFieldInstance* f = fieldOf(self);
  if (!f) return Value();
  Range r = rangeOf(vm, *f, args, std::min<size_t>(args.size(), 2));
  return Value(textFormatFrom(vm, f->document().formatOf(r.begin, r.end)));
}

Value setNewTextFormat(Vm& vm, Object* self, Args args) {
  TextFieldInstance* f = fieldOf(self);
  if (f && args.at(0).object()) f->setNewTextFormat(formatSpecOf(vm, args.at(0)));
  return Value();
}

Value getNewTextFormat(Vm& vm, Object* self, Args) {
  TextFieldInstance* f = fieldOf(self);
  if (!f) return Value();
  const FieldStyle& s = f->newTextFormat();
  return Value(textFormatFrom(vm, FormatSpec::of(s.chars, s.paragraph)));
}

Value replaceSel(Vm& vm, Object* self, Args args) {
  TextFieldInstance* f = fieldOf(self);
  if (!f || args.size() == 0) return Value();
  f->replaceSelection(decodeText(vm.toString(args.at(0)), 6));
  changedText(vm, *f);
  return Value();
}

// replaceText(begin, end, text): the new text takes the format of the character after the
// range (the format for new text at the end), and the format for new text becomes that of the
// first character.
Value replaceText(Vm& vm, Object* self, Args args) {
  TextFieldInstance* f = fieldOf(self);
  if (!f || args.size() < 3) return Value();
  double b = vm.toNumber(args.at(0)), e = vm.toNumber(args.at(1));
  if (!(b >= 0) || !(e >= b)) return Value();
  f->replaceText(size_t(std::min(b, 1e9)), size_t(std::min(e, 1e9)),
                 decodeText(vm.toString(args.at(2)), 6), vm.version());
  changedText(vm, *f);
  return Value();
}

Value removeTextField(Vm&, Object* self, Args) {
  TextFieldInstance* f = fieldOf(self);
  SpriteInstance* parent = f ? f->parentTimeline() : nullptr;
  if (!parent || f->depth < 0) return Value();
  auto it = parent->children.find(f->depth);
  if (it != parent->children.end() && it->second.get() == f) {
    f->touch();
    parent->children.erase(it);
  }
  return Value();
}

Value getDepth(Vm&, Object* self, Args) {
  TextFieldInstance* f = fieldOf(self);
  return f ? Value(f->depth - 16384) : Value();
}

// MovieClip's getDepth and removeMovieClip take text fields too (TextField's own methods do not
// take clips).
Value clipOrFieldDepth(Vm& vm, Object* self, Args args) {
  return fieldOf(self) ? getDepth(vm, self, args) : avm1::clipGetDepth(vm, self, args);
}
Value clipOrFieldRemove(Vm& vm, Object* self, Args args) {
  return fieldOf(self) ? removeTextField(vm, self, args) : avm1::clipRemove(vm, self, args);
}

// A field prints as its path through Object.prototype.toString: TextField.prototype has no
// toString of its own.
String* TextFieldObject::nativeText(Vm& vm) {
  TextFieldInstance* f = field();
  if (!f) return nullptr;
  SpriteInstance* p = f->parentTimeline();
  std::string base = p ? vm.targetPathOf(p) : "_level0";
  // To SWF 5 code a field is a part of its clip, and reads as the clip's path.
  if (vm.version() < 6) return vm.str(base);
  return vm.str(base + "." + f->name);
}

Value textFieldCtor(Vm& vm, Object* self, Args) {
  addTextFieldAccessors(vm);
  return avm1::obj(self);
}

Value getFontList(Vm& vm, Object*, Args) {
  avm1::ArrayObject* a = vm.newArray();
  for (const char* n : {"_sans", "_serif", "_typewriter"}) a->items.push_back(Value(vm.intern(n)));
  return Value(static_cast<Object*>(a));
}

// MovieClip.createTextField(name, depth, x, y, width, height)
Value createTextField(Vm& vm, Object* self, Args args) {
  avm1::ClipObject* clip = self ? self->asClip() : nullptr;
  auto* parent = clip ? dynamic_cast<SpriteInstance*>(clip->node()) : nullptr;
  if (!parent || args.size() < 6) return Value();
  double n[5];
  for (int i = 0; i < 5; ++i) {
    n[i] = vm.toNumber(args.at(size_t(i) + 1));
    if (!std::isfinite(n[i])) n[i] = 0;
    n[i] = std::clamp(n[i], -1e7, 1e7);
  }
  int depth = int(n[0]) + 16384;
  if (depth < 0 || depth > 2130706428 + 16384) return Value();
  auto def = std::make_shared<EditTextCharacter>();
  def->bounds = Rect{0, int(std::round(std::max(n[3], 0.0) * 20)), 0,
                     int(std::round(std::max(n[4], 0.0) * 20))};
  def->readOnly = true;
  def->swfVersion = 8;
  CharFormat c;
  c.font = "Times New Roman";
  c.size = 240;
  c.kerning = false;
  def->scriptFormat = c;
  auto field =
      std::make_unique<TextFieldInstance>(*def, parent->context(), parent, parent->nesting() + 1);
  field->character = def;
  field->depth = depth;
  field->name = vm.toString(args.at(0));
  // The field starts on whole pixels; later moves may put it between them.
  field->matrix.tx = std::trunc(n[1]) * 20;
  field->matrix.ty = std::trunc(n[2]) * 20;
  TextFieldInstance* made = field.get();
  parent->children[depth] = std::move(field);
  made->touch();
  if (vm.version() >= 8) return Value(textFieldObject(vm, *made));
  return Value();
}

}  // namespace

TextFieldInstance* textFieldOf(avm1::Object* o) { return fieldOf(o); }

void addTextFieldAccessors(Vm& vm) {
  Object* ctor = vm.get(vm.global, vm.intern("TextField")).object();
  Object* proto = ctor ? vm.get(ctor, vm.names().prototype).object() : nullptr;
  if (!proto) return;
  for (size_t i = 0; i < std::size(kProperties); ++i) {
    const char* name = kProperties[i].name;
    if (name[0] == '_' || strncmp(name, "tab", 3) == 0) continue;  // clip-like or plain ones
    avm1::String* key = vm.key(name);
    if (proto->props.find(key)) continue;
    avm1::Property& p = proto->props.add(key, vm.intern(name));
    p.flags = avm1::Hidden | avm1::Version6;
    p.getter = vm.newNative(kAccessors[i].get);
    p.setter = vm.newNative(kAccessors[i].set);
  }
}

void installStyleSheet(Vm& vm, Object* textFieldCtor);  // style_sheet_class.cpp

Player* playerOf(Vm& vm) {
  auto* host = dynamic_cast<ScriptHost*>(&vm.host());
  return host ? &host->player() : nullptr;
}

avm1::Object* textFieldObject(Vm& vm, TextFieldInstance& field) {
  if (field.scriptObject) return field.scriptObject;
  PlayerObjects* roots = playerObjects(vm);
  if (!roots) return nullptr;
  SpriteInstance* parent = field.parentTimeline();
  auto* o = vm.make<TextFieldObject>(&field, parent ? vm.clipFor(parent) : nullptr);
  vm.put(o, vm.names().proto, Value(roots->textFieldProto), avm1::DontEnum);
  vm.put(o, "constructor", vm.get(vm.global, vm.intern("TextField")), avm1::DontEnum);
  avm1::ArrayObject* listeners = vm.newArray();
  listeners->items.push_back(Value(static_cast<Object*>(o)));
  vm.put(o, "_listeners", Value(static_cast<Object*>(listeners)), avm1::DontEnum);
  field.scriptObject = o;
  return o;
}

void installTextClasses(Vm& vm) {
  auto* roots = vm.make<PlayerObjects>();
  Player* player = playerOf(vm);
  roots->input = player ? &player->input() : nullptr;
  vm.hostRoot = roots;

  Object* p = vm.newObject();
  roots->textFieldProto = p;
  // SWF 5 code reaches no further than the prototype itself: a field made there by `new
  // TextField` has neither toString nor valueOf.
  if (avm1::Property* up = p->props.find(vm.names().proto)) up->flags |= avm1::Version6;
  // SWF 5 code makes fields but sees none of their methods.
  constexpr uint16_t kMethod = avm1::Hidden | avm1::Version6;
  vm.define(p, "setTextFormat", setTextFormat, kMethod);
  vm.define(p, "getTextFormat", getTextFormat, kMethod);
  vm.define(p, "setNewTextFormat", setNewTextFormat, kMethod);
  vm.define(p, "getNewTextFormat", getNewTextFormat, kMethod);
  vm.define(p, "replaceSel", replaceSel, kMethod);
  vm.define(p, "replaceText", replaceText, avm1::Hidden | avm1::Version7);
  vm.define(p, "removeTextField", removeTextField, kMethod);
  vm.define(p, "getDepth", getDepth, kMethod);
  Object* bc = vm.get(vm.global, vm.intern("AsBroadcaster")).object();
  for (const char* m : {"addListener", "removeListener"})
    if (bc) vm.put(p, m, vm.get(bc, vm.intern(m)), avm1::DontEnum);
  // broadcastMessage is a function of its own, as every broadcaster's is (ASnative 101, 12).
  if (avm1::NativeFn send = avm1::findAsNative(vm, 101, 12))
    vm.put(p, "broadcastMessage", avm1::Value(static_cast<avm1::Object*>(vm.newNative(send))),
           avm1::DontEnum);
  avm1::Function* ctor = vm.defineClass("TextField", textFieldCtor, p);
  vm.define(ctor, "getFontList", getFontList);
  installStyleSheet(vm, ctor);

  roots->textFormatProto = installTextFormat(vm);

  // Movies of version 5 have the method (it is ASnative 104, 200) but not the classes.
  if (Object* clipProto = vm.movieClipProto) {
    vm.define(clipProto, "createTextField", createTextField, avm1::DontEnum);
    vm.define(clipProto, "getDepth", clipOrFieldDepth, avm1::DontEnum | avm1::Version6);
    vm.define(clipProto, "removeMovieClip", clipOrFieldRemove);
  }
  avm1::registerAsNative(vm, 104, 200, createTextField);
  if (avm1::Property* prop = vm.global->props.find(vm.key("TextField")))
    prop->flags |= avm1::Version6;
}

}  // namespace swf
