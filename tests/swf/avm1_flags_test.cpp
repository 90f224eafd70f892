// Property flags: ASSetPropFlags and its version masks, and the flags the built-in objects carry
// (hidden, permanent, read-only), as scripts of each version see them.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using rvtest::runScript;

// Makes register 1 an object {a: 1} and applies ASSetPropFlags(r1, "a", set, clear).
std::string objectWithFlags(int set, int clear = 0) {
  return "push 'a', 1, 1\ninitObject\nstore 1\npop\npush " + std::to_string(clear) + ", " +
         std::to_string(set) + ", 'a', r:1, 4, 'ASSetPropFlags'\ncallFunction\npop\n";
}

// Traces r1.a, then every name for..in gives for r1, then r1.hasOwnProperty("a") (through
// ASnative 101,5 so that SWF 5 can ask too).
const char* kReport = R"(push r:1, 'a'
getMember
trace
push r:1
enumerate2
loop:
store 2
push null
equals2
if done
push r:2
trace
jump loop
done:
push r:1, 'has', 5, 101, 2, 'ASnative'
callFunction
setMember
push 'a', 1, r:1, 'has'
callMethod
trace
)";

TEST(Avm1Flags, VersionMasksHideFromOlderFilesButStayListed) {
  struct Case {
    int version, set;
    const char* expected;
  };
  const Case cases[] = {
      // 128: SWF 6 and later. Older code cannot read it, though for..in and hasOwnProperty
      // still find it.
      {5, 128, "undefined\na\ntrue\n"},
      {6, 128, "1\na\ntrue\n"},
      // 1024 and 4096: SWF 7 and 8 and later.
      {6, 1024, "undefined\na\ntrue\n"},
      {7, 1024, "1\na\ntrue\n"},
      {7, 4096, "undefined\na\ntrue\n"},
      {8, 4096, "1\na\ntrue\n"},
      // 256: unreadable for SWF 6 only (for..in still lists it), and never owned.
      {6, 256, "undefined\na\nfalse\n"},
      {7, 256, "1\na\nfalse\n"},
      {5, 256, "1\na\nfalse\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(runScript(c.version, objectWithFlags(c.set) + kReport), c.expected)
        << "v" << c.version << " flags " << c.set;
}

TEST(Avm1Flags, WritingAMaskedProperty) {
  struct Case {
    int version, set;
    const char* expected;
  };
  // Writes r1.a = 2 and reports; then clears every flag and reads it again.
  const std::string write = "push r:1, 'a', 2\nsetMember\n";
  const std::string reveal =
      "push 8191, 0, 'a', r:1, 4, 'ASSetPropFlags'\ncallFunction\npop\npush r:1, 'a'\n"
      "getMember\ntrace\n";
  const Case cases[] = {
      // The write makes the property seen...
      {6, 4096, "2\na\ntrue\n2\n"},
      // ...except SWF 7's mask for SWF 6 code: the value changes, the property stays unseen.
      {6, 1024, "undefined\na\ntrue\n2\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(runScript(c.version, objectWithFlags(c.set) + write + kReport + reveal), c.expected)
        << "v" << c.version << " flags " << c.set;
}

TEST(Avm1Flags, DeletedArrayElementsAreNoLongerOwned) {
  // delete a[0] leaves the length, but for..in and hasOwnProperty pass the index by.
  EXPECT_EQ(runScript(6, R"(push 'y', 'x', 2
                            initArray
                            store 1
                            push '0'
                            delete
                            pop
                            push r:1, 'length'
                            getMember
                            trace
                            push r:1
                            enumerate2
                            loop:
                            store 2
                            push null
                            equals2
                            if done
                            push r:2
                            trace
                            jump loop
                            done:
                            push '0', 1, r:1, 'hasOwnProperty'
                            callMethod
                            trace)"),
            "2\n1\nfalse\n");
}

TEST(Avm1Flags, MaskedLinksAreFollowedByTheOriginalsRules) {
  // r1.__proto__ = r2 (r2 made by `proto`), that link masked by `mask`, then `tail` runs.
  auto masked = [](int version, int mask, const std::string& proto, const std::string& tail) {
    return runScript(version, proto +
                                  "\nstore 2\npop\npush 0\ninitObject\n"
                                  "store 1\npop\npush r:1, '__proto__', r:2\nsetMember\npush " +
                                  std::to_string(mask) +
                                  ", '__proto__', r:1, 3, 'ASSetPropFlags'\ncallFunction\npop\n" +
                                  tail);
  };
  // Lookups: SWF 5 stops at any later version's mask, SWF 6 only at SWF 7's, SWF 7 at none.
  auto run = [&](int version, int mask) {
    return masked(version, mask, "push 'x', 1, 1\ninitObject", "push r:1, 'x'\ngetMember\ntrace");
  };
  EXPECT_EQ(run(5, 0), "1\n");
  EXPECT_EQ(run(5, 4096), "undefined\n");
  EXPECT_EQ(run(6, 1024), "undefined\n");
  EXPECT_EQ(run(6, 4096), "1\n");
  EXPECT_EQ(run(7, 8192), "1\n");
  // isPrototypeOf (like instanceof and for..in) stops at the next version's mask only.
  auto walk = [&](int version, int mask) {
    return masked(version, mask, "push 0\ninitObject",
                  "push r:1, 1, r:2, 'isPrototypeOf'\ncallMethod\ntrace");
  };
  EXPECT_EQ(walk(7, 4096), "false\n");
  EXPECT_EQ(walk(7, 8192), "true\n");
}

TEST(Avm1Flags, DeletedLinkIsStillReadThroughFromSwf7) {
  // r1 inherits x from r2; its link loses every flag, then `delete r1.__proto__` runs. SWF 7
  // code still reads x through the link, but isPrototypeOf no longer walks it.
  const std::string cut = R"(push 'x', 1, 1
initObject
store 2
pop
push 0
initObject
store 1
pop
push r:1, '__proto__', r:2
setMember
push 7, 0, '__proto__', r:1, 4, 'ASSetPropFlags'
callFunction
pop
push r:1, '__proto__'
delete
pop
push r:1, 'x'
getMember
trace
push r:1, 1, r:2, 'isPrototypeOf'
callMethod
trace
)";
  EXPECT_EQ(runScript(6, cut), "undefined\nfalse\n");
  EXPECT_EQ(runScript(7, cut), "1\nfalse\n");
}

TEST(Avm1Flags, HiddenPermanentAndReadOnly) {
  // 7 = hidden, permanent and read-only: no write, no delete, not listed; clearing 4 allows
  // the write again; clearing 1 lists it.
  const std::string attempts = R"(push r:1, 'a', 2
setMember
push r:1, 'a'
delete
trace
push r:1, 'a'
getMember
trace
push 4, 0, 'a', r:1, 4, 'ASSetPropFlags'
callFunction
pop
push r:1, 'a', 3
setMember
push r:1, 'a'
getMember
trace
)";
  EXPECT_EQ(runScript(6, objectWithFlags(7) + attempts + kReport), "false\n1\n3\n3\ntrue\n");
  const std::string unhide = "push 1, 0, 'a', r:1, 4, 'ASSetPropFlags'\ncallFunction\npop\n";
  EXPECT_EQ(runScript(6, objectWithFlags(7) + attempts + unhide + kReport),
            "false\n1\n3\n3\na\ntrue\n");
  // Writing a property the version cannot see makes it seen, and keeps it permanent.
  EXPECT_EQ(runScript(5, objectWithFlags(2 | 128) + R"(push r:1, 'a', 5
setMember
push r:1, 'a'
delete
trace
push r:1, 'a'
getMember
trace
)"),
            "false\n5\n");
}

TEST(Avm1Flags, WritingAMaskedPropertyMakesItSeenButSwf6KeepsSwf7sHidden) {
  // r1.a = "w", then r1.a is read before and after ASSetPropFlags clears every flag.
  const std::string writeAndRead = R"(push r:1, 'a', 'w'
setMember
push r:1, 'a'
getMember
trace
push 8191, 0, 'a', r:1, 4, 'ASSetPropFlags'
callFunction
pop
push r:1, 'a'
getMember
trace
)";
  struct Case {
    int version, mask;
    const char* expected;
  };
  const Case cases[] = {
      {5, 1024, "w\nw\n"},
      {6, 1024, "undefined\nw\n"},  // stored, still hidden
      {6, 4096, "w\nw\n"},
      {7, 4096, "w\nw\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(runScript(c.version, objectWithFlags(c.mask) + writeAndRead), c.expected)
        << "v" << c.version << " mask " << c.mask;
}

TEST(Avm1Flags, BuiltInsCarryTheOriginalFlags) {
  struct Case {
    int version;
    const char* source;
    const char* expected;
  };
  const Case cases[] = {
      // Methods of built-in prototypes are permanent; Math's members are read-only too.
      {6, "push 'Object'\ngetVariable\npush 'prototype'\ngetMember\npush 'toString'\ndelete\ntrace",
       "false\n"},
      {6,
       "push 'Math'\ngetVariable\npush 'PI', 3\nsetMember\npush 'Math'\ngetVariable\n"
       "push 'PI'\ngetMember\npush 3\nequals2\ntrace",
       "false\n"},
      // SWF 5 cannot see a function's __proto__, nor find Function.prototype's methods through
      // it; SWF 6 can.
      {5,
       "function f()\npush 'x'\ntrace\nend\npush 'f'\ngetVariable\npush '__proto__'\ngetMember\n"
       "typeof\ntrace\npush null, 1, 'f'\ngetVariable\npush 'call'\ncallMethod\npop",
       "undefined\n"},
      {6,
       "function f()\npush 'x'\ntrace\nend\npush 'f'\ngetVariable\npush '__proto__'\ngetMember\n"
       "typeof\ntrace\npush null, 1, 'f'\ngetVariable\npush 'call'\ncallMethod\npop",
       "object\nx\n"},
      // Every function names Function as its constructor; a function's prototype names it back.
      {6,
       "function f()\nend\npush 'f'\ngetVariable\npush 'constructor'\ngetMember\npush "
       "'Function'\ngetVariable\nequals2\ntrace\npush 'f'\ngetVariable\npush "
       "'prototype'\ngetMember\npush 'constructor'\ngetMember\npush 'f'\ngetVariable\nequals2\n"
       "trace",
       "true\ntrue\n"},
      // `new` records the constructor on the object below SWF 7 only; `{}` always has one.
      {6, "push 'constructor', 1, 0, 'Object'\nnewObject\npush 'hasOwnProperty'\ncallMethod\ntrace",
       "true\n"},
      {7,
       "push 'constructor', 1, 0, 'Object'\nnewObject\npush 'hasOwnProperty'\ncallMethod\ntrace\n"
       "push 'constructor', 1, 0\ninitObject\npush 'hasOwnProperty'\ncallMethod\ntrace",
       "false\ntrue\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(runScript(c.version, c.source), c.expected) << "v" << c.version << ":\n" << c.source;
}

}  // namespace
