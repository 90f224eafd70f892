// Keys, typing, focus and text fields through the player's input calls, with the scripts that
// watch them.

#include <gtest/gtest.h>

#include "common/input_test_movie.h"
#include "core_test_movies.h"
#include "swf/avm1/vm.h"
#include "swf/player/player.h"

namespace rvtest {
namespace {

using swf::avm1::Value;

struct Form {
  swf::Player p;
  std::string traced;
  explicit Form(int version, const std::string& script = "") {
    p.onTrace = [this](const std::string& t) { traced += t + "\n"; };
    show(p, inputFormMovie(version, script));
  }
  swf::avm1::Vm& vm() { return *p.scripts(); }
  std::string var(const char* name) {
    return vm().toString(vm().get(vm().clipFor(p.levelRoot(0)), vm().intern(name)));
  }
  void click(double x, double y) {
    p.mouseDown(x, y);
    p.mouseUp(x, y);
  }
};

// Listeners on Key, Mouse and Selection, and a handler on the field, each tracing what it hears.
const char* kListeners = R"(
push 'l', 0, 'Object'
newObject
setVariable
push 'l'
getVariable
push 'onKeyDown'
function ()
push 'down ', 0, 'Key'
getVariable
push 'getCode'
callMethod
add2
push ' '
add2
push 0, 'Key'
getVariable
push 'getAscii'
callMethod
add2
trace
end
setMember
push 'l'
getVariable
push 'onKeyUp'
function ()
push 'up ', 65, 1, 'Key'
getVariable
push 'isDown'
callMethod
add2
trace
end
setMember
push 'l'
getVariable
push 'onSetFocus'
function (a, b)
push 'focus ', 'b'
getVariable
push '_name'
getMember
add2
trace
end
setMember
push 'l'
getVariable
push 1, 'Key'
getVariable
push 'addListener'
callMethod
pop
push 'l'
getVariable
push 1, 'Selection'
getVariable
push 'addListener'
callMethod
pop
push 'entry'
getVariable
push 'onChanged'
function ()
push 'changed '
push 'typed'
getVariable
add2
trace
end
setMember
)";

TEST(PlayerInput, KeysReachListenersAndTypingFillsTheBoundVariable) {
  Form f(6, kListeners);
  f.p.keyDown(65, U'a');
  f.p.keyUp(65, U'a');
  EXPECT_EQ(f.traced, "down 65 97\nup false\n");
  f.traced.clear();

  // A click on the field gives it the focus; typing, Backspace and an input-method commit edit
  // it, and the variable follows.
  f.click(100, 10);
  EXPECT_EQ(f.traced, "focus entry\n");
  f.p.textInput("hx");
  f.p.keyDown(8);
  f.p.textInput("\xc3\xa9!");  // "é!" as a commit string
  EXPECT_EQ(f.var("typed"), "h\xc3\xa9!");
  EXPECT_NE(f.traced.find("changed h\n"), std::string::npos) << f.traced;

  // The variable set by script shows in the field.
  swf::avm1::Vm& vm = f.vm();
  vm.set(vm.clipFor(f.p.levelRoot(0)), vm.intern("typed"), swf::avm1::Value(vm.intern("new")));
  f.p.advance(100);
  f.traced.clear();
  f.p.keyDown(35);  // End, then one more character
  f.p.textInput("s");
  EXPECT_EQ(f.var("typed"), "news");
}

TEST(PlayerInput, ButtonsClickAndShowTheHandAndMouseHideHidesThePointer) {
  Form f(6);
  f.p.mouseMove(20, 20);
  EXPECT_EQ(f.p.pointerShape(), swf::PointerShape::Hand);
  f.click(20, 20);
  EXPECT_EQ(f.var("clicks"), "1");
  f.p.mouseMove(100, 10);
  EXPECT_EQ(f.p.pointerShape(), swf::PointerShape::Text);
  f.p.mouseMove(190, 90);
  EXPECT_EQ(f.p.pointerShape(), swf::PointerShape::Arrow);
  swf::avm1::Vm& vm = f.vm();
  Value mouse = vm.get(vm.global, vm.intern("Mouse"));
  vm.callMethod(mouse.o, vm.intern("hide"), {});
  EXPECT_EQ(f.p.pointerShape(), swf::PointerShape::Hidden);
}

// Script-made fields: properties read back as set, maxChars and restrict bound what replaceSel
// and typing put in, autoSize grows the field, and Tab moves between input fields.
TEST(PlayerInput, ScriptMadeFieldsKeepTheirPropertiesAndRules) {
  Form f(8, R"(
push 'f', 20, 30, 10, 10, 5, 'made', 6, '_root'
getVariable
push 'createTextField'
callMethod
setVariable
push 'f'
getVariable
push 'type', 'input'
setMember
push 'f'
getVariable
push 'maxChars', 4
setMember
push 'f'
getVariable
push 'restrict', 'a-z'
setMember
push 'f'
getVariable
push 'autoSize', 'left'
setMember
push 'f'
getVariable
push 'border', true
setMember
)");
  swf::avm1::Vm& vm = f.vm();
  auto field = vm.get(vm.clipFor(f.p.levelRoot(0)), vm.intern("f"));
  ASSERT_TRUE(field.isObject());
  auto prop = [&](const char* n) { return vm.toString(vm.get(field.o, vm.intern(n))); };
  EXPECT_EQ(prop("type"), "input");
  EXPECT_EQ(prop("maxChars"), "4");
  EXPECT_EQ(prop("restrict"), "a-z");
  EXPECT_EQ(prop("autoSize"), "left");
  EXPECT_EQ(prop("border"), "true");
  EXPECT_EQ(prop("_x"), "10");
  EXPECT_EQ(vm.typeOf(field), "object");
  EXPECT_EQ(vm.toString(field), "_level0.made");

  // Tab goes from the timeline's field to the script's.
  f.p.mouseDown(100, 10);
  f.p.keyDown(9);
  f.p.keyUp(9);
  f.p.textInput("ab1CDcdef");
  EXPECT_EQ(prop("text"), "abcd");
  EXPECT_EQ(prop("length"), "4");
  double width = vm.toNumber(vm.get(field.o, vm.intern("_width")));
  EXPECT_GT(width, 20);  // grown from 20 to fit, left edge kept
  EXPECT_EQ(prop("_x"), "10");

  Value args[] = {Value(vm.intern("zz"))};
  vm.callMethod(field.o, vm.intern("replaceSel"), args);
  EXPECT_EQ(prop("text"), "abcd");  // full

  // getTextFormat reports what setTextFormat gave.
  Value fmtCtor = vm.get(vm.global, vm.intern("TextFormat"));
  Value fmt = vm.construct(fmtCtor, {});
  vm.set(fmt.o, vm.intern("size"), Value(30));
  vm.set(fmt.o, vm.intern("bold"), Value(true));
  vm.callMethod(field.o, vm.intern("setTextFormat"), std::vector<Value>{fmt});
  Value got = vm.callMethod(field.o, vm.intern("getTextFormat"), {});
  ASSERT_TRUE(got.isObject());
  EXPECT_EQ(vm.toString(vm.get(got.o, vm.intern("size"))), "30");
  EXPECT_EQ(vm.toString(vm.get(got.o, vm.intern("bold"))), "true");
  EXPECT_EQ(vm.toString(vm.get(got.o, vm.intern("font"))), "Times New Roman");
}

TEST(PlayerInput, CopyAndPasteGoThroughTheClipboard) {
  struct Board : swf::Clipboard {
    std::string held;
    std::string text() override { return held; }
    void setText(const std::string& t) override { held = t; }
  } board;
  Form f(6);
  f.p.setClipboard(&board);
  f.p.mouseDown(100, 10);
  f.p.textInput("copy me");
  f.p.keyDown(17);
  f.p.keyDown('A');
  f.p.keyDown('C');
  EXPECT_EQ(board.held, "copy me");
  board.held = "pasted";
  f.p.keyDown('V');
  f.p.keyUp(17);
  EXPECT_EQ(f.var("typed"), "pasted");
}

}  // namespace
}  // namespace rvtest
