#pragma once
// The keyboard, pointer and focus as the player's movie sees them: which keys are down, the
// last key, the text field that has the focus, whether the pointer is hidden, and the hooks the
// host gives for the clipboard and other parts of the player use to watch keys.

#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace swf {

class PlacedObject;
class TextFieldInstance;

// The desktop's clipboard, for copy and paste in text fields. The host supplies it; without
// one, copy and paste stay inside the player.
struct Clipboard {
  virtual ~Clipboard() = default;
  virtual std::string text() = 0;
  virtual void setText(const std::string& utf8) = 0;
};

// One key going down or up, as the movie gets it.
struct KeyEvent {
  int code = 0;     // Flash key code (65 for A, 37 for the left arrow, ...)
  char32_t ch = 0;  // the character it types; 0 for none
  bool down = true;
};

// What the pointer should look like over the control.
enum class PointerShape { Arrow, Hand, Text, Hidden };

struct PlayerInput {
  std::bitset<256> keysDown;
  bool capsLock = false, numLock = false;
  int lastCode = 0;
  char32_t lastChar = 0;
  bool pointerHidden = false;
  double pointerX = 0, pointerY = 0;  // stage twips, where the pointer was last

  // Live text fields, in the order they were made; they register themselves.
  std::vector<TextFieldInstance*> fields;
  TextFieldInstance* focus = nullptr;  // cleared by the field when it goes
  // A clip that took the focus from a script (Selection.setFocus); the player draws its focus
  // rectangle. Never at the same time as a field.
  PlacedObject* focusClip = nullptr;
  std::weak_ptr<const char> focusClipLife;
  PlacedObject* focusedClip() const { return focusClipLife.expired() ? nullptr : focusClip; }

  Clipboard* clipboard = nullptr;
  std::string ownClipboard;  // used when there is no desktop clipboard

  // Called for every key before the focused field takes it: the hook for clip events and the
  // key conditions of buttons.
  std::vector<std::function<void(const KeyEvent&)>> keyObservers;

  // Stage.scaleMode, Stage.align, Stage.showMenu as scripts last set them.
  std::string scaleMode = "showAll", align;
  bool showMenu = true;
  int reportedWidth = -1, reportedHeight = -1;  // the stage size onResize last told
};

}  // namespace swf
