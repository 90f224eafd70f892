#pragma once
// Runs assembled actions in a one-frame movie and returns what they traced, one line each.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_movies.h"
#include "swf/author/action_assembler.h"

namespace rvtest {

struct ScriptRun {
  std::string traced;
  int timeouts = 0;
};

// `blocks` are assembled one DoAction each, all in the first frame; `frames` more frame
// intervals follow.
inline ScriptRun runScripts(int version, const std::vector<std::string>& blocks, int frames = 0,
                            double timeLimitMs = 15000) {
  SwfWriter w(version, 100, 100, 10);
  for (const auto& b : blocks) {
    auto code = assembleActions(b);
    code.push_back(0);
    w.doAction(code);
  }
  w.showFrame();
  w.showFrame();
  w.end();
  swf::Player p;
  p.setScriptTimeLimit(timeLimitMs);
  ScriptRun run;
  p.onTrace = [&](const std::string& t) { run.traced += t + "\n"; };
  p.onScriptTimeout = [&] { ++run.timeouts; };
  show(p, w.finish());
  for (int i = 0; i < frames; ++i) p.advance(100);
  return run;
}

inline std::string runScript(int version, const std::string& source) {
  return runScripts(version, {source}).traced;
}

// Makes the function `w` the watcher of o.t.
inline const std::string kWatchTWithW = R"(push 'w'
  getVariable
  push 't', 2, 'o'
  getVariable
  push 'watch'
  callMethod
  pop
)";

// One script of the given version and what it must trace.
struct ScriptCase {
  int version;
  std::string source;
  std::string expected;
};

inline void runCases(const std::vector<ScriptCase>& cases) {
  for (const ScriptCase& c : cases)
    EXPECT_EQ(runScript(c.version, c.source), c.expected) << "v" << c.version << ":\n" << c.source;
}

}  // namespace rvtest
