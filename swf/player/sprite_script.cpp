// A sprite as scripts see it: navigation, properties by number, frames and labels.

#include <strings.h>

#include <cmath>
#include <numbers>

#include "swf/avm1/vm.h"
#include "swf/movie/movie.h"
#include "swf/movie/sprite.h"
#include "swf/player/placed_properties.h"
#include "swf/player/sprite_instance.h"
#include "swf/render/bounds.h"

namespace swf {
namespace {

// The sprite among `parent`'s children called `name`, looking into the holders of depths that
// several objects share.
avm1::DisplayNode* findNamedSprite(DisplayObject& parent, const std::string& name,
                                   bool caseSensitive) {
  for (auto& [depth, child] : parent.children) {
    if (static_cast<PlacedObject&>(*child).holdsStack) {
      if (auto* s = findNamedSprite(*child, name, caseSensitive)) return s;
      continue;
    }
    bool same =
        caseSensitive ? child->name == name : strcasecmp(child->name.c_str(), name.c_str()) == 0;
    if (same)
      if (auto* s = dynamic_cast<avm1::DisplayNode*>(child.get())) return s;
  }
  return nullptr;
}

}  // namespace

std::string slashPathOf(const SpriteInstance* s) {
  std::string out;
  while (s && s->parentTimeline()) {
    out = "/" + s->name + out;
    s = s->parentTimeline();
  }
  return out.empty() ? "/" : out;
}

avm1::DisplayNode* SpriteInstance::childNode(const std::string& name, bool caseSensitive) {
  return findNamedSprite(*this, name, caseSensitive);
}

namespace {
void namedSprites(DisplayObject& parent, std::vector<std::string>& out) {
  for (auto& [depth, child] : parent.children) {
    if (static_cast<PlacedObject&>(*child).holdsStack) {
      namedSprites(*child, out);
      continue;
    }
    if (!child->name.empty() && dynamic_cast<avm1::DisplayNode*>(child.get()))
      out.push_back(child->name);
  }
}
}  // namespace

void SpriteInstance::childNames(std::vector<std::string>& out) { namedSprites(*this, out); }

avm1::DisplayNode* SpriteInstance::rootNode() {
  // `_lockroot` is a Flash 7 setting: SWF 6 code heeds it only on clips that a movie of
  // version 7 or later holds.
  bool heedAll = ctx_.vm && ctx_.vm->version() >= 7;
  SpriteInstance* s = this;
  for (; s->parentTimeline(); s = s->parentTimeline()) {
    if (!s->lockRoot) continue;
    const Movie* movie = ctx_.homeOf(s->parentTimeline()).movie;
    if (heedAll || (movie && movie->version >= 7)) return s;
  }
  return s;
}

SpriteInstance* SpriteInstance::levelTop() {
  SpriteInstance* s = this;
  while (s->parentTimeline()) s = s->parentTimeline();
  return s;
}

bool SpriteInstance::getNodeProperty(avm1::Vm&, avm1::String* key, avm1::Value& out) {
  if (strcasecmp(key->text.c_str(), "_lockroot") != 0) return false;
  out = avm1::Value(lockRoot);
  return true;
}

bool SpriteInstance::setNodeProperty(avm1::Vm& vm, avm1::String* key, const avm1::Value& v) {
  if (strcasecmp(key->text.c_str(), "_lockroot") != 0) return false;
  lockRoot = vm.toBoolean(v);
  return true;
}

void SpriteInstance::gotoFrame(int frame, bool play) {
  gotoFrame(frame);
  playing_ = play;
}

bool SpriteInstance::gotoLabel(const std::string& label, bool play) {
  int frame = timeline_.findLabel(label);
  if (frame < 0) return false;
  gotoFrame(frame, play);
  return true;
}

int SpriteInstance::totalFrames() const {
  // A sprite whose header says it has no frames counts none, though it shows one.
  auto* def = dynamic_cast<const SpriteCharacter*>(character.get());
  return def && def->declaredFrameCount == 0 ? 0 : frameCount();
}

int SpriteInstance::framesLoaded() const {
  // A movie arrives a piece at a time: in the frame it comes in, only the frames within its
  // first piece are there.
  constexpr size_t kFirstPiece = 65536;
  if (parentTimeline() || createdTick() != ctx_.tick) return totalFrames();
  int loaded = 1;
  while (loaded < frameCount() && timeline_.frames[size_t(loaded)].endOffset <= kFirstPiece)
    ++loaded;
  return loaded;
}

std::vector<std::span<const uint8_t>> SpriteInstance::frameCode(int frame) {
  if (frame < 0 || frame >= frameCount()) return {};
  return timeline_.frames[size_t(frame)].actions;
}

std::shared_ptr<const void> SpriteInstance::codeOwner() const {
  const SpriteInstance* s = this;
  while (s->parentTimeline() && !ctx_.loadedMovies.count(s)) s = s->parentTimeline();
  auto it = ctx_.levelData.find(s);
  return it == ctx_.levelData.end() ? nullptr : it->second;
}

void SpriteInstance::queueEvent(uint32_t flag, const char* handler) {
  auto queue = [&](QueuedActions q) {
    // A clip taken away still hears of its load and unload, if nothing else.
    q.afterRemoval = flag == kEventUnload || flag == kEventLoad;
    if (flag == kEventInitialize)
      ctx_.initQueue.push_back(q);
    else if (flag == kEventConstruct)
      ctx_.constructQueue.push_back(q);
    else if (flag == kEventUnload)
      ctx_.queueUnload(q);
    else
      ctx_.actions.push_back(q);
  };
  for (const ClipEvent& e : clipEvents)
    if (e.flags & flag) queue({lifeToken(), this, e.actions, nullptr});
  if (handler) queue({lifeToken(), this, {}, handler});
}

avm1::Value SpriteInstance::getProperty(avm1::Vm& vm, int index) {
  using avm1::Value;
  if (Value v; getPlacedProperty(vm, *this, index, v)) return v;
  switch (index) {
    case avm1::PropCurrentFrame:
      return Value(std::max(frame_, 0) + 1);
    case avm1::PropTotalFrames:
      return Value(totalFrames());
    case avm1::PropFramesLoaded:
      return Value(framesLoaded());
    case avm1::PropTarget:
      return Value(vm.str(slashPathOf(this)));
    case avm1::PropDropTarget:
      return Value(vm.str(dropTarget));
    case avm1::PropXMouse:
    case avm1::PropYMouse: {
      double x = ctx_.mouseX / 20, y = ctx_.mouseY / 20;
      globalToLocal(x, y);
      return Value(index == avm1::PropXMouse ? x : y);
    }
    case avm1::PropUrl:
      return Value(vm.str(movieUrl()));
    case avm1::PropHighQuality:
      return Value(1);
    case avm1::PropFocusRect: {
      if (focusRect < 0 && parentTimeline()) return Value::null();
      bool on = focusRect != 0;
      // SWF 5 had no booleans for it yet: it reads as 1 or 0.
      return vm.version() < 6 ? Value(on ? 1 : 0) : Value(on);
    }
    case avm1::PropSoundBufTime:
      return Value(5);
    case avm1::PropQuality:
      return Value(vm.intern("HIGH"));
    default:
      return Value(0);
  }
}

void SpriteInstance::setProperty(avm1::Vm& vm, int index, const avm1::Value& v) {
  if (index == avm1::PropFocusRect) {
    // undefined and null change nothing. A level's root takes a number (not one: no change),
    // other clips a boolean.
    if (v.isUndefined() || v.isNull()) return;
    if (!parentTimeline()) {
      double d = vm.toNumber(v);
      if (!std::isnan(d)) focusRect = d != 0;
    } else {
      focusRect = vm.toBoolean(v);
    }
    return;
  }
  if (index != avm1::PropName) {
    setPlacedProperty(vm, *this, index, v);
    return;
  }
  // References made before keep the old path: once this clip is gone they find the clip of
  // that path, not one of the new name.
  name = vm.toString(v);
  ctx_.changed = true;
}

}  // namespace swf
