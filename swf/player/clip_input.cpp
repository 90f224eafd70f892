// Mouse and key events for movie clips: the broadcast ones every clip hears (onClipEvent
// mouseDown/Up/Move and keyDown/Up, onMouseDown/Up/Move) and the button-like ones of the topmost
// clip with a press or roll handler under the pointer (onPress, onRelease, onRollOver, ...).

#include "swf/player/clip_input.h"

#include "swf/avm1/vm.h"
#include "swf/player/matrix_math.h"
#include "swf/player/sprite_instance.h"

namespace swf {
namespace {

constexpr int kMaxWalk = 256;

const char* const kButtonHandlers[] = {"onPress",   "onRelease",  "onReleaseOutside", "onRollOver",
                                       "onRollOut", "onDragOver", "onDragOut"};
constexpr uint32_t kButtonEvents = kEventPress | kEventRelease | kEventReleaseOutside |
                                   kEventRollOver | kEventRollOut | kEventDragOver | kEventDragOut;

bool isFunction(const avm1::Value& v) { return v.object() && v.o->isFunction(); }

void forEachSprite(DisplayObject& o, const std::function<void(SpriteInstance&)>& fn, int nesting) {
  if (nesting > kMaxWalk) return;
  if (auto* s = dynamic_cast<SpriteInstance*>(&o)) fn(*s);
  for (auto& [d, child] : o.children) forEachSprite(*child, fn, nesting + 1);
}

}  // namespace

bool ClipInput::actsAsButton(SpriteInstance& s) {
  for (const ClipEvent& e : s.clipEvents)
    if (e.flags & kButtonEvents) return true;
  if (!s.scriptObject) return false;
  for (const char* h : kButtonHandlers)
    if (isFunction(vm_.get(s.scriptObject, vm_.intern(h)))) return true;
  return false;
}

bool ClipInput::enabled(SpriteInstance& s) {
  if (!s.scriptObject) return true;
  avm1::Value v = vm_.get(s.scriptObject, vm_.intern("enabled"));
  return v.isUndefined() || vm_.toBoolean(v);
}

bool ClipInput::hits(SpriteInstance& s, double x, double y) {
  // A hitArea clip answers for it.
  if (s.scriptObject) {
    avm1::Value h = vm_.get(s.scriptObject, vm_.intern("hitArea"));
    avm1::ClipObject* c = h.object() ? h.o->asClip() : nullptr;
    if (auto* area = c ? dynamic_cast<SpriteInstance*>(c->node()) : nullptr)
      return area->hitTestPoint(x / 20, y / 20, true);
  }
  return s.hitTestPoint(x / 20, y / 20, true);
}

SpriteInstance* ClipInput::buttonAt(DisplayObject& o, double x, double y, int nesting) {
  if (nesting > kMaxWalk) return nullptr;
  for (auto it = o.children.rbegin(); it != o.children.rend(); ++it) {
    auto* s = dynamic_cast<SpriteInstance*>(it->second.get());
    if (!s || !s->visible || s->clipDepth) continue;
    if (actsAsButton(*s)) {
      if (enabled(*s) && hits(*s, x, y)) return s;
      continue;  // what a button-like clip holds is part of it
    }
    if (SpriteInstance* inner = buttonAt(*s, x, y, nesting + 1)) return inner;
  }
  return nullptr;
}

void ClipInput::send(SpriteInstance* s, uint32_t flag, const char* handler) {
  if (s) s->queueEvent(flag, handler);
}

void ClipInput::pointer(const std::vector<SpriteInstance*>& roots, double x, double y, bool down,
                        bool up) {
  // Every clip hears the pointer's moves and clicks.
  uint32_t flag = down ? kEventMouseDown : up ? kEventMouseUp : kEventMouseMove;
  const char* handler = down ? "onMouseDown" : up ? "onMouseUp" : "onMouseMove";
  for (SpriteInstance* r : roots)
    forEachSprite(
        *r,
        [&](SpriteInstance& s) {
          bool listens = s.scriptObject != nullptr;
          for (const ClipEvent& e : s.clipEvents) listens |= (e.flags & flag) != 0;
          if (listens) s.queueEvent(flag, s.scriptObject ? handler : nullptr);
        },
        0);

  SpriteInstance* hit = nullptr;
  for (auto it = roots.rbegin(); it != roots.rend() && !hit; ++it) hit = buttonAt(**it, x, y, 0);
  SpriteInstance* hovered = hoveredAlive_.expired() ? nullptr : hovered_;
  SpriteInstance* pressed = pressedAlive_.expired() ? nullptr : pressed_;
  auto setHovered = [&](SpriteInstance* s) {
    hovered_ = s;
    hoveredAlive_ = s ? s->lifeToken() : std::weak_ptr<const char>();
  };
  if (pressed) {
    if (up) {
      if (hit == pressed) {
        send(pressed, kEventRelease, "onRelease");
      } else {
        send(pressed, kEventReleaseOutside, "onReleaseOutside");
        setHovered(hit);
        send(hit, kEventRollOver, "onRollOver");
      }
      pressed_ = nullptr;
      pressedAlive_.reset();
    } else if (hit == pressed && !pressedOver_) {
      pressedOver_ = true;
      send(pressed, kEventDragOver, "onDragOver");
    } else if (hit != pressed && pressedOver_) {
      pressedOver_ = false;
      send(pressed, kEventDragOut, "onDragOut");
    }
    return;
  }
  if (hit != hovered) {
    send(hovered, kEventRollOut, "onRollOut");
    setHovered(hit);
    send(hit, kEventRollOver, "onRollOver");
  }
  if (down && hit) {
    pressed_ = hit;
    pressedAlive_ = hit->lifeToken();
    pressedOver_ = true;
    send(hit, kEventPress, "onPress");
  }
}

void ClipInput::key(const std::vector<SpriteInstance*>& roots, bool down, int code) {
  uint32_t flag = down ? kEventKeyDown : kEventKeyUp;
  for (SpriteInstance* r : roots)
    forEachSprite(
        *r,
        [&](SpriteInstance& s) {
          for (const ClipEvent& e : s.clipEvents)
            if ((e.flags & flag) || (down && (e.flags & kEventKeyPress) && e.keyCode == code))
              s.queueActions(e.actions);
        },
        0);
}

}  // namespace swf
