// TextField.StyleSheet (SWF 7 on). The original player wrote most of it in script around a few
// natives; its methods keep that shape: they reach each other through `this`, so they work on
// any object they are copied to, and keep the sheet in `_css` (the rules as read) and `_styles`
// (each rule as a TextFormat).

#include <cstdlib>

#include "swf/avm1/array_object.h"
#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/scripted_method.h"
#include "swf/avm1/function.h"
#include "swf/player/text_format_class.h"
#include "swf/text/css_text.h"

namespace swf {
namespace {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

Value member(Vm& vm, Object* o, const char* name) {
  return o ? vm.get(o, vm.intern(name)) : Value();
}

// this[name], made an empty object when it is not one.
Object* table(Vm& vm, Object* self, const char* name) {
  if (Object* t = member(vm, self, name).object()) return t;
  Object* t = vm.newObject();
  vm.set(self, vm.intern(name), Value(t));
  return t;
}

Value call(Vm& vm, Object* self, const char* method, std::initializer_list<Value> args) {
  return vm.callMethod(self, vm.intern(method), std::span<const Value>(args.begin(), args.size()));
}

Value styleSheetCtor(Vm&, Object* self, Args) { return avm1::obj(self); }

// _copy(o): a new object with o's enumerable members; null for anything but an object.
Value copyStyle(Vm& vm, Object*, Args args) {
  Object* from = args.at(0).object();
  if (!from) return Value::null();
  Object* to = vm.newObject();
  for (avm1::String* k : vm.enumerate(from)) vm.set(to, k, vm.get(from, k));
  return Value(to);
}

// parseCSSInternal(text): {selector: {property: value}}, or null when the text does not read.
Value parseCssInternal(Vm& vm, Object*, Args args) {
  auto rules = parseCss(vm.toString(args.at(0)), vm.version());
  if (!rules) return Value::null();
  Object* out = vm.newObject();
  for (const CssRule& r : *rules) {
    Object* style = vm.newObject();
    for (const auto& [name, value] : r.declarations)
      vm.set(style, vm.intern(name), avm1::text(vm, value));
    vm.set(out, vm.intern(r.selector), Value(style));
  }
  return Value(out);
}

// parse(text) and parseCSS(text): adds the sheet's rules, replacing rules of the same names.
Value parseStyles(Vm& vm, Object* self, Args args) {
  Object* rules = call(vm, self, "parseCSSInternal", {args.at(0)}).object();
  if (!rules) return Value(false);
  Object* css = table(vm, self, "_css");
  for (avm1::String* name : vm.enumerate(rules)) {
    vm.set(css, name, call(vm, self, "_copy", {vm.get(rules, name)}));
    call(vm, self, "doTransform", {Value(name)});
  }
  call(vm, self, "update", {});
  return Value(true);
}

Value parseColor(Vm& vm, Object*, Args args) {
  auto c = parseCssColor(vm.toString(args.at(0)));
  return c ? Value(double(*c)) : Value::null();
}

Value parseFontFamily(Vm& vm, Object*, Args args) {
  return avm1::text(vm, cssFontFamily(vm.toString(args.at(0))));
}

Value getStyle(Vm& vm, Object* self, Args args) {
  Object* css = member(vm, self, "_css").object();
  Value style = css ? vm.get(css, vm.toStr(args.at(0))) : Value();
  return call(vm, self, "_copy", {style});
}

Value setStyle(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  Object* css = table(vm, self, "_css");
  avm1::String* name = vm.intern(vm.toString(args.at(0)));
  if (args.at(1).object()) {
    vm.set(css, name, call(vm, self, "_copy", {args.at(1)}));
    call(vm, self, "doTransform", {Value(name)});
  } else {
    vm.remove(css, name);
    vm.remove(table(vm, self, "_styles"), name);
  }
  call(vm, self, "update", {});
  return Value();
}

Value getStyleNames(Vm& vm, Object* self, Args) {
  avm1::ArrayObject* names = vm.newArray();
  if (Object* css = member(vm, self, "_css").object())
    for (avm1::String* k : vm.enumerate(css)) names->items.push_back(Value(k));
  return Value(static_cast<Object*>(names));
}

Value clearStyles(Vm& vm, Object* self, Args) {
  if (!self) return Value();
  vm.set(self, vm.intern("_css"), Value(vm.newObject()));
  vm.set(self, vm.intern("_styles"), Value(vm.newObject()));
  call(vm, self, "update", {});
  return Value();
}

Value doTransform(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  avm1::String* name = vm.toStr(args.at(0));
  Value style = vm.get(table(vm, self, "_css"), name);
  vm.set(table(vm, self, "_styles"), name, call(vm, self, "transform", {style}));
  return Value();
}

// transform(style): the TextFormat a rule stands for.
Value transformStyle(Vm& vm, Object* self, Args args) {
  Object* style = args.at(0).object();
  if (!style) return Value::null();
  // As the original's script does it, so TextFormat's prototype gains its accessors here too.
  Object* f = vm.construct(vm.get(vm.global, vm.intern("TextFormat")), {}).object();
  if (!f) f = textFormatFrom(vm, FormatSpec{});
  auto css = [&](const char* name) -> std::optional<std::string> {
    Value v = vm.get(style, vm.intern(name));
    if (v.isUndefined()) return std::nullopt;
    return vm.toString(v);
  };
  auto put = [&](const char* name, const Value& v) { vm.set(f, vm.intern(name), v); };
  auto number = [&](const std::string& s) { return Value(std::strtod(s.c_str(), nullptr)); };
  if (auto v = css("color"))
    if (Value c = call(vm, self, "parseColor", {avm1::text(vm, *v)}); !c.isNull()) put("color", c);
  if (auto v = css("fontFamily"))
    put("font", call(vm, self, "parseCSSFontFamily", {avm1::text(vm, *v)}));
  if (auto v = css("fontSize")) put("size", number(*v));
  if (auto v = css("fontWeight")) put("bold", Value(*v == "bold"));
  if (auto v = css("fontStyle")) put("italic", Value(*v == "italic"));
  if (auto v = css("textDecoration")) put("underline", Value(*v == "underline"));
  if (auto v = css("textAlign")) put("align", avm1::text(vm, *v));
  if (auto v = css("marginLeft")) put("leftMargin", number(*v));
  if (auto v = css("marginRight")) put("rightMargin", number(*v));
  if (auto v = css("textIndent")) put("indent", number(*v));
  if (auto v = css("letterSpacing")) put("letterSpacing", number(*v));
  if (auto v = css("kerning")) put("kerning", Value(*v == "true"));
  if (auto v = css("display")) put("display", avm1::text(vm, *v));
  return Value(f);
}

// onData(text): what load delivers; undefined when the file could not be read.
Value onStyleData(Vm& vm, Object* self, Args args) {
  Value ok = args.at(0).isUndefined() ? Value(false) : call(vm, self, "parse", {args.at(0)});
  call(vm, self, "onLoad", {ok});
  return Value();
}

Value nothing(Vm&, Object*, Args) { return Value(); }

}  // namespace

void installStyleSheet(Vm& vm, Object* textFieldCtor) {
  Object* p = vm.newObject();
  avm1::defineScripted(vm, p, "_copy", copyStyle);
  avm1::defineScripted(vm, p, "clear", clearStyles);
  avm1::defineScripted(vm, p, "doTransform", doTransform);
  avm1::defineScripted(vm, p, "getStyle", getStyle);
  avm1::defineScripted(vm, p, "getStyleNames", getStyleNames);
  if (avm1::NativeFn load = avm1::findAsNative(vm, 301, 0)) vm.define(p, "load", load);
  avm1::defineScripted(vm, p, "onData", onStyleData);
  avm1::defineScripted(vm, p, "onLoad", nothing);
  avm1::Function* parse = avm1::defineScripted(vm, p, "parse", parseStyles);
  vm.put(p, "parseCSS", Value(static_cast<Object*>(parse)), avm1::Hidden);
  vm.define(p, "parseCSSFontFamily", parseFontFamily);
  vm.define(p, "parseCSSInternal", parseCssInternal);
  vm.define(p, "parseColor", parseColor);
  avm1::defineScripted(vm, p, "setStyle", setStyle);
  avm1::defineScripted(vm, p, "transform", transformStyle);
  vm.define(p, "update", nothing);

  avm1::Function* ctor = vm.newNative(styleSheetCtor, p);
  vm.put(textFieldCtor, "StyleSheet", Value(static_cast<Object*>(ctor)),
         avm1::Hidden | avm1::Version7);
}

}  // namespace swf
