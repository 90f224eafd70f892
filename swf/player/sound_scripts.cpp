#include "swf/player/sound_scripts.h"

#include <filesystem>
#include <fstream>

#include "swf/avm1/builtins/native_support.h"
#include "swf/player/local_address.h"
#include "swf/player/player.h"
#include "swf/player/sound_object.h"
#include "swf/sound/id3_tags.h"
#include "swf/sound/sound_clip.h"

namespace swf {

using avm1::Value;

namespace {

// Calls the object's handler `name`, if it has one, as an event from outside any script.
void callHandler(avm1::Vm& vm, avm1::Object* o, const char* name, std::span<const Value> args) {
  if (!vm.frames.empty()) return;
  Value fn = vm.get(o, vm.intern(name));
  if (!avm1::isCallable(fn)) return;
  vm.blockStart = std::chrono::steady_clock::now();
  try {
    vm.call(fn, o, args);
  } catch (const avm1::ScriptThrow&) {
  } catch (const avm1::ScriptAbort&) {
  }
  vm.stack.clear();
  vm.maybeCollect();
}

// The whole file, when it is a regular file of a size we take; nothing otherwise.
std::shared_ptr<std::vector<uint8_t>> readSoundFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (path.empty() || !fs::is_regular_file(path, ec)) return nullptr;
  uintmax_t size = fs::file_size(path, ec);
  if (ec || size == 0 || size > SoundScripts::kMaxFileBytes) return nullptr;
  auto bytes = std::make_shared<std::vector<uint8_t>>(size_t(size));
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(bytes->data()), std::streamsize(size))) return nullptr;
  return bytes;
}

}  // namespace

sound::SoundEngine& SoundScripts::engine() { return player_.sound(); }

void SoundScripts::watch(sound::SoundEngine::VoiceId voice, SoundObject* o) { watched_[voice] = o; }

void SoundScripts::load(SoundObject* o, std::string url, bool streaming) {
  loads_.push_back({o, o->loads, std::move(url), streaming});
}

void SoundScripts::deliver(avm1::Vm& vm) {
  // Loads asked for by the handlers below wait for the next time.
  size_t n = loads_.size();
  for (size_t i = 0; i < n; ++i) finishLoad(vm, Load(loads_[i]));
  loads_.erase(loads_.begin(), loads_.begin() + long(n));

  // Sounds that ended; those stopped, or given way to newer ones, end nothing.
  std::erase_if(watched_, [&](const auto& w) {
    if (engine().isPlaying(w.first)) return false;
    if (engine().takeFinished(w.first)) ended_.push_back(w);
    return true;
  });
  for (auto [v, o] : ended_) {
    if (o->voice == v) o->lastPositionMs = o->durationMs();
    callHandler(vm, o, "onSoundComplete", {});
  }
  ended_.clear();
}

void SoundScripts::finishLoad(avm1::Vm& vm, const Load& l) {
  SoundObject* o = l.object;
  if (o->loads != l.generation) return;  // loadSound was called again since
  avm1::Vm::Pin pin(vm, Value(static_cast<avm1::Object*>(o)));
  auto bytes = readSoundFile(localFileFor(player_.path(), l.url));
  std::shared_ptr<sound::SoundClip> clip;
  if (bytes) {
    clip = sound::SoundClip::fromMp3File(bytes);
    // A file with no MP3 frame in it is not a sound.
    if (clip->ensure(1) == 0) clip.reset();
  }
  if (!clip) {
    Value no(false);
    callHandler(vm, o, "onLoad", {&no, 1});
    return;
  }
  o->loaded = clip;
  o->bytesLoaded = o->bytesTotal = double(bytes->size());
  if (auto tags = sound::readId3(*bytes); !tags.empty()) {
    avm1::Object* id3 = vm.newObject();
    for (const auto& f : tags) vm.put(id3, f.name, Value(vm.str(f.value)));
    vm.put(o, "id3", Value(id3));
    callHandler(vm, o, "onID3", {});
  }
  if (l.streaming && o->loads == l.generation) {
    o->voice = engine().start(clip, sound::SoundInfo{}, o);
    if (o->voice) watch(o->voice, o);
  }
  Value yes(true);
  callHandler(vm, o, "onLoad", {&yes, 1});
}

void SoundScripts::traceRoots(avm1::Tracer& t) const {
  for (const auto& [v, o] : watched_) t.mark(o);
  for (const auto& [v, o] : ended_) t.mark(o);
  for (const Load& l : loads_) t.mark(l.object);
}

}  // namespace swf
