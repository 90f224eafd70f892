// Loading and keeping data from scripts: LoadVars, XML, loadVariables, loadMovie,
// MovieClipLoader and SharedObject, against files in a temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core_test_movies.h"
#include "swf/author/action_assembler.h"

namespace {

using namespace rvtest;
namespace fs = std::filesystem;

class Avm1Loading : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("rv_loading_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "movies");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& bytes) {
    fs::path p = dir_ / "movies" / name;
    std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return p.string();
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return write(name, std::string(bytes.begin(), bytes.end()));
  }

  // A movie whose first frame runs `script` (then stops), with an empty clip named "clip".
  static std::vector<uint8_t> movie(const std::string& script, int version = 7) {
    SwfWriter w(version, 100, 100, 10);
    TagList sprite;
    sprite.showFrame();
    sprite.end();
    w.defineSprite(1, sprite);
    PlaceParams p = placeNew(1, 1);
    p.name = "clip";
    w.placeObject2(p);
    auto code = assembleActions(script + "\nstop");
    code.push_back(0);
    w.doAction(code);
    w.showFrame();
    w.showFrame();
    return w.finish();
  }

  // Plays `script` from movies/main.swf for `frames` frames; returns the traces.
  std::string play(const std::string& script, int frames = 3, int version = 7) {
    std::string traced;
    swf::Player p;
    p.setSharedObjectDir((dir_ / "so").string());
    p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
    p.load(write("main.swf", movie(script, version)));
    for (int i = 0; i < frames; ++i) p.advance(100);
    return traced;
  }

  fs::path dir_;
};

// Sets `obj.onLoad` (or another handler) to a function tracing its argument and this.<member>.
std::string handler(const std::string& obj, const std::string& event, const std::string& member) {
  return "push '" + obj + "'\ngetVariable\npush '" + event +
         "'\nfunction (a)\npush 'a'\ngetVariable\ntrace\npush 'this'\ngetVariable\npush '" +
         member + "'\ngetMember\ntrace\nend\nsetMember\n";
}

// obj.method(arg) with its result traced.
std::string callTraced(const std::string& obj, const std::string& method,
                       const std::string& arg) {
  return "push " + arg + ", 1, '" + obj + "'\ngetVariable\npush '" + method +
         "'\ncallMethod\ntrace\n";
}

std::string newObject(const std::string& var, const std::string& cls,
                      const std::string& arg = "") {
  return "push '" + var + "'" + (arg.empty() ? ", 0" : ", " + arg + ", 1") + ", '" + cls +
         "'\nnewObject\nsetVariable\n";
}

TEST_F(Avm1Loading, LoadVarsArriveOnALaterFrameFromBesideTheMovie) {
  write("vars.txt", "a=1&b=two+words%21&=skipped&c");
  std::string s = newObject("lv", "LoadVars") + handler("lv", "onLoad", "b") +
                  callTraced("lv", "load", "'vars.txt'") +
                  "push 'lv'\ngetVariable\npush 'b'\ngetMember\ntrace\n";
  EXPECT_EQ(play(s), "true\nundefined\ntrue\ntwo words!\n");
}

}  // namespace
