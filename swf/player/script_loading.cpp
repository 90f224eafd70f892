// What scripts load through GetURL2 and the loading classes: variables into clips, movies into
// clips, web pages on a click. Everything arrives on a later frame through the machine's queue.

#include "swf/avm1/builtins/load_text.h"
#include "swf/avm1/load_queue.h"
#include "swf/io/local_file.h"
#include "swf/player/input_classes.h"
#include "swf/player/local_address.h"
#include "swf/player/player.h"
#include "swf/player/script_host.h"
#include "swf/player/sprite_instance.h"

namespace swf {
namespace {

// GetURL2's flags beside the send method.
constexpr int kLoadIntoTarget = 0x40;
constexpr int kLoadVariables = 0x80;

// A text field the target names: loadVariables fills it like a clip (but it hears no onData).
// Other objects a path reaches are passed by.
avm1::Object* textFieldTarget(avm1::Vm& vm, const std::string& target) {
  avm1::ClipObject* from = vm.currentClip();
  avm1::Object* o = from && !target.empty() ? vm.walkPath(from, from, target, false) : nullptr;
  return o && textFieldOf(o) ? o : nullptr;
}

// Whether the last name of `target` is a text field's. SWF 5 code sees such a name as the clip
// holding the field, so its variables go to that clip (which hears no onData for them).
bool namesField(avm1::Vm& vm, const std::string& target) {
  size_t cut = target.find_last_of("/:.");
  std::string holderPath = cut == std::string::npos ? std::string() : target.substr(0, cut);
  if (cut == 0) holderPath = "/";
  avm1::DisplayNode* holder = vm.resolveTarget(vm.currentClip(), holderPath);
  auto* sprite = dynamic_cast<SpriteInstance*>(holder);
  std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
  return sprite && !name.empty() && sprite->namedField(name, vm.caseSensitive());
}

}  // namespace

avm1::DisplayNode* ScriptHost::currentNode() {
  avm1::Vm* vm = player_.scripts();
  avm1::ClipObject* c = vm ? vm->currentClip() : nullptr;
  return c ? c->node() : nullptr;
}

std::string ScriptHost::localPath(const std::string& url) {
  return player_.localFileFor(url, currentNode());
}

std::string ScriptHost::movieAddress(const std::string& url) {
  return player_.movieAddress(url, currentNode());
}

avm1::DisplayNode* ScriptHost::loadMovieNow(avm1::DisplayNode* target, int level,
                                            const std::string& path, const std::string& address,
                                            std::string& error) {
  return player_.loadMovieNow(target, level, path, address, error);
}

std::string ScriptHost::sharedObjectDir() { return player_.sharedObjectDir(); }

bool ScriptHost::loadFromScript(const std::string& url, const std::string& target, int flags) {
  avm1::Vm* vm = player_.scripts();
  if (!vm) return true;
  int level = levelTargetNumber(target);
  // From SWF 7 on names keep their case: "_LEVEL1" names nothing.
  if (level >= 0 && vm->version() >= 7 && target.compare(0, 6, "_level") != 0) return true;
  // A movie replacing level 0 comes as soon as the running actions are done (loadLevel), before
  // anything more of the old movie runs.
  if (level == 0 && !url.empty() && !(flags & kLoadVariables)) return false;
  if (level >= 0 && !(flags & kLoadVariables)) {
    // A movie for a level (or an empty address, which empties it) comes on a later frame, with
    // the movies loaded into clips then.
    std::string path = url.empty() ? std::string() : localPath(url);
    if (!url.empty() && path.empty()) return true;  // web addresses are refused quietly
    avm1::LoadQueue::Job job;
    job.path = path;
    job.address = url.empty() ? std::string() : movieAddress(url);
    job.stage = level;
    job.run = [](avm1::Vm& vm, avm1::LoadQueue::Job& j) {
      std::string error;
      vm.host().loadMovieNow(nullptr, j.stage, j.path, j.address, error);
      return true;
    };
    vm->loads().add(std::move(job));
    return true;
  }
  if (!(flags & (kLoadIntoTarget | kLoadVariables))) {
    // A window target: a web page, opened by the desktop only while the user's click runs.
    if (isWebAddress(url) && player_.inUserGesture() && player_.onOpenUrl) player_.onOpenUrl(url);
    return true;
  }
  avm1::DisplayNode* node =
      level >= 0 ? player_.levelRoot(level) : vm->resolveTarget(vm->currentClip(), target);
  avm1::Object* field =
      !node && level < 0 && (flags & kLoadVariables) ? textFieldTarget(*vm, target) : nullptr;
  if (!node && !field && !(level > 0 && (flags & kLoadIntoTarget))) return true;
  bool quiet = field || (node && level < 0 && (flags & kLoadVariables) && vm->version() < 6 &&
                         namesField(*vm, target));

  std::string path = url.empty() ? std::string() : localPath(url);
  if (!url.empty() && path.empty()) return true;  // web addresses are refused quietly
  avm1::LoadQueue::Job job;
  job.target = node    ? avm1::Value(static_cast<avm1::Object*>(vm->clipFor(node)))
               : field ? avm1::Value(field)
                       : avm1::Value();
  job.path = path;
  if (!url.empty()) job.address = movieAddress(url);
  if (flags & kLoadVariables) {
    job.run = [quiet](avm1::Vm& vm, avm1::LoadQueue::Job& j) {
      avm1::Object* o = j.target.object();
      auto* clip = o ? o->asClip() : nullptr;
      auto* sprite = clip ? dynamic_cast<SpriteInstance*>(clip->node()) : nullptr;
      bool field = !clip && o && textFieldOf(o);
      std::string text, error;
      if ((!sprite && !field) || !readBoundedFile(j.path, avm1::kMaxLoadedText, text, error))
        return true;
      avm1::decodeUrlVariables(vm, o, text);
      if (sprite && !quiet) sprite->queueEvent(kEventData, "onData");
      return true;
    };
  } else {
    job.stage = level;  // the level a movie goes into when no clip is there yet
    job.run = [](avm1::Vm& vm, avm1::LoadQueue::Job& j) {
      auto* clip = j.target.object() ? j.target.object()->asClip() : nullptr;
      if (clip && !clip->alive()) return true;
      std::string error;
      vm.host().loadMovieNow(clip ? clip->node() : nullptr, j.stage, j.path, j.address, error);
      return true;
    };
  }
  vm->loads().add(std::move(job));
  return true;
}

}  // namespace swf
