#include "swf/player/sound_object.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/builtins/native_support.h"
#include "swf/player/input_classes.h"
#include "swf/player/script_host.h"
#include "swf/player/sound_scripts.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"

namespace swf {

using avm1::Args;
using avm1::Object;
using avm1::Value;
using avm1::Vm;

SoundObject::~SoundObject() {
  if (target == Target::Own) scripts.engine().ownerGone(this);
}

void SoundObject::traceChildren(avm1::Tracer& t) {
  Object::traceChildren(t);
  t.mark(base);
}

bool SoundObject::getNative(Vm& vm, avm1::String* key, Value& out) {
  if (vm.version() < 6) return false;
  if (key == vm.key("duration")) {
    out = clip() ? Value(durationMs()) : Value();
    return true;
  }
  if (key == vm.key("position")) {
    out = clip() ? Value(positionMs()) : Value();
    return true;
  }
  return false;
}

bool SoundObject::owner(Vm& vm, const void*& key) const {
  switch (target) {
    case Target::Movie:
      key = nullptr;
      return true;
    case Target::Own:
      key = this;
      return true;
    case Target::Clip:
      break;
  }
  // A relative path starts at the clip of the code asking now, not the one that made the object.
  avm1::ClipObject* from = vm.currentClip();
  if (!from) from = base;
  avm1::DisplayNode* n = vm.resolveTarget(from, path);
  // Owners are the display objects themselves, as the timelines name them.
  key = n ? dynamic_cast<const void*>(n) : nullptr;
  if (!n) {
    // A text field's sound is its own too; its object stands for it.
    size_t dot = path.find_last_of("./");
    avm1::DisplayNode* parent =
        dot == std::string::npos ? nullptr : vm.resolveTarget(from, path.substr(0, dot));
    avm1::Object* field =
        parent ? parent->childObject(vm, path.substr(dot + 1), vm.caseSensitive()) : nullptr;
    key = field && !field->asClip() ? static_cast<const void*>(field) : nullptr;
  }
  return key != nullptr;
}

std::shared_ptr<sound::SoundClip> SoundObject::clip() const {
  if (loaded) return loaded;
  return attached ? scripts.engine().clip(attached) : nullptr;
}

double SoundObject::durationMs() const {
  auto c = clip();
  return c ? std::floor(c->durationSeconds() * 1000) : 0;
}

double SoundObject::positionMs() const {
  auto& e = scripts.engine();
  if (!e.isPlaying(voice)) return lastPositionMs;
  return std::floor(offsetMs + e.positionSeconds(voice) * 1000);
}

void SoundObject::notePosition() { lastPositionMs = positionMs(); }

namespace {

SoundObject* soundOf(Object* self) { return dynamic_cast<SoundObject*>(self); }

// Settings are kept as the whole numbers scripts gave (the mixer bounds what it applies).
double level(Vm& vm, const Value& v) { return double(vm.toInt32(v)); }

// The settings of the object's owner; false when its clip is gone.
bool settings(Vm& vm, SoundObject* s, const void*& key, sound::SoundTransform& t) {
  if (!s || !s->owner(vm, key)) return false;
  t = s->scripts.engine().transform(key);
  return true;
}

Value soundCtor(Vm& vm, Object* self, Args args) {
  SoundObject* s = soundOf(self);
  if (!vm.isConstructing || !s) return Value();
  Value t = args.at(0);
  // No target is the whole movie; so is undefined in SWF 5.
  if (args.n == 0 || (t.isUndefined() && vm.version() < 6)) return Value();
  // Anything else names a clip, found again at every use: undefined (from SWF 6) stands for
  // "", the clip running the code.
  s->target = SoundObject::Target::Clip;
  TextFieldInstance* field = t.object() ? textFieldOf(t.o) : nullptr;
  if (avm1::ClipObject* c = t.object() ? t.o->asClip() : nullptr) {
    s->path = c->node() ? vm.targetPathOf(c->node()) : c->targetPath();
  } else if (SpriteInstance* parent = field ? field->parentTimeline() : nullptr) {
    // By its path, which SWF 5 code cannot ask the field for.
    s->path = vm.targetPathOf(parent) + "." + field->name;
  } else {
    s->path = t.isUndefined() ? std::string() : vm.toString(t);
    s->base = vm.currentClip();
  }
  return Value();
}

Object* allocateSound(Vm& vm) {
  auto* host = dynamic_cast<ScriptHost*>(&vm.host());
  return host ? static_cast<Object*>(vm.make<SoundObject>(host->sounds())) : vm.make<Object>();
}

Value attachSound(Vm& vm, Object* self, Args args) {
  if (SoundObject* s = soundOf(self)) {
    s->attached = s->scripts.engine().exportedSound(vm.toString(args.at(0)));
    if (s->attached) s->loaded.reset();
  }
  return Value();
}

Value start(Vm& vm, Object* self, Args args) {
  SoundObject* s = soundOf(self);
  const void* key = nullptr;
  if (!s || !s->owner(vm, key) || !s->clip()) return Value();
  // Every pass of the loops starts at the offset.
  double offset = vm.toNumber(args.at(0));
  offset = offset > 0 ? std::min(offset, 86400.0) : 0;
  double loops = vm.toNumber(args.at(1));
  sound::SoundInfo info;
  info.loops = loops >= 1 ? int(std::min(loops, 65535.0)) : 1;
  info.inPoint = uint32_t(offset * 44100);
  auto& e = s->scripts.engine();
  s->notePosition();
  s->voice = s->loaded ? e.start(s->loaded, info, key) : e.start(s->attached, info, key);
  s->offsetMs = std::floor(offset * 1000);
  s->lastPositionMs = 0;
  if (s->voice) s->scripts.watch(s->voice, s);
  return Value();
}

Value stop(Vm& vm, Object* self, Args args) {
  SoundObject* s = soundOf(self);
  const void* key = nullptr;
  if (!s || !s->owner(vm, key)) return Value();
  auto& e = s->scripts.engine();
  s->notePosition();
  bool all = s->target == SoundObject::Target::Movie;
  if (args.n > 0 && !args.at(0).isUndefined()) {
    uint16_t id = e.exportedSound(vm.toString(args.at(0)));
    if (id && all)
      e.stopSound(id);
    else if (id)
      e.stopSound(id, key);
  } else if (all) {
    e.stopAll();
  } else {
    e.stopOwner(key);
  }
  return Value();
}

Value getVolume(Vm& vm, Object* self, Args) {
  const void* key;
  sound::SoundTransform t;
  return settings(vm, soundOf(self), key, t) ? Value(t.volume) : Value();
}

Value setVolume(Vm& vm, Object* self, Args args) {
  const void* key;
  sound::SoundTransform t;
  SoundObject* s = soundOf(self);
  if (!settings(vm, s, key, t)) return Value();
  t.volume = level(vm, args.at(0));
  s->scripts.engine().setTransform(key, t);
  return Value();
}

// How far the left channel was turned down (to the right), else how far the right one was.
double panOf(const sound::SoundTransform& t) {
  double left = std::fabs(t.ll);
  return left != 100 ? 100 - left : std::fabs(t.rr) - 100;
}

Value getPan(Vm& vm, Object* self, Args) {
  const void* key;
  sound::SoundTransform t;
  return settings(vm, soundOf(self), key, t) ? Value(panOf(t)) : Value();
}

Value setPan(Vm& vm, Object* self, Args args) {
  const void* key;
  sound::SoundTransform t;
  SoundObject* s = soundOf(self);
  if (!settings(vm, s, key, t)) return Value();
  double pan = level(vm, args.at(0));
  t.ll = pan > 0 ? 100 - pan : 100;
  t.rr = pan < 0 ? 100 + pan : 100;
  t.lr = t.rl = 0;
  s->scripts.engine().setTransform(key, t);
  return Value();
}

constexpr const char* kChannels[4] = {"ll", "lr", "rl", "rr"};
double sound::SoundTransform::*const kChannelFields[4] = {
    &sound::SoundTransform::ll, &sound::SoundTransform::lr, &sound::SoundTransform::rl,
    &sound::SoundTransform::rr};

Value getTransform(Vm& vm, Object* self, Args) {
  const void* key;
  sound::SoundTransform t;
  if (!settings(vm, soundOf(self), key, t)) return Value();
  Object* o = vm.newObject();
  for (int i = 0; i < 4; ++i) vm.put(o, kChannels[i], Value(t.*kChannelFields[i]));
  return Value(o);
}

Value setTransform(Vm& vm, Object* self, Args args) {
  const void* key;
  sound::SoundTransform t;
  SoundObject* s = soundOf(self);
  Object* from = args.at(0).object();
  if (!from || !settings(vm, s, key, t)) return Value();
  // Only the object's own values count: inherited ones are ignored, and a getter is not run
  // (its property reads as undefined, which is 0).
  // They are read ll, lr, rr, rl, as the original converts them.
  for (int i : {0, 1, 3, 2})
    if (avm1::Property* p = vm.findOwn(from, vm.key(kChannels[i])))
      t.*kChannelFields[i] = level(vm, p->value);
  s->scripts.engine().setTransform(key, t);
  return Value();
}

Value getDuration(Vm&, Object* self, Args) {
  SoundObject* s = soundOf(self);
  return s && s->clip() ? Value(s->durationMs()) : Value();
}

Value getPosition(Vm&, Object* self, Args) {
  SoundObject* s = soundOf(self);
  return s && s->clip() ? Value(s->positionMs()) : Value();
}

Value getBytesLoaded(Vm&, Object* self, Args) {
  SoundObject* s = soundOf(self);
  return s && s->bytesLoaded ? Value(*s->bytesLoaded) : Value();
}

Value getBytesTotal(Vm&, Object* self, Args) {
  SoundObject* s = soundOf(self);
  return s && s->bytesTotal ? Value(*s->bytesTotal) : Value();
}

Value loadSound(Vm& vm, Object* self, Args args) {
  SoundObject* s = soundOf(self);
  const void* key = nullptr;
  if (!s || !s->owner(vm, key)) return Value();  // a Sound whose clip is gone stays so
  auto& e = s->scripts.engine();
  // From now on the object has a sound and settings of its own, fresh with every load.
  if (s->target == SoundObject::Target::Own) {
    e.stopOwner(s);
    e.ownerGone(s);
  }
  s->target = SoundObject::Target::Own;
  s->base = nullptr;
  s->attached = 0;
  s->loaded.reset();
  s->voice = 0;
  s->lastPositionMs = s->offsetMs = 0;
  s->bytesLoaded.reset();
  s->bytesTotal.reset();
  ++s->loads;
  s->scripts.load(s, vm.toString(args.at(0)), vm.toBoolean(args.at(1)));
  return Value();
}

Value nothing(Vm&, Object*, Args) { return Value(); }
Value areSoundsInaccessible(Vm&, Object*, Args) { return Value(false); }

}  // namespace

void installSound(Vm& vm) {
  Object* p = vm.newObject();
  constexpr uint16_t kMethod = avm1::DontEnum | avm1::DontDelete | avm1::ReadOnly;
  constexpr uint16_t kFrom6 = kMethod | avm1::Version6;
  vm.define(p, "attachSound", attachSound, kMethod);
  vm.define(p, "start", start, kMethod);
  vm.define(p, "stop", stop, kMethod);
  vm.define(p, "getVolume", getVolume, kMethod);
  vm.define(p, "setVolume", setVolume, kMethod);
  vm.define(p, "getPan", getPan, kMethod);
  vm.define(p, "setPan", setPan, kMethod);
  vm.define(p, "getTransform", getTransform, kMethod);
  vm.define(p, "setTransform", setTransform, kMethod);
  vm.define(p, "getDuration", getDuration, kFrom6);
  vm.define(p, "setDuration", nothing, kFrom6);
  vm.define(p, "getPosition", getPosition, kFrom6);
  vm.define(p, "setPosition", nothing, kFrom6);
  vm.define(p, "loadSound", loadSound, kFrom6);
  vm.define(p, "getBytesLoaded", getBytesLoaded, kFrom6);
  vm.define(p, "getBytesTotal", getBytesTotal, kFrom6);
  vm.define(p, "areSoundsInaccessible", areSoundsInaccessible, kMethod | avm1::Version9);
  // Policy files concern web servers; movies here load only local files: the property reads
  // undefined and takes no value.
  vm.put(p, "checkPolicyFile", Value(), avm1::DontEnum | avm1::DontDelete);
  vm.findOwn(p, vm.intern("checkPolicyFile"))->getter = vm.newNative(nothing);
  vm.defineClass("Sound", soundCtor, p, allocateSound);
  vm.setAllFlags(p, avm1::ReadOnly);
}

}  // namespace swf
