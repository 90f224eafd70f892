// Stage.displayState: scripts ask to fill the screen and leave it; the host and the Stage
// listeners hear of it.
#include <gtest/gtest.h>

#include "avm1_support.h"

namespace {

using namespace rvtest;

// A listener tracing each Stage event with the state and size it sees.
const char* kListener =
    "push 'l', 0, 'Object'\nnewObject\nsetVariable\n"
    "push 'l'\ngetVariable\npush 'onResize'\nfunction ()\n"
    "push 'resize ', 'Stage'\ngetVariable\npush 'width'\ngetMember\nadd2\ntrace\nend\nsetMember\n"
    "push 'l'\ngetVariable\npush 'onFullScreen'\nfunction (on)\n"
    "push 'full ', 'on'\ngetVariable\nadd2\ntrace\nend\nsetMember\n"
    "push 'l'\ngetVariable\npush 1, 'Stage'\ngetVariable\npush 'addListener'\ncallMethod\npop\n";

std::string setState(const std::string& value) {
  return "push 'Stage'\ngetVariable\npush 'displayState', '" + value +
         "'\nsetMember\npush 'Stage'\ngetVariable\npush 'displayState'\ngetMember\ntrace\n";
}

struct Heard {
  std::string traced;
  std::string host;  // what onDisplayState heard
};

Heard run(const std::string& scaleMode, const std::vector<std::string>& values) {
  std::string script = std::string(kListener) + "push 'Stage'\ngetVariable\npush 'scaleMode', '" +
                       scaleMode + "'\nsetMember\n";
  for (const auto& v : values) script += setState(v);
  SwfWriter w(8, 200, 150, 10);
  auto code = assembleActions(script);
  code.push_back(0);
  w.doAction(code);
  w.showFrame();
  w.end();
  swf::Player p;
  p.setScreenSize(1024, 768);
  Heard r;
  p.onTrace = [&](const std::string& t) { r.traced += t + "\n"; };
  p.onDisplayState = [&](bool on) { r.host += on ? "on " : "off "; };
  show(p, w.finish());
  return r;
}

TEST(StageDisplayState, ChangesReachTheHostAndTheListenersInOrder) {
  struct Case {
    std::string scaleMode;
    std::vector<std::string> values;
    std::string traced, host;
  } cases[] = {
      // Any case is taken; a repeated or unknown state changes nothing.
      {"showAll",
       {"FULLSCREEN", "fullScreen", "maximized", "Normal"},
       "full true\nfullScreen\nfullScreen\nfullScreen\nfull false\nnormal\n",
       "on off "},
      // A stage that does not scale takes the screen's size, and says so first.
      {"noScale",
       {"fullScreen", "normal"},
       "resize 1024\nfull true\nfullScreen\nresize 200\nfull false\nnormal\n",
       "on off "},
  };
  for (const Case& c : cases) {
    Heard r = run(c.scaleMode, c.values);
    EXPECT_EQ(r.traced, c.traced) << c.scaleMode;
    EXPECT_EQ(r.host, c.host) << c.scaleMode;
  }
}

TEST(StageDisplayState, ANewMovieStartsOutOfFullScreen) {
  SwfWriter w(8, 200, 150, 10);
  auto code = assembleActions(setState("fullScreen"));
  code.push_back(0);
  w.doAction(code);
  w.showFrame();
  w.end();
  swf::Player p;
  show(p, w.finish());
  ASSERT_TRUE(p.fullScreen());
  SwfWriter empty(8, 200, 150, 10);
  empty.showFrame();
  empty.end();
  show(p, empty.finish());
  EXPECT_FALSE(p.fullScreen());
}

}  // namespace
