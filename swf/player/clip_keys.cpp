// What a key does to clips and buttons: clip key events and the key-press conditions of buttons.

#include "swf/player/button_instance.h"
#include "swf/player/clip_input.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"

namespace swf {
namespace {

// The code a key-press condition names: the character typed, or one of the special keys.
int keyPressCode(int code, char32_t ch) {
  if (ch >= 32 && ch < 127) return int(ch);
  switch (code) {
    case 37:
      return 1;  // left
    case 39:
      return 2;  // right
    case 36:
      return 3;  // home
    case 35:
      return 4;  // end
    case 45:
      return 5;  // insert
    case 46:
      return 6;  // delete
    case 8:
      return 8;  // backspace
    case 13:
      return 13;  // enter
    case 38:
      return 14;  // up
    case 40:
      return 15;  // down
    case 33:
      return 16;  // page up
    case 34:
      return 17;  // page down
    case 9:
      return 18;  // tab
    case 27:
      return 19;  // escape
    default:
      return 0;
  }
}

void collectButtons(DisplayObject& o, std::vector<ButtonInstance*>& out, int nesting) {
  if (nesting > kMaxNesting + 2) return;
  for (auto& [d, child] : o.children) {
    if (auto* b = dynamic_cast<ButtonInstance*>(child.get())) out.push_back(b);
    collectButtons(*child, out, nesting + 1);
  }
}

}  // namespace

std::vector<SpriteInstance*> Player::levelRoots() const {
  std::vector<SpriteInstance*> roots;
  for (const auto& [n, level] : levels_) roots.push_back(level.root);
  return roots;
}

void Player::clipKeys(int code, char32_t ch, bool down) {
  if (!clipInput_) return;
  int press = down ? keyPressCode(code, ch) : 0;
  clipInput_->key(levelRoots(), down, press);
  if (!press) return;
  std::vector<ButtonInstance*> buttons;
  for (SpriteInstance* r : levelRoots()) collectButtons(*r, buttons, 0);
  for (ButtonInstance* b : buttons) {
    SpriteInstance* t = b->parentTimeline();
    if (!t) continue;
    for (const ButtonAction& a : b->button().actions)
      if ((a.conditions >> 9) == press) t->queueActions(a.actions);
  }
}

}  // namespace swf
