// The script machine against runaway and hostile code, and its collector.
#include <gtest/gtest.h>

#include "avm1_support.h"
#include "swf/avm1/vm.h"

namespace {

using rvtest::runScripts;

// Makes `o` one prototype link longer: a new object whose __proto__ is the old `o`.
const std::string kChainOneLonger = R"(push 'p', 0, 'Object'
  newObject
  setVariable
  push 'p'
  getVariable
  push '__proto__', 'o'
  getVariable
  setMember
  push 'o', 'p'
  getVariable
  setVariable
)";

TEST(Avm1Limits, BadBlocksEndAndTheNextBlockRuns) {
  std::string deepWith;
  for (int i = 0; i < 1000; ++i) deepWith += "push 'Math'\ngetVariable\nwith\n";
  for (int i = 0; i < 1000; ++i) deepWith += "end\n";
  const std::vector<std::string> bad = {
      "raw 0x99 0x02 0x00 0xff 0x7f",                      // a jump far past the block
      "raw 0x99 0x02 0x00 0x00 0x80",                      // a jump before its start
      "raw 0x99 0x02 0x00 0xfd 0xff\npush 'never'",        // into its own header
      "raw 0x9b 0x07 0x00 0x66 0x00 0x00 0x00 0xff 0xff",  // a function longer than the block
      "raw 0x96 0x05 0x00 0x00 0x61",                      // a push cut short
      "push 1000000000\ninitArray\npop\npush 1000000000\ninitObject\npop",
      "push 1e300\ninitArray\npush 'length'\ngetMember\ntrace",
      deepWith,
  };
  for (const auto& b : bad) {
    auto run = runScripts(6, {b, "push 'next'\ntrace"});
    EXPECT_TRUE(run.traced == "next\n" || run.traced == "0\nnext\n") << b.substr(0, 80) << "\n"
                                                                     << run.traced;
  }
}

// A constant past the pool, or with none declared, reads undefined and the push goes on.
TEST(Avm1Limits, MissingConstantsReadUndefined) {
  rvtest::runCases({{6, "push c:5, 24\ntrace\ntrace", "24\nundefined\n"},
                    {6, "constants 'foo'\npush c:0, c:1\ntrace\ntrace", "undefined\nfoo\n"}});
}

TEST(Avm1Limits, RunawayScriptsAreStoppedAndReported) {
  auto loop = runScripts(6, {"loop:\njump loop", "push 'next'\ntrace"}, 0, 100);
  EXPECT_EQ(loop.timeouts, 1);
  EXPECT_EQ(loop.traced, "next\n");
  // Recursion ends at the depth limit rather than exhausting the stack, and, as in the original
  // player, no script of the movie runs after that.
  auto deep = runScripts(6, {R"(function r()
                                  push 0, 'r'
                                  callFunction
                                end
                                push 0, 'r'
                                callFunction
                                push 'unreached'
                                trace)",
                             "push 'next'\ntrace"});
  EXPECT_EQ(deep.traced, "");
  // A string doubling itself stops at the time limit or the length bound, not out of memory.
  auto grow = runScripts(6,
                         {R"(push 's', 'x'
                                setVariable
                                loop:
                                push 's', 's'
                                getVariable
                                push 's'
                                getVariable
                                add2
                                setVariable
                                jump loop)",
                          "push 'next'\ntrace"},
                         0, 2000);
  EXPECT_EQ(grow.traced, "next\n");
  // A prototype chain grown without end ends the script once a lookup passes 256 levels.
  auto chain = runScripts(
      6,
      {"push 'o', 0, 'Object'\nnewObject\nsetVariable\nloop:\n" + kChainOneLonger + R"(push 'o'
                                getVariable
                                push 'x'
                                getMember
                                pop
                                jump loop)",
       "push 'next'\ntrace"},
      0, 2000);
  EXPECT_EQ(chain.timeouts, 0);
  EXPECT_EQ(chain.traced, "next\n");
}

TEST(Avm1Limits, WritesSearchAChainOf257AtMost) {
  // A write looks up the chain for a setter; the step off the chain's end counts, so a write
  // to a name no object of a chain 257 objects long holds ends the script. The chain here is
  // the object, `links` more and Object.prototype.
  auto write = [](int links) {
    return rvtest::runScript(6, R"(push 'o', 0, 'Object'
                                   newObject
                                   setVariable
                                   push )" +
                                    std::to_string(links) + R"(
                                   store 1
                                   pop
                                   loop:
                                   )" +
                                    kChainOneLonger +
                                    R"(push r:1
                                   decrement
                                   store 1
                                   if loop
                                   push 'o'
                                   getVariable
                                   push 'x', 1
                                   setMember
                                   push 'written'
                                   trace)");
  };
  EXPECT_EQ(write(254), "written\n");
  EXPECT_EQ(write(255), "");
}

TEST(Avm1Limits, CyclesAreCollectedAndRootsKept) {
  // Every pass of frame 1 builds 20000 objects in pairs that refer to each other; one object
  // is kept on the timeline. The heap stays flat and the kept one stays readable.
  auto cycles = swf::author::assembleActions(R"(
    push 'keep', 'kept'
    setVariable
    push 0
    store 1
    pop
    loop:
    push r:1, 10000
    less2
    not
    if done
    push 0, 'Object'
    newObject
    store 2
    pop
    push 0, 'Object'
    newObject
    store 3
    pop
    push r:2, 'other', r:3
    setMember
    push r:3, 'other', r:2
    setMember
    push r:1
    increment
    store 1
    pop
    jump loop
    done:)");
  cycles.push_back(0);
  rvtest::SwfWriter w(6, 100, 100, 10);
  w.doAction(cycles);
  w.showFrame();
  auto check = swf::author::assembleActions("push 'keep'\ngetVariable\ntrace");
  check.push_back(0);
  w.doAction(check);
  w.showFrame();
  w.end();
  swf::Player p;
  std::string traced;
  p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
  rvtest::show(p, w.finish());
  size_t firstPeak = 0, lastPeak = 0;
  for (int i = 0; i < 40; ++i) {
    p.advance(100);
    size_t live = p.scripts()->liveCells();
    if (i < 4) firstPeak = std::max(firstPeak, live);
    if (i >= 36) lastPeak = std::max(lastPeak, live);
  }
  EXPECT_LE(lastPeak, firstPeak + 1000);
  p.scripts()->collect();
  EXPECT_LT(p.scripts()->liveCells(), 5000u);
  EXPECT_NE(traced.find("kept\n"), std::string::npos);
}

}  // namespace
