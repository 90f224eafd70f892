// Key, Mouse, Stage, Selection and ContextMenu for scripts.

#include "swf/player/input_classes.h"

#include <strings.h>

#include <cmath>

#include "swf/avm1/builtins/native_numbers.h"
#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/builtins/scripted_method.h"
#include "swf/avm1/clip_object.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"

namespace swf {

void installTextClasses(avm1::Vm& vm);   // text_field_class.cpp
void installPrintJob(avm1::Vm& vm);      // print_job_class.cpp
void installTextSnapshot(avm1::Vm& vm);  // text_snapshot_class.cpp

namespace {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

constexpr uint16_t kFixed = avm1::DontEnum | avm1::DontDelete | avm1::ReadOnly;

PlayerInput* inputOf(Vm& vm) {
  Player* p = playerOf(vm);
  return p ? &p->input() : nullptr;
}

Object* broadcaster(Vm& vm, const char* name) {
  Object* o = vm.newObject();
  vm.put(vm.global, name, Value(o), avm1::DontEnum);
  avm1::makeBroadcaster(vm, o);
  return o;
}

// ---- Key ----

int keyCodeArg(Vm& vm, Args args) {
  double d = vm.toNumber(args.at(0));
  return std::isfinite(d) && d >= 0 && d < 256 ? int(d) : -1;
}

Value keyIsDown(Vm& vm, Object*, Args args) {
  PlayerInput* in = inputOf(vm);
  int code = keyCodeArg(vm, args);
  return Value(in && code >= 0 && in->keysDown[size_t(code)]);
}

Value keyIsToggled(Vm& vm, Object*, Args args) {
  PlayerInput* in = inputOf(vm);
  int code = keyCodeArg(vm, args);
  if (!in) return Value(false);
  return Value(code == 20 ? in->capsLock : code == 144 ? in->numLock : false);
}

Value keyGetCode(Vm& vm, Object*, Args) {
  PlayerInput* in = inputOf(vm);
  return Value(in ? in->lastCode : 0);
}

Value keyGetAscii(Vm& vm, Object*, Args) {
  PlayerInput* in = inputOf(vm);
  return Value(in ? double(in->lastChar) : 0.0);
}

// No screen reader is ever attached.
Value keyIsAccessible(Vm&, Object*, Args) { return Value(false); }

void installKey(Vm& vm) {
  Object* key = broadcaster(vm, "Key");
  static const std::pair<const char*, int> kConstants[] = {
      {"ALT", 18},    {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46},
      {"DOWN", 40},   {"END", 35},      {"ENTER", 13},    {"ESCAPE", 27},  {"HOME", 36},
      {"INSERT", 45}, {"LEFT", 37},     {"PGDN", 34},     {"PGUP", 33},    {"RIGHT", 39},
      {"SHIFT", 16},  {"SPACE", 32},    {"TAB", 9},       {"UP", 38}};
  for (auto [name, code] : kConstants) vm.put(key, name, Value(code), kFixed);
  vm.define(key, "isDown", keyIsDown, kFixed);
  vm.define(key, "isToggled", keyIsToggled, kFixed);
  vm.define(key, "getCode", keyGetCode, kFixed);
  vm.define(key, "getAscii", keyGetAscii, kFixed);
  vm.define(key, "isAccessible", keyIsAccessible, kFixed);
  // The original seals these objects whole, their broadcaster members too.
  vm.setAllFlags(key, kFixed);
}

// ---- Mouse ----

// Both answer whether the pointer was shown before, as 1 or 0.
Value mouseShow(Vm& vm, Object*, Args) {
  PlayerInput* in = inputOf(vm);
  if (!in) return Value();
  bool was = !in->pointerHidden;
  in->pointerHidden = false;
  return Value(was ? 1 : 0);
}

Value mouseHide(Vm& vm, Object*, Args) {
  PlayerInput* in = inputOf(vm);
  if (!in) return Value();
  bool was = !in->pointerHidden;
  in->pointerHidden = true;
  return Value(was ? 1 : 0);
}

void installMouse(Vm& vm) {
  Object* mouse = broadcaster(vm, "Mouse");
  vm.define(mouse, "show", mouseShow, kFixed);
  vm.define(mouse, "hide", mouseHide, kFixed);
  vm.setAllFlags(mouse, kFixed);
}

// ---- Stage ----

// The stage's size as scripts see it: the movie's own unless it does not scale, then the
// control's.
Value stageWidth(Vm& vm, Object*, Args) {
  Player* p = playerOf(vm);
  return p ? Value(p->scriptStageSize().first) : Value(0);
}

Value stageHeight(Vm& vm, Object*, Args) {
  Player* p = playerOf(vm);
  return p ? Value(p->scriptStageSize().second) : Value(0);
}

Value getScaleMode(Vm& vm, Object*, Args) {
  PlayerInput* in = inputOf(vm);
  return in ? Value(vm.str(in->scaleMode)) : Value();
}

Value setScaleMode(Vm& vm, Object*, Args args) {
  Player* p = playerOf(vm);
  if (!p) return Value();
  std::string m = vm.toString(args.at(0));
  for (const char* known : {"showAll", "noScale", "exactFit", "noBorder"})
    if (strcasecmp(m.c_str(), known) == 0) {
      p->input().scaleMode = known;
      p->setScaleMode(strcasecmp(known, "noScale") == 0 ? 3 : 2);
    }
  return Value();
}

Value getDisplayState(Vm& vm, Object*, Args) {
  Player* p = playerOf(vm);
  return p ? Value(vm.intern(p->fullScreen() ? "fullScreen" : "normal")) : Value();
}

// Either state, in any case; other values change nothing.
Value setDisplayState(Vm& vm, Object*, Args args) {
  Player* p = playerOf(vm);
  if (!p) return Value();
  std::string s = vm.toString(args.at(0));
  if (strcasecmp(s.c_str(), "fullScreen") == 0) p->setFullScreen(true);
  if (strcasecmp(s.c_str(), "normal") == 0) p->setFullScreen(false);
  return Value();
}

Value getAlign(Vm& vm, Object*, Args) {
  PlayerInput* in = inputOf(vm);
  return in ? Value(vm.str(in->align)) : Value();
}

// Keeps the letters of L, T, R and B (either case), in that order, as the original does.
Value setAlign(Vm& vm, Object*, Args args) {
  PlayerInput* in = inputOf(vm);
  if (!in) return Value();
  std::string s = vm.toString(args.at(0)), out;
  for (char c : {'L', 'T', 'R', 'B'})
    if (s.find(c) != std::string::npos || s.find(char(c + 32)) != std::string::npos) out += c;
  in->align = out;
  return Value();
}

Value getShowMenu(Vm& vm, Object*, Args) {
  PlayerInput* in = inputOf(vm);
  return in ? Value(in->showMenu) : Value();
}

Value setShowMenu(Vm& vm, Object*, Args args) {
  if (PlayerInput* in = inputOf(vm)) in->showMenu = vm.toBoolean(args.at(0));
  return Value();
}

void accessor(Vm& vm, Object* o, const char* name, avm1::NativeFn get, avm1::NativeFn set) {
  avm1::String* n = vm.intern(name);
  avm1::Property* p = o->props.find(vm.key(n));
  if (!p) p = &o->props.add(vm.key(n), n);
  p->getter = vm.newNative(get);
  p->setter = set ? vm.newNative(set) : nullptr;
  p->flags = avm1::DontEnum | avm1::DontDelete;
}

void installStage(Vm& vm) {
  Object* stage = broadcaster(vm, "Stage");
  accessor(vm, stage, "width", stageWidth, nullptr);
  accessor(vm, stage, "height", stageHeight, nullptr);
  accessor(vm, stage, "scaleMode", getScaleMode, setScaleMode);
  avm1::registerAsNative(vm, 666, 1, getScaleMode);
  avm1::registerAsNative(vm, 666, 2, setScaleMode);
  accessor(vm, stage, "align", getAlign, setAlign);
  accessor(vm, stage, "showMenu", getShowMenu, setShowMenu);
  accessor(vm, stage, "displayState", getDisplayState, setDisplayState);
}

// ---- Selection ----

TextFieldInstance* focused(Vm& vm) {
  PlayerInput* in = inputOf(vm);
  return in ? in->focus : nullptr;
}

// Whether a clip takes the focus from Selection.setFocus: from version 6, when it says so or
// behaves as a button.
bool clipTakesFocus(Vm& vm, Object* clip) {
  if (vm.version() < 6) return false;
  if (vm.toBoolean(vm.get(clip, vm.intern("focusEnabled")))) return true;
  for (const char* h : {"onPress", "onRelease", "onReleaseOutside", "onRollOver", "onRollOut"})
    if (vm.get(clip, vm.intern(h)).object()) return true;
  return false;
}

Value getFocus(Vm& vm, Object*, Args) {
  if (PlayerInput* in = inputOf(vm))
    if (auto* clip = dynamic_cast<SpriteInstance*>(in->focusedClip()))
      return Value(vm.str(vm.targetPathOf(clip)));
  TextFieldInstance* f = focused(vm);
  if (!f) return Value::null();
  Object* o = textFieldObject(vm, *f);
  return o ? Value(vm.toStr(Value(o))) : Value::null();
}

Value setFocus(Vm& vm, Object*, Args args) {
  Player* p = playerOf(vm);
  if (!p) return Value(false);
  if (args.size() == 0) return Value(false);
  Value v = args.at(0);
  if (v.isNullish()) {
    p->setFocus(nullptr);
    p->setFocusClip(nullptr);
    return Value(true);
  }
  TextFieldInstance* f = nullptr;
  if (Object* o = v.object()) {
    // SWF 5 code sees a field's object as a plain one, which takes no focus.
    if (vm.version() >= 6) f = textFieldOf(o);
    // A clip that takes the focus gets it, but the call still answers false, as the
    // original's did; a level's root never takes it.
    if (avm1::ClipObject* c = o->asClip()) {
      auto* clip = dynamic_cast<SpriteInstance*>(c->node());
      if (clip && clip->parentTimeline() && clipTakesFocus(vm, o)) p->setFocusClip(clip);
      return Value(false);
    }
  } else {
    // A target path: "_root.name" or "name" seen from level 0.
    std::string path = vm.toString(v);
    for (TextFieldInstance* c : p->input().fields) {
      Object* o = textFieldObject(vm, *c);
      if (o && (vm.toString(Value(o)) == path || c->name == path)) f = c;
    }
  }
  if (!f) return Value(false);
  p->setFocus(f);
  return Value(true);
}

Value getBeginIndex(Vm& vm, Object*, Args) {
  TextFieldInstance* f = focused(vm);
  return Value(f ? f->selectionBegin() : -1);
}

Value getEndIndex(Vm& vm, Object*, Args) {
  TextFieldInstance* f = focused(vm);
  return Value(f ? f->selectionEnd() : -1);
}

Value getCaretIndex(Vm& vm, Object*, Args) {
  TextFieldInstance* f = focused(vm);
  return Value(f ? f->caretIndex() : -1);
}

Value setSelection(Vm& vm, Object*, Args args) {
  TextFieldInstance* f = focused(vm);
  if (!f) return Value();
  double b = vm.toNumber(args.at(0)), e = vm.toNumber(args.at(1));
  if (!std::isfinite(b)) b = 0;
  if (!std::isfinite(e)) e = b;
  f->setSelection(int(std::clamp(b, 0.0, 1e9)), int(std::clamp(e, 0.0, 1e9)));
  return Value();
}

void installSelection(Vm& vm) {
  Object* sel = broadcaster(vm, "Selection");
  vm.define(sel, "getFocus", getFocus, kFixed);
  vm.define(sel, "setFocus", setFocus, kFixed);
  vm.define(sel, "getBeginIndex", getBeginIndex, kFixed);
  vm.define(sel, "getEndIndex", getEndIndex, kFixed);
  vm.define(sel, "getCaretIndex", getCaretIndex, kFixed);
  vm.define(sel, "setSelection", setSelection, kFixed);
  vm.setAllFlags(sel, kFixed);
}

// ---- ContextMenu: objects that keep what they are given; the player's own menu stays ----
// Both are classes of Flash 7: SWF 6 code makes them but does not see their prototypes' methods.

Value newScriptArray(Vm& vm) { return vm.construct(vm.get(vm.global, vm.intern("Array")), {}); }

Value contextMenuCtor(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  vm.set(self, vm.intern("onSelect"), args.at(0));
  vm.set(self, vm.intern("customItems"), newScriptArray(vm));
  Object* builtIn = vm.newObject();
  for (const char* n :
       {"forward_back", "loop", "play", "print", "quality", "rewind", "save", "zoom"})
    vm.set(builtIn, vm.intern(n), Value(true));
  vm.set(self, vm.intern("builtInItems"), Value(builtIn));
  return Value(self);
}

Value hideBuiltInItems(Vm& vm, Object* self, Args) {
  Object* b = self ? vm.get(self, vm.intern("builtInItems")).object() : nullptr;
  if (b)
    for (avm1::String* n : vm.enumerate(b)) vm.set(b, n, Value(false));
  return Value();
}

// The copy shares the built-in items and has its own list of the same custom items.
Value copyMenu(Vm& vm, Object* self, Args) {
  if (!self) return Value();
  Value ctor = vm.get(vm.global, vm.intern("ContextMenu"));
  Value onSelect = vm.get(self, vm.intern("onSelect"));
  Value copy = vm.construct(ctor, {&onSelect, 1});
  Object* c = copy.object();
  if (!c) return copy;
  Vm::Pin pin(vm, copy);
  vm.set(c, vm.intern("builtInItems"), vm.get(self, vm.intern("builtInItems")));
  Object* items = vm.get(self, vm.intern("customItems")).object();
  Object* list = vm.get(c, vm.intern("customItems")).object();
  if (avm1::ArrayObject* from = items ? items->asArray() : nullptr)
    if (avm1::ArrayObject* to = list ? list->asArray() : nullptr) to->items = from->items;
  return copy;
}

Value contextMenuItemCtor(Vm& vm, Object* self, Args args) {
  if (!self) return Value();
  static const char* const kNames[] = {"caption", "onSelect", "separatorBefore", "enabled",
                                       "visible"};
  Value defaults[] = {Value(), Value(), Value(false), Value(true), Value(true)};
  for (size_t i = 0; i < 5; ++i)
    vm.set(self, vm.intern(kNames[i]), i < args.size() ? args.at(i) : defaults[i]);
  return Value(self);
}

Value copyMenuItem(Vm& vm, Object* self, Args) {
  if (!self) return Value();
  Value args[5];
  static const char* const kNames[] = {"caption", "onSelect", "separatorBefore", "enabled",
                                       "visible"};
  for (size_t i = 0; i < 5; ++i) args[i] = vm.get(self, vm.intern(kNames[i]));
  return vm.construct(vm.get(vm.global, vm.intern("ContextMenuItem")), {args, 5});
}

void installContextMenu(Vm& vm) {
  Object* p = vm.newObject();
  avm1::defineScripted(vm, p, "hideBuiltInItems", hideBuiltInItems);
  avm1::defineScripted(vm, p, "copy", copyMenu);
  vm.defineClass("ContextMenu", contextMenuCtor, p);
  vm.setAllFlags(p, avm1::Version7);
  Object* ip = vm.newObject();
  avm1::defineScripted(vm, ip, "copy", copyMenuItem);
  vm.defineClass("ContextMenuItem", contextMenuItemCtor, ip);
  vm.setAllFlags(ip, avm1::Version7);
}

}  // namespace

void installInputClasses(Vm& vm) {
  installKey(vm);
  installMouse(vm);
  installStage(vm);
  installSelection(vm);
  installContextMenu(vm);
  installTextClasses(vm);
  installPrintJob(vm);
  installTextSnapshot(vm);
}

}  // namespace swf
