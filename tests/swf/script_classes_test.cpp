// Classes of exported symbols (Object.registerClass) and interfaces (ImplementsOp): which clips
// become instances, when their constructors run against their clip events and the frame's
// actions, and what instanceof and casts make of interfaces.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using namespace swf::author;
using rvtest::runScript;

// A PlaceObject2 of `character` at `depth` called `name`, with clip events (flags, actions).
std::vector<uint8_t> placeWithEvents(int depth, uint16_t character, const std::string& name,
                                     const std::vector<std::pair<uint32_t, std::string>>& events) {
  BitWriter b;
  b.u8(0x80 | 0x20 | 0x02);
  b.u16(uint16_t(depth));
  b.u16(character);
  for (char c : name) b.u8(uint8_t(c));
  b.u8(0);
  uint32_t all = 0;
  for (const auto& e : events) all |= e.first;
  b.u16(0);
  b.u32(all);
  for (const auto& [flags, script] : events) {
    auto code = assembleActions(script);
    code.push_back(0);
    b.u32(flags);
    b.u32(uint32_t(code.size()));
    for (uint8_t x : code) b.u8(x);
  }
  b.u32(0);
  return b.data();
}

// Frame 1 defines class Ball (its constructor traces "new <name> <v>", its prototype has
// hello()) and runs `first`; frame 2 places the exported symbol "ball" as `placed` (with
// `events`) and runs `second`. Two more frames follow.
std::string runBallMovie(const std::string& first, const std::string& second,
                         const std::vector<std::pair<uint32_t, std::string>>& events = {}) {
  const std::string ballClass =
      "push 'Ball'\nfunction ()\n"
      "push 'new ', 'this'\ngetVariable\npush '_name'\ngetMember\nadd2\npush ' '\nadd2\n"
      "push 'this'\ngetVariable\npush 'v'\ngetMember\nadd2\ntrace\nend\nsetVariable\n"
      "push 'Ball'\ngetVariable\npush 'prototype'\ngetMember\npush 'hello'\nfunction ()\n"
      "push 'hello ', 'this'\ngetVariable\npush '_name'\ngetMember\nadd2\ntrace\nend\n"
      "setMember\n";
  SwfWriter w(7, 100, 100, 10);
  TagList sprite;
  sprite.showFrame();
  sprite.end();
  w.defineSprite(2, sprite);
  w.exportAsset(2, "ball");
  auto code = assembleActions(ballClass + first);
  code.push_back(0);
  w.doAction(code);
  w.showFrame();
  w.tag(26, placeWithEvents(1, 2, "placed", events));
  code = assembleActions(second);
  code.push_back(0);
  w.doAction(code);
  w.showFrame();
  w.showFrame();
  w.showFrame();
  w.end();
  swf::Player p;
  std::string traced;
  p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
  rvtest::show(p, w.finish());
  for (int i = 0; i < 3; ++i) p.advance(100);
  return traced;
}

const std::string kRegister =
    "push 'Ball'\ngetVariable\npush 'ball', 2, 'Object'\ngetVariable\npush 'registerClass'\n"
    "callMethod\ntrace\n";
// attachMovie("ball", name, depth, {v: 7}), then traces "attached".
std::string attach(const std::string& name, int depth) {
  return "push 'v', 7, 1\ninitObject\npush " + std::to_string(depth) + ", '" + name +
         "', 'ball', 4, 'this'\ngetVariable\npush 'attachMovie'\ncallMethod\npop\n"
         "push 'attached'\ntrace\n";
}
std::string callHello(const std::string& clip) {
  return "push 0, '" + clip + "'\ngetVariable\npush 'hello'\ncallMethod\npop\n";
}

struct Case {
  const char* what;
  std::string first, second;
  const char* expected;
  std::vector<std::pair<uint32_t, std::string>> events = {};
};

TEST(ScriptClasses, RegisteredSymbolsMakeInstances) {
  const Case cases[] = {
      {"attachMovie sets the init object's properties, then runs the constructor inside the "
       "call",
       kRegister + attach("a", 5) + callHello("a") +
           "push 'a'\ngetVariable\npush 'Ball'\ngetVariable\ninstanceOf\ntrace\n",
       "", "true\nnew a 7\nattached\nhello a\ntrue\nnew placed undefined\n"},
      {"the timeline's placement is constructed before the frame's actions", kRegister,
       "push 'frame 2'\ntrace\n" + callHello("placed"),
       "true\nnew placed undefined\nframe 2\n"
       "hello placed\n"},
      {"initialize events see a movie clip, construct events the class, then the constructor",
       kRegister,
       "",
       "true\ninit false\nconstruct true\nnew placed undefined\n",
       {{0x200,
         "push 'init ', 'this'\ngetVariable\npush 'hello'\ngetMember\npush undefined\nequals2\n"
         "not\nadd2\ntrace\n"},
        {0x40000,
         "push 'construct ', 'this'\ngetVariable\npush 'hello'\ngetMember\npush undefined\n"
         "equals2\nnot\nadd2\ntrace\n"}}},
      {"clips made before the registration keep their class", attach("a", 5) + kRegister,
       callHello("a") + callHello("placed"),
       "attached\ntrue\nnew placed undefined\nhello placed\n"},
      {"registering null forgets the class",
       kRegister +
           "push null, 'ball', 2, 'Object'\ngetVariable\npush 'registerClass'\n"
           "callMethod\ntrace\n" +
           attach("a", 5) + callHello("a"),
       callHello("placed"), "true\ntrue\nattached\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(runBallMovie(c.first, c.second, c.events), c.expected) << c.what;
}

// Not yet: a duplicate of a timeline-placed clip does not find its symbol's class.
TEST(ScriptClasses, DISABLED_DuplicatesOfRegisteredSymbolsAreConstructed) {
  EXPECT_EQ(runBallMovie(kRegister,
                         "push 0, 'copy', 9, 'placed'\ngetVariable\npush 'duplicateMovieClip'\n"
                         "callMethod\npop\n" +
                             callHello("copy")),
            "true\nnew placed undefined\nnew copy undefined\nhello copy\n");
}

TEST(ScriptClasses, InterfacesCountForInstanceofAndCasts) {
  // A and I are functions; o is a new A. `implements` gives A's prototype the interfaces.
  const std::string setup =
      "push 'A'\nfunction ()\nend\nsetVariable\npush 'I'\nfunction ()\nend\nsetVariable\n"
      "push 'J'\nfunction ()\nend\nsetVariable\npush 'o', 0, 'A'\nnewObject\nsetVariable\n";
  const std::string implementsI = "push 'I'\ngetVariable\npush 1, 'A'\ngetVariable\nimplementsOp\n";
  const std::string isI = "push 'o'\ngetVariable\npush 'I'\ngetVariable\ninstanceOf\ntrace\n";
  const std::string isJ = "push 'o'\ngetVariable\npush 'J'\ngetVariable\ninstanceOf\ntrace\n";
  const struct {
    const char* what;
    std::string source;
    const char* expected;
  } cases[] = {
      {"implementing makes existing and new instances instances of the interface",
       setup + isI + implementsI + isI + isJ, "false\ntrue\nfalse\n"},
      {"a cast to an implemented interface gives the object, else null",
       setup + implementsI +
           "push 'I'\ngetVariable\npush 'o'\ngetVariable\ncastOp\npush 'A'\ngetVariable\n"
           "instanceOf\ntrace\n"
           "push 'J'\ngetVariable\npush 'o'\ngetVariable\ncastOp\ntrace\n",
       "true\nnull\n"},
      {"interfaces implemented by an interface count, and a subclass inherits them",
       setup + implementsI + "push 'J'\ngetVariable\npush 1, 'I'\ngetVariable\nimplementsOp\n" +
           isJ +
           "push 'B'\nfunction ()\nend\nsetVariable\npush 'B'\ngetVariable\npush 'A'\n"
           "getVariable\nextends\npush 'o', 0, 'B'\nnewObject\nsetVariable\n" +
           isI + isJ,
       "true\ntrue\ntrue\n"},
      {"a new prototype has no interfaces",
       setup + implementsI +
           "push 'A'\ngetVariable\npush 'prototype', 0, 'Object'\nnewObject\nsetMember\n"
           "push 'o', 0, 'A'\nnewObject\nsetVariable\n" +
           isI,
       "false\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(runScript(7, c.source), c.expected) << c.what;
}

}  // namespace

namespace {

// m = new ContextMenu(); m.customItems.push("a"); c = m.copy(); m.customItems.push("b");
// then c, c.customItems and whether the two share their built-in items.
constexpr char kMenuCopy[] =
    "push 'm', 0, 'ContextMenu'\nnewObject\nsetVariable\n"
    "push 'a', 1, 'm'\ngetVariable\npush 'customItems'\ngetMember\npush 'push'\ncallMethod\npop\n"
    "push 'c', 0, 'm'\ngetVariable\npush 'copy'\ncallMethod\nsetVariable\n"
    "push 'b', 1, 'm'\ngetVariable\npush 'customItems'\ngetMember\npush 'push'\ncallMethod\npop\n"
    "push 'c'\ngetVariable\ntypeOf\ntrace\n"
    "push 'c'\ngetVariable\npush 'customItems'\ngetMember\ntrace\n"
    "push 'c'\ngetVariable\npush 'builtInItems'\ngetMember\npush 'm'\ngetVariable\n"
    "push 'builtInItems'\ngetMember\nstrictEquals\ntrace\n";

}  // namespace

TEST(ScriptClasses, ContextMenuCopiesHaveTheirOwnItemListFromFlash7) {
  EXPECT_EQ(rvtest::runScript(7, kMenuCopy), "object\na\ntrue\n");
  // SWF 6 code makes menus but does not see the prototype's methods.
  EXPECT_EQ(rvtest::runScript(6, kMenuCopy), "undefined\nundefined\nfalse\n");
}
