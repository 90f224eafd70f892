// NetConnection, NetStream and Video: FLV files played from scripts onto video objects.

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "swf/avm1/builtins/native_support.h"
#include "swf/avm1/builtins/registry.h"
#include "swf/avm1/script_stream.h"
#include "swf/video/flv_playback.h"
#include "swf/video/video_instance.h"

namespace swf::avm1 {
namespace {

class NetStreamObject : public Object, public ScriptStream {
 public:
  explicit NetStreamObject(VmHost& host) : host_(host) {}
  ~NetStreamObject() override { stopRunning(); }

  std::unique_ptr<FlvPlayback> playback;
  double bufferTime = 0.1;

  // From play() or seek() until close(), the player moves the stream on with its clock.
  void startRunning(double nowMs) {
    if (running_) return;
    running_ = true;
    lastMs_ = nowMs;
    host_.startStream(this);
  }
  void stopRunning() {
    if (running_) host_.stopStream(this);
    running_ = false;
  }

  Object* streamObject() override { return this; }
  void advanceTo(double nowMs) override {
    if (!playback) return;
    playback->advance(nowMs - lastMs_);
    lastMs_ = nowMs;
  }
  void runFrame(Vm& vm, double nowMs) override;

  bool getNative(Vm& vm, String* key, Value& out) override {
    const char* k = key->text.c_str();
    auto is = [k](const char* name) { return strcasecmp(k, name) == 0; };
    if (is("time")) {
      out = Value(playback ? playback->timeSeconds() : 0.0);
    } else if (is("bytesLoaded")) {
      out = Value(playback ? double(playback->bytesLoaded()) : 0.0);
    } else if (is("bytesTotal")) {
      out = Value(playback ? double(playback->bytesTotal()) : 0.0);
    } else if (is("bufferTime")) {
      out = Value(bufferTime);
    } else if (is("bufferLength")) {
      out = Value(playback ? std::min(playback->bufferLengthSeconds(), std::max(bufferTime, 0.1))
                           : 0.0);
    } else if (is("currentFps")) {
      out = Value(0);
    } else {
      return false;
    }
    (void)vm;
    return true;
  }

 private:
  VmHost& host_;
  bool running_ = false;
  double lastMs_ = 0;
};

NetStreamObject* streamOf(const Value& v) { return dynamic_cast<NetStreamObject*>(v.object()); }

VideoInstance* videoOf(Object* self) {
  ClipObject* c = self ? self->asClip() : nullptr;
  return c ? dynamic_cast<VideoInstance*>(c->node()) : nullptr;
}

Value fromAmf(Vm& vm, const AmfValue& a) {
  switch (a.type) {
    case AmfValue::Type::Number:
      return Value(a.number);
    case AmfValue::Type::Boolean:
      return Value(a.boolean);
    case AmfValue::Type::String:
      return text(vm, a.string);
    case AmfValue::Type::Null:
      return Value::null();
    case AmfValue::Type::Undefined:
      return Value();
    case AmfValue::Type::Date: {
      Value args[] = {Value(a.number)};
      return vm.construct(vm.get(vm.global, vm.intern("Date")), args);
    }
    case AmfValue::Type::StrictArray: {
      ArrayObject* arr = vm.newArray();
      Vm::Pin pin(vm, Value(static_cast<Object*>(arr)));
      for (const AmfValue& item : a.items) arr->items.push_back(fromAmf(vm, item));
      return Value(static_cast<Object*>(arr));
    }
    case AmfValue::Type::Object:
    case AmfValue::Type::Array: {
      Object* o = vm.newObject();
      Vm::Pin pin(vm, Value(o));
      for (const auto& [name, v] : a.properties) vm.put(o, name, fromAmf(vm, v));
      return Value(o);
    }
  }
  return Value();
}

void deliverStatus(Vm& vm, NetStreamObject* ns, const FlvEvent& e) {
  Object* info = vm.newObject();
  Vm::Pin pin(vm, Value(info));
  vm.put(info, "code", text(vm, e.code));
  vm.put(info, "level", text(vm, e.level));
  Value arg[] = {Value(info)};
  Value handler = vm.get(ns, vm.intern("onStatus"));
  if (isCallable(handler)) {
    vm.call(handler, ns, arg);
    return;
  }
  // Without a handler of its own the stream's news goes to System.onStatus.
  if (Object* system = vm.get(vm.global, vm.intern("System")).object())
    vm.callMethod(system, vm.intern("onStatus"), arg);
}

void deliverScript(Vm& vm, NetStreamObject* ns, const FlvEvent& e) {
  std::vector<Value> args;
  for (const AmfValue& a : e.args) args.push_back(fromAmf(vm, a));
  std::vector<std::unique_ptr<Vm::Pin>> pins;
  for (const Value& v : args) pins.push_back(std::make_unique<Vm::Pin>(vm, v));
  vm.callMethod(ns, vm.intern(e.name), args);
}

// Each handler runs as an event of its own: one that throws or overruns leaves the others be.
void deliver(Vm& vm, NetStreamObject* ns) {
  Vm::Pin pin(vm, Value(static_cast<Object*>(ns)));  // a handler may close the stream
  for (const FlvEvent& e : ns->playback->takeEvents()) {
    vm.blockStart = std::chrono::steady_clock::now();
    try {
      if (e.kind == FlvEvent::Kind::Status)
        deliverStatus(vm, ns, e);
      else
        deliverScript(vm, ns, e);
    } catch (const ScriptThrow&) {
    } catch (const ScriptAbort&) {
    }
    vm.stack.clear();
  }
}

void NetStreamObject::runFrame(Vm& vm, double nowMs) {
  if (!playback) return;
  // What play() and seek() announced comes before the news of the new position. News the
  // handlers themselves cause (a play() from onStatus) waits for the next time, with all that
  // follows it.
  deliver(vm, this);
  if (!playback) return;
  bool heldBack = playback->hasEvents();
  advanceTo(nowMs);
  if (!heldBack) deliver(vm, this);
}

Object* allocateNetStream(Vm& vm) { return vm.make<NetStreamObject>(vm.host()); }

Value netStreamCtor(Vm& vm, Object* self, Args) {
  if (auto* ns = dynamic_cast<NetStreamObject*>(self))
    ns->playback = std::make_unique<FlvPlayback>(vm.host().soundEngine());
  return Value();
}

Value nsPlay(Vm& vm, Object* self, Args args) {
  auto* ns = dynamic_cast<NetStreamObject*>(self);
  if (!ns || !ns->playback || args.size() == 0) return Value();
  std::string url = vm.toString(args.at(0));
  // The file is found as for other loading; web addresses and FSCommands give no path and are
  // refused quietly. A plain name that gives none (a movie kept from the disk) is not found.
  std::string path = vm.host().localPath(url);
  if (path.empty() && url.find(':') != std::string::npos) return Value();
  ns->playback->play(path);
  ns->startRunning(vm.host().timerMs());
  return Value();
}

Value nsPause(Vm& vm, Object* self, Args args) {
  auto* ns = dynamic_cast<NetStreamObject*>(self);
  if (!ns || !ns->playback) return Value();
  bool on = args.size() == 0 || args.at(0).isUndefined() ? !ns->playback->paused()
                                                         : vm.toBoolean(args.at(0));
  ns->playback->pause(on);
  return Value();
}

Value nsSeek(Vm& vm, Object* self, Args args) {
  auto* ns = dynamic_cast<NetStreamObject*>(self);
  if (!ns || !ns->playback) return Value();
  ns->playback->seek(vm.toNumber(args.at(0)));
  ns->startRunning(vm.host().timerMs());
  return Value();
}

Value nsClose(Vm&, Object* self, Args) {
  auto* ns = dynamic_cast<NetStreamObject*>(self);
  if (!ns || !ns->playback) return Value();
  ns->playback->close();
  ns->stopRunning();
  return Value();
}

Value nsSetBufferTime(Vm& vm, Object* self, Args args) {
  auto* ns = dynamic_cast<NetStreamObject*>(self);
  double t = vm.toNumber(args.at(0));
  if (ns && std::isfinite(t)) ns->bufferTime = std::max(t, 0.0);
  return Value();
}

Value netConnectionCtor(Vm& vm, Object* self, Args) {
  if (self) vm.put(self, "isConnected", Value(false), DontEnum);
  return Value();
}

// Only the null connection (local files) exists here.
Value ncConnect(Vm& vm, Object* self, Args args) {
  bool local = args.size() > 0 && (args.at(0).isNull() || args.at(0).isUndefined());
  if (!self) return Value(local);
  vm.put(self, "isConnected", Value(local), DontEnum);
  // The null connection is made at once, and says so before connect returns.
  Value handler = vm.get(self, vm.intern("onStatus"));
  if (local && isCallable(handler)) {
    Object* info = vm.newObject();
    Vm::Pin pin(vm, Value(info));
    vm.put(info, "code", Value(vm.intern("NetConnection.Connect.Success")));
    vm.put(info, "level", Value(vm.intern("status")));
    Value arg[] = {Value(info)};
    vm.call(handler, self, arg);
  }
  return Value(local);
}

Value videoCtor(Vm&, Object*, Args) { return Value(); }

Value videoAttach(Vm&, Object* self, Args args) {
  VideoInstance* v = videoOf(self);
  if (!v) return Value();
  NetStreamObject* ns = streamOf(args.at(0));
  v->attach(ns && ns->playback ? ns->playback->feed() : nullptr);
  return Value();
}

Value videoClear(Vm&, Object* self, Args) {
  if (VideoInstance* v = videoOf(self)) v->clear();
  return Value();
}

}  // namespace

void installNetStream(Vm& vm) {
  constexpr uint16_t kHidden = DontEnum | DontDelete;
  Object* nc = vm.newObject();
  vm.define(nc, "connect", ncConnect, kHidden);
  vm.defineClass("NetConnection", netConnectionCtor, nc);

  Object* ns = vm.newObject();
  vm.define(ns, "play", nsPlay, kHidden);
  vm.define(ns, "pause", nsPause, kHidden);
  vm.define(ns, "seek", nsSeek, kHidden);
  vm.define(ns, "close", nsClose, kHidden);
  vm.define(ns, "setBufferTime", nsSetBufferTime, kHidden);
  vm.defineClass("NetStream", netStreamCtor, ns, allocateNetStream);

  Object* video = vm.newObject();
  vm.define(video, "attachVideo", videoAttach, kHidden);
  vm.define(video, "clear", videoClear, kHidden);
  vm.defineClass("Video", videoCtor, video);
}

}  // namespace swf::avm1
