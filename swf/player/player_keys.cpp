// Keys, typing, the wheel, focus and the pointer's shape: what the host feeds the player beside
// the mouse buttons, and what the movie's listeners hear of it.

#include <algorithm>
#include <chrono>

#include "swf/avm1/vm.h"
#include "swf/player/button_hit_test.h"
#include "swf/player/button_instance.h"
#include "swf/player/clip_input.h"
#include "swf/player/input_classes.h"
#include "swf/player/matrix_math.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"
#include "swf/player/text_field_variables.h"
#include "swf/text/text_content.h"

namespace swf {
namespace {

constexpr int kTab = 9, kEnter = 13, kShift = 16, kControl = 17, kCapsLock = 20, kNumLock = 144;

// Runs `fn` as an event of its own: the time limit starts now, and a throw or an abort ends
// only this event. With `nested`, an event a running script raised (Selection.setFocus) runs
// as a call of that script's; otherwise none runs while a script does.
template <class Fn>
void runEvent(avm1::Vm& vm, Fn&& fn, bool nested = false) {
  if (!vm.frames.empty()) {
    if (nested) fn();
    return;
  }
  vm.blockStart = std::chrono::steady_clock::now();
  try {
    fn();
  } catch (const avm1::ScriptThrow&) {
  } catch (const avm1::ScriptAbort&) {
  }
  vm.stack.clear();
  vm.maybeCollect();
}

void broadcast(avm1::Vm& vm, avm1::Object* o, const char* message,
               std::vector<avm1::Value> args = {}, bool nested = false) {
  if (!o) return;
  args.insert(args.begin(), avm1::Value(vm.intern(message)));
  runEvent(
      vm, [&] { vm.callMethod(o, vm.intern("broadcastMessage"), args); }, nested);
}

void broadcastGlobal(avm1::Vm& vm, const char* object, const char* message,
                     std::vector<avm1::Value> args = {}, bool nested = false) {
  broadcast(vm, vm.get(vm.global, vm.intern(object)).object(), message, std::move(args), nested);
}

// The field's transform to the stage.
Matrix fieldToStage(const TextFieldInstance& f) {
  Matrix m = f.matrix;
  for (const SpriteInstance* s = f.parentTimeline(); s; s = s->parentTimeline()) m = s->matrix * m;
  return m;
}

bool fieldShown(const TextFieldInstance& f) {
  if (!f.visible) return false;
  for (const SpriteInstance* s = f.parentTimeline(); s; s = s->parentTimeline())
    if (!s->visible) return false;
  return true;
}

}  // namespace

void Player::setClipboard(Clipboard* c) { input_->clipboard = c; }

std::pair<int, int> Player::scriptStageSize() const {
  if (scaleMode_ == 3 && fullScreen_ && screenWidth_ > 0 && screenHeight_ > 0)
    return {screenWidth_, screenHeight_};
  if (scaleMode_ == 3 && controlWidth_ > 0 && controlHeight_ > 0)
    return {controlWidth_, controlHeight_};
  return {stageWidth(), stageHeight()};
}

void Player::setFullScreen(bool on) {
  if (on == fullScreen_) return;
  auto before = scriptStageSize();
  fullScreen_ = on;
  changed_ = true;
  if (onDisplayState) onDisplayState(on);
  if (!vm_) return;
  // Listeners hear of it before the setter returns: the new size first, then the state.
  bool nested = !vm_->frames.empty();
  if (scaleMode_ == 3) {
    auto after = scriptStageSize();
    input_->reportedWidth = after.first;
    input_->reportedHeight = after.second;
    if (after != before) broadcastGlobal(*vm_, "Stage", "onResize", {}, nested);
  }
  broadcastGlobal(*vm_, "Stage", "onFullScreen", {avm1::Value(on)}, nested);
  if (!nested) finishInput();
}

void Player::checkStageResize() {
  if (!vm_ || scaleMode_ != 3) return;
  auto [w, h] = scriptStageSize();
  if (w == input_->reportedWidth && h == input_->reportedHeight) return;
  bool first = input_->reportedWidth < 0;
  input_->reportedWidth = w;
  input_->reportedHeight = h;
  if (first) return;
  broadcastGlobal(*vm_, "Stage", "onResize");
  finishInput();
}

void Player::finishInput() {
  runActions();
  flushEvents();
  if (ctx_ && ctx_->changed) changed_ = true;
}

void Player::setFocusClip(PlacedObject* clip) {
  if (clip) setFocus(nullptr);
  PlacedObject* old = input_->focusedClip();
  if (clip == old) return;
  auto objectOf = [this](PlacedObject* c) {
    auto* sprite = dynamic_cast<SpriteInstance*>(c);
    avm1::Object* o = sprite && vm_ ? vm_->clipFor(sprite) : nullptr;
    return o ? avm1::Value(o) : avm1::Value::null();
  };
  avm1::Value oldObject = objectOf(old), newObject = objectOf(clip);
  std::weak_ptr<const char> clipAlive = clip ? clip->lifeToken() : std::weak_ptr<const char>();
  // The clip losing the focus hears it first, while it still has it; a handler may move the
  // focus itself, and the change asked for still follows.
  if (old && oldObject.object())
    runEvent(
        *vm_,
        [&] { vm_->callMethod(oldObject.o, vm_->intern("onKillFocus"), std::vector{newObject}); },
        true);
  if (clip && clipAlive.expired()) clip = nullptr;
  changed_ = true;
  input_->focusClip = clip;
  input_->focusClipLife = clip ? clip->lifeToken() : std::weak_ptr<const char>();
  if (!vm_) return;
  if (clip && newObject.object())
    runEvent(
        *vm_,
        [&] { vm_->callMethod(newObject.o, vm_->intern("onSetFocus"), std::vector{oldObject}); },
        true);
  broadcastGlobal(*vm_, "Selection", "onSetFocus", {oldObject, newObject}, true);
}

void Player::setFocus(TextFieldInstance* field) {
  if (field) setFocusClip(nullptr);
  TextFieldInstance* old = input_->focus;
  if (old == field || !vm_) return;
  if (old) {
    old->focused = false;
    old->touch();
  }
  input_->focus = field;
  if (field) {
    field->focused = true;
    field->setSelection(0, int(field->length()));
  }
  auto objectOf = [this](TextFieldInstance* f) {
    avm1::Object* o = f ? textFieldObject(*vm_, *f) : nullptr;
    return o ? avm1::Value(o) : avm1::Value::null();
  };
  avm1::Value oldObject = objectOf(old), newObject = objectOf(field);
  std::weak_ptr<const char> fieldAlive = field ? field->lifeToken() : std::weak_ptr<const char>();
  if (old)
    runEvent(*vm_, [&] {
      vm_->callMethod(oldObject.o, vm_->intern("onKillFocus"), std::vector{newObject});
    });
  if (field && !fieldAlive.expired())
    runEvent(*vm_, [&] {
      vm_->callMethod(newObject.o, vm_->intern("onSetFocus"), std::vector{oldObject});
    });
  broadcastGlobal(*vm_, "Selection", "onSetFocus", {oldObject, newObject});
}

void Player::moveFocusByTab(bool backwards) {
  // Input fields that may take the focus, in tab order: tabIndex first, then as made.
  std::vector<TextFieldInstance*> order;
  for (TextFieldInstance* f : input_->fields)
    if ((f->editable() || (f->tabEnabledSet && f->tabEnabled)) && fieldShown(*f) &&
        !(f->tabEnabledSet && !f->tabEnabled))
      order.push_back(f);
  if (order.empty()) return;
  std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) {
    int ia = a->tabIndex < 0 ? INT32_MAX : a->tabIndex,
        ib = b->tabIndex < 0 ? INT32_MAX : b->tabIndex;
    return ia < ib;
  });
  auto at = std::find(order.begin(), order.end(), input_->focus);
  size_t n = order.size(), i;
  if (at == order.end())
    i = backwards ? n - 1 : 0;
  else
    i = (size_t(at - order.begin()) + (backwards ? n - 1 : 1)) % n;
  setFocus(order[i]);
}

void Player::keyDown(int code, char32_t ch) {
  if (!root_ || !vm_ || code < 0 || code > 255) return;
  input_->keysDown.set(size_t(code));
  input_->lastCode = code;
  input_->lastChar = ch;
  if (code == kCapsLock) input_->capsLock = !input_->capsLock;
  if (code == kNumLock) input_->numLock = !input_->numLock;
  KeyEvent e{code, ch, true};
  for (auto& observe : std::vector(input_->keyObservers)) observe(e);
  broadcastGlobal(*vm_, "Key", "onKeyDown");
  clipKeys(code, ch, true);

  bool shift = input_->keysDown[kShift], ctrl = input_->keysDown[kControl];
  TextFieldInstance* f = input_->focus;
  bool edited = false;
  if (code == kTab) {
    moveFocusByTab(shift);
  } else if (f && ctrl) {
    Clipboard* cb = input_->clipboard;
    auto copy = [&] {
      if (f->def().password) return;  // a password does not leave its field
      std::string t = encodeUtf8(f->selectedChars());
      if (cb)
        cb->setText(t);
      else
        input_->ownClipboard = t;
    };
    if (code == 'A') f->setSelection(0, int(f->length()));
    if (code == 'C') copy();
    if (code == 'X' && f->editable()) {
      copy();
      edited = f->replaceSelection({});
    }
    if (code == 'V' && f->editable())
      edited = f->replaceSelection(decodeText(cb ? cb->text() : input_->ownClipboard, 6));
  } else if (f) {
    if (code == kEnter && f->editable() && f->def().multiline)
      edited = f->replaceSelection(U"\r");
    else
      edited = f->editKey(code, shift) && f->editable() && (code == 8 || code == 46);
  }
  if (edited) fieldEdited(*f);
  finishInput();
}

void Player::keyUp(int code, char32_t ch) {
  if (!root_ || !vm_ || code < 0 || code > 255) return;
  input_->keysDown.reset(size_t(code));
  input_->lastCode = code;
  input_->lastChar = ch;
  KeyEvent e{code, ch, false};
  for (auto& observe : std::vector(input_->keyObservers)) observe(e);
  broadcastGlobal(*vm_, "Key", "onKeyUp");
  clipKeys(code, ch, false);
  finishInput();
}

void Player::textInput(const std::string& utf8) {
  TextFieldInstance* f = input_->focus;
  if (!root_ || !vm_ || !f || !f->editable() || utf8.empty()) return;
  std::u32string typed;
  for (char32_t c : decodeText(utf8, 6))
    if (c >= 0x20 && c != 0x7f) typed += c;  // control characters come as keys
  if (!typed.empty() && f->replaceSelection(typed)) fieldEdited(*f);
  finishInput();
}

void Player::fieldEdited(TextFieldInstance& f) {
  storeFieldVariable(*vm_, f);
  std::weak_ptr<const char> alive = f.lifeToken();
  avm1::Object* o = textFieldObject(*vm_, f);
  if (o) broadcast(*vm_, o, "onChanged", {avm1::Value(o)});
}

void Player::mouseWheel(double x, double y, int notches) {
  if (!root_ || !vm_) return;
  double sx, sy;
  if (!pointToStage(x, y, sx, sy)) return;
  // A field under the pointer scrolls by lines.
  for (auto it = input_->fields.rbegin(); it != input_->fields.rend(); ++it) {
    TextFieldInstance* f = *it;
    auto inv = invert(fieldToStage(*f));
    if (!inv || !fieldShown(*f)) continue;
    double lx, ly;
    transformPoint(*inv, sx, sy, lx, ly);
    const Rect& b = f->def().bounds;
    if (lx < b.xMin || lx > b.xMax || ly < b.yMin || ly > b.yMax) continue;
    int s = std::clamp(f->scroll - notches, 1, f->maxScroll());
    if (s != f->scroll) {
      f->scroll = s;
      f->touch();
      if (avm1::Object* o = textFieldObject(*vm_, *f))
        broadcast(*vm_, o, "onScroller", {avm1::Value(o)});
    }
    break;
  }
  broadcastGlobal(*vm_, "Mouse", "onMouseWheel", {avm1::Value(notches)});
  finishInput();
}

void Player::pointerInput(Pointer kind, double x, double y) {
  if (!root_ || !vm_) return;
  double sx, sy;
  if (!pointToStage(x, y, sx, sy)) return;
  input_->pointerX = sx;
  input_->pointerY = sy;
  if (kind == Pointer::Down) {
    // A press on a selectable field gives it the focus; elsewhere the focus goes.
    TextFieldInstance* hit = nullptr;
    for (auto it = input_->fields.rbegin(); it != input_->fields.rend() && !hit; ++it) {
      TextFieldInstance* f = *it;
      if ((f->def().noSelect && !f->editable()) || !fieldShown(*f)) continue;
      auto inv = invert(fieldToStage(*f));
      if (!inv) continue;
      double lx, ly;
      transformPoint(*inv, sx, sy, lx, ly);
      const Rect& b = f->def().bounds;
      if (lx >= b.xMin && lx <= b.xMax && ly >= b.yMin && ly <= b.yMax) hit = f;
    }
    if (hit != input_->focus) setFocus(hit);
    setFocusClip(nullptr);
    if (hit) {
      int end = int(hit->length());
      hit->setSelection(end, end);
    }
  }
  const char* message = kind == Pointer::Down ? "onMouseDown"
                        : kind == Pointer::Up ? "onMouseUp"
                                              : "onMouseMove";
  broadcastGlobal(*vm_, "Mouse", message);
}

PointerShape Player::pointerShape() const {
  if (input_->pointerHidden) return PointerShape::Hidden;
  if (hovered_ && !hoveredAlive_.expired()) return PointerShape::Hand;
  // A clip with press or roll handlers shows the hand too, unless its useHandCursor is false.
  if (SpriteInstance* c = clipInput_ ? clipInput_->hovered() : nullptr) {
    avm1::Value hand = vm_->get(vm_->clipFor(c), vm_->key("useHandCursor"));
    if (hand.isUndefined() || vm_->toBoolean(hand)) return PointerShape::Hand;
  }
  double sx = input_->pointerX, sy = input_->pointerY;
  for (TextFieldInstance* f : input_->fields) {
    if (!f->editable() && f->def().noSelect) continue;
    auto inv = invert(fieldToStage(*f));
    if (!inv || !fieldShown(*f)) continue;
    double lx, ly;
    transformPoint(*inv, sx, sy, lx, ly);
    const Rect& b = f->def().bounds;
    if (lx >= b.xMin && lx <= b.xMax && ly >= b.yMin && ly <= b.yMax) return PointerShape::Text;
  }
  return PointerShape::Arrow;
}

}  // namespace swf
