#pragma once
// Pointer and key events as movie clips receive them; the player feeds it after its buttons.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "swf/player/display_object.h"

namespace swf {

namespace avm1 {
class Vm;
}
class SpriteInstance;

class ClipInput {
 public:
  explicit ClipInput(avm1::Vm& vm) : vm_(vm) {}

  // (x, y) in stage twips; `roots` are the levels' roots, lowest first.
  void pointer(const std::vector<SpriteInstance*>& roots, double x, double y, bool down, bool up);
  // A key went down or up: clip events keyDown/keyUp and the key-press events of its code.
  void key(const std::vector<SpriteInstance*>& roots, bool down, int code);

  // The clip under the pointer that takes press and roll events, if any.
  SpriteInstance* hovered() const { return hoveredAlive_.expired() ? nullptr : hovered_; }

 private:
  bool actsAsButton(SpriteInstance& s);
  bool enabled(SpriteInstance& s);
  bool hits(SpriteInstance& s, double x, double y);
  SpriteInstance* buttonAt(DisplayObject& o, double x, double y, int nesting);
  void send(SpriteInstance* s, uint32_t flag, const char* handler);

  avm1::Vm& vm_;
  SpriteInstance* hovered_ = nullptr;
  SpriteInstance* pressed_ = nullptr;
  std::weak_ptr<const char> hoveredAlive_, pressedAlive_;
  bool pressedOver_ = false;
};

}  // namespace swf
