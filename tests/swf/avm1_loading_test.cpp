// Loading and keeping data from scripts: LoadVars, XML, loadVariables, loadMovie,
// MovieClipLoader and SharedObject, against files in a temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "avm1_support.h"
#include "core_test_movies.h"
#include "jpeg_support.h"
#include "swf/author/action_assembler.h"
#include "swf/avm1/builtins/load_text.h"

namespace {

using namespace rvtest;
namespace fs = std::filesystem;

class Avm1Loading : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = scratchDir("rv_loading_");
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

  // A movie whose frames run `scripts` (then it stops), with an empty clip named "clip".
  // `attributes` >= 0 gives it a FileAttributes tag with those flags.
  static std::vector<uint8_t> movie(const std::vector<std::string>& scripts, int version = 7,
                                    int attributes = -1) {
    SwfWriter w(version, 100, 100, 10);
    if (attributes >= 0) {
      const uint8_t flags[4] = {uint8_t(attributes), 0, 0, 0};
      w.tag(69, flags);
    }
    TagList sprite;
    sprite.showFrame();
    sprite.end();
    w.defineSprite(1, sprite);
    PlaceParams p = placeNew(1, 1);
    p.name = "clip";
    w.placeObject2(p);
    for (size_t i = 0; i < scripts.size(); ++i) {
      auto code = assembleActions(scripts[i] + (i + 1 == scripts.size() ? "\nstop" : ""));
      code.push_back(0);
      w.doAction(code);
      w.showFrame();
    }
    w.showFrame();
    return w.finish();
  }
  static std::vector<uint8_t> movie(const std::string& script, int version = 7) {
    return movie(std::vector<std::string>{script}, version);
  }

  // Plays `scripts` (one a frame) from movies/main.swf for `frames` frames; returns the traces.
  std::string play(const std::vector<std::string>& scripts, int frames, int version = 7,
                   int attributes = -1) {
    std::string traced;
    swf::Player p;
    p.setSharedObjectDir((dir_ / "so").string());
    p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
    p.load(write("main.swf", movie(scripts, version, attributes)));
    for (int i = 0; i < frames; ++i) p.advance(100);
    return traced;
  }
  std::string play(const std::string& script, int frames = 3, int version = 7) {
    return play(std::vector<std::string>{script}, frames, version);
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
std::string callTraced(const std::string& obj, const std::string& method, const std::string& arg) {
  return "push " + arg + ", 1, '" + obj + "'\ngetVariable\npush '" + method +
         "'\ncallMethod\ntrace\n";
}

std::string newObject(const std::string& var, const std::string& cls, const std::string& arg = "") {
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

TEST_F(Avm1Loading, RefusedAndMissingFilesReportFailure) {
  std::string s = newObject("lv", "LoadVars") + handler("lv", "onLoad", "loaded") +
                  callTraced("lv", "load", "'http://example.com/vars.txt'") +
                  newObject("lw", "LoadVars") + handler("lw", "onLoad", "loaded") +
                  callTraced("lw", "load", "'missing.txt'");
  EXPECT_EQ(play(s), "true\ntrue\nfalse\nfalse\nfalse\nfalse\n");
}

TEST_F(Avm1Loading, XmlParsesWithTheOriginalRulesAndStatus) {
  struct Case {
    const char* source;
    const char* expected;
  } cases[] = {
      {"<a b=\"1\" c='x&amp;y'><d>t&lt;</d><e/></a>",
       "<a b=\"1\" c=\"x&amp;y\"><d>t&lt;</d><e /></a>\n0\n"},
      {"<?xml version=\"1.0\"?><!DOCTYPE a><a><![CDATA[<b>]]><!-- c --></a>",
       "<?xml version=\"1.0\"?><!DOCTYPE a><a>&lt;b&gt;</a>\n0\n"},
      {"<a><b></a><c/>", "<a><b /></a>\n-9\n"},
      {"<b><c/></a>", "<b><c /></b>\n-10\n"},
      {"<a A=\"x></a>", "\n-8\n"},
      {"<a/><!-- <b/>", "<a />\n-5\n"},
      {"<a><![CDATA[x", "<a />\n-2\n"},
      {"<a A/>", "\n-6\n"},
  };
  for (const Case& c : cases) {
    std::string s = newObject("x", "XML", "'" + std::string(c.source) + "'") +
                    "push 'x'\ngetVariable\ntrace\npush 'x'\ngetVariable\npush "
                    "'status'\ngetMember\ntrace";
    EXPECT_EQ(play(s, 0), c.expected) << c.source;
  }
}

TEST_F(Avm1Loading, XmlNodeApiEditsTheTree) {
  // x = new XML("<r><a/><b/></r>"); r = x.firstChild; n = x.createElement("n");
  // r.insertBefore(n, r.lastChild); n.appendChild(x.createTextNode("t"));
  // r.appendChild(r) is refused (SWF 8); clone deep of r, then r.firstChild.removeNode().
  std::string s = newObject("x", "XML", "'<r><a/><b/></r>'") +
                  "push 'r', 'x'\ngetVariable\npush 'firstChild'\ngetMember\nsetVariable\n"
                  "push 'n', 'n', 1, 'x'\ngetVariable\npush 'createElement'\ncallMethod\n"
                  "setVariable\n"
                  "push 'r'\ngetVariable\npush 'lastChild'\ngetMember\npush 'n'\ngetVariable\n"
                  "push 2, 'r'\ngetVariable\npush 'insertBefore'\ncallMethod\npop\n"
                  "push 't', 1, 'x'\ngetVariable\npush 'createTextNode'\ncallMethod\n"
                  "push 1, 'n'\ngetVariable\npush 'appendChild'\ncallMethod\npop\n"
                  "push 'r'\ngetVariable\npush 1, 'r'\ngetVariable\npush "
                  "'appendChild'\ncallMethod\npop\n"
                  "push 'c', true, 1, 'r'\ngetVariable\npush 'cloneNode'\ncallMethod\n"
                  "setVariable\n"
                  "push 0, 'r'\ngetVariable\npush 'firstChild'\ngetMember\npush "
                  "'removeNode'\ncallMethod\npop\n"
                  "push 'x'\ngetVariable\ntrace\npush 'c'\ngetVariable\ntrace\n"
                  "push 'n'\ngetVariable\npush 'parentNode'\ngetMember\npush "
                  "'nodeName'\ngetMember\ntrace\n"
                  "push 'r'\ngetVariable\npush 'childNodes'\ngetMember\npush "
                  "'length'\ngetMember\ntrace\n";
  EXPECT_EQ(play(s, 0, 8), "<r><n>t</n><b /></r>\n<r><a /><n>t</n><b /></r>\nr\n2\n");
}

TEST(Avm1Xml, NodesAndDocumentsTakeTheirArgumentsAsTheOriginalDoes) {
  runCases({
      // Only type 1 makes an element; null names the node "null".
      {7,
       "push 'v', 0.5, 2, 'XMLNode'\nnewObject\ntrace\n"
       "push null, 1, 2, 'XMLNode'\nnewObject\ntrace",
       "v\n<null />\n"},
      // Without a name there is no node: toString gives nothing, createElement undefined.
      {7,
       "push 1, 1, 'XMLNode'\nnewObject\ntrace\n"
       "push 0, 'XML'\nnewObject\npush 'createElement'\ncallMethod\ntrace",
       "[type Object]\nundefined\n"},
      // Attribute names lose their entities like the values.
      {7,
       "push \"<a &amp;='1'/>\", 1, 'XML'\nnewObject\npush 'firstChild'\ngetMember\n"
       "push 'attributes'\ngetMember\npush '&'\ngetMember\ntrace",
       "1\n"},
      // parseXML without text keeps the tree; a new text drops the old declarations; writing
      // undefined to a document's property changes nothing.
      {7,
       "push 'x', \"<?xml d?><a/>\", 1, 'XML'\nnewObject\nsetVariable\n"
       "push 0, 'x'\ngetVariable\npush 'parseXML'\ncallMethod\npop\n"
       "push 'x'\ngetVariable\ntrace\n"
       "push '<b/>', 1, 'x'\ngetVariable\npush 'parseXML'\ncallMethod\npop\n"
       "push 'x'\ngetVariable\npush 'ignoreWhite', true\nsetMember\n"
       "push 'x'\ngetVariable\npush 'ignoreWhite', undefined\nsetMember\n"
       "push 'x'\ngetVariable\ntrace\n"
       "push 'x'\ngetVariable\npush 'ignoreWhite'\ngetMember\ntrace",
       "<?xml d?><a />\n<b />\ntrue\n"},
  });
}

TEST_F(Avm1Loading, XmlNodesOfOlderMoviesMayBecomeTheirOwnAncestors) {
  // r = new XML("<r><a/></r>").firstChild; r.appendChild(r); a = r.firstChild;
  // a.appendChild(r): printing and cloning the cycle still end, each node once.
  std::string s = newObject("x", "XML", "'<r><a/></r>'") +
                  "push 'r', 'x'\ngetVariable\npush 'firstChild'\ngetMember\nsetVariable\n"
                  "push 'r'\ngetVariable\npush 1, 'r'\ngetVariable\npush "
                  "'appendChild'\ncallMethod\npop\n"
                  "push 'r'\ngetVariable\npush 'lastChild'\ngetMember\npush "
                  "'nodeName'\ngetMember\ntrace\n"
                  "push 'r'\ngetVariable\npush 1, 'r'\ngetVariable\npush 'firstChild'\n"
                  "getMember\npush 'appendChild'\ncallMethod\npop\n"
                  "push 'r'\ngetVariable\ntrace\n"
                  "push true, 1, 'r'\ngetVariable\npush 'cloneNode'\ncallMethod\ntrace\n"
                  "push 'r'\ngetVariable\npush 'namespaceURI'\ngetMember\ntrace\n";
  EXPECT_EQ(play(s, 0, 7), "r\n<r><a></a></r>\n<r><a /></r>\n\n");
}

TEST_F(Avm1Loading, XmlNestedVeryDeeplyLoadsPrintsAndIsCollected) {
  const int kDepth = 100000;
  std::string deep;
  for (int i = 0; i < kDepth; ++i) deep += "<a>";
  deep += "x";
  for (int i = 0; i < kDepth; ++i) deep += "</a>";
  write("deep.xml", deep);
  // onLoad traces status and the printed length; then the tree is dropped and collected.
  std::string s = newObject("x", "XML") +
                  "push 'x'\ngetVariable\npush 'onLoad'\n"
                  "function (ok)\npush 'this'\ngetVariable\npush 'status'\ngetMember\ntrace\n"
                  "push 0, 'this'\ngetVariable\npush 'toString'\ncallMethod\npush "
                  "'length'\ngetMember\ntrace\npush 'x', null\nsetVariable\nend\nsetMember\n" +
                  callTraced("x", "load", "'deep.xml'");
  EXPECT_EQ(play(s, 4), "true\n0\n" + std::to_string(deep.size()) + "\n");
}

TEST_F(Avm1Loading, LoadVariablesAndLoadMovieGoIntoClips) {
  write("vars.txt", "a=from+file");
  // The loaded movie says where it landed.
  write("child.swf", movie("push 'this'\ngetVariable\npush '_name'\ngetMember\ntrace"));
  write("notmovie.swf", "plain text");
  fs::create_directories(dir_ / "movies" / "dir.swf");
  std::string s =
      "push 'vars.txt', 'clip'\ngetURL2 192\n"
      "push 'dir.swf', 'clip'\ngetURL2 64\npush 'notmovie.swf', 'clip'\ngetURL2 64\n"
      "push 'http://example.com/a.swf', 'clip'\ngetURL2 64\n"
      "push 'clip'\ngetVariable\npush 'a'\ngetMember\ntrace\n";
  std::string check =
      "push 'clip'\ngetVariable\npush 'a'\ngetMember\ntrace\n"
      "push 'child.swf', 'clip'\ngetURL2 64\n";
  std::string traced = play({s, "", check}, 5);
  EXPECT_EQ(traced, "undefined\nfrom file\nclip\n");
}

TEST_F(Avm1Loading, LoadVariablesFillsTextFieldsButNotPlainObjects) {
  write("vars.txt", "a=from+file");
  std::string s =
      "push 100, 100, 0, 0, 0, 'f', 6, 'this'\ngetVariable\npush 'createTextField'\n"
      "callMethod\npop\n" +
      newObject("o", "Object") +
      "push 'vars.txt', 'f'\ngetURL2 192\npush 'vars.txt', 'o'\ngetURL2 192\n";
  std::string check =
      "push 'f'\ngetVariable\npush 'a'\ngetMember\ntrace\n"
      "push 'o'\ngetVariable\npush 'a'\ngetMember\ntrace\n";
  std::string traced = play({s, "", check}, 4);
  EXPECT_EQ(traced, "from file\nundefined\n");
}

// What a clip a movie was loaded into looks like afterwards: references kept from before
// equal it, and it tells the address and version of the movie it shows.
TEST_F(Avm1Loading, LoadedMoviesKeepTheClipAndTellTheirOrigin) {
  write("child.swf", movie("", 6));
  std::string s =
      "push 'x'\npush 'clip'\ngetVariable\nsetVariable\n"
      "push 'child.swf', 'clip'\ngetURL2 64\n";
  std::string check =
      "push 'x'\ngetVariable\npush 'clip'\ngetVariable\nequals2\ntrace\n"
      "push 'x'\ngetVariable\npush 'clip'\ngetVariable\nstrictEquals\ntrace\n"
      "push 0, 'clip'\ngetVariable\npush 'getSWFVersion'\ncallMethod\ntrace\n"
      "push 0, 'this'\ngetVariable\npush 'getSWFVersion'\ncallMethod\ntrace\n"
      "push 'clip'\ngetVariable\npush '_url'\ngetMember\ntrace\n"
      "push '_url'\ngetVariable\ntrace\n";
  std::string traced = play({s, "", check}, 4);
  std::string dir = "file://" + fs::absolute(dir_ / "movies").lexically_normal().string();
  EXPECT_EQ(traced, "true\ntrue\n6\n7\n" + dir + "/child.swf\n" + dir + "/main.swf\n");
}

// A loaded movie's `_url` keeps its address as the script wrote it: escapes that found the
// file are not decoded, and "." is not folded away.
TEST_F(Avm1Loading, LoadedMoviesTellTheirAddressAsWritten) {
  write("child.swf", movie("push '_url'\ngetVariable\ntrace", 6));
  std::string traced = play({"push 'ch%69ld.swf', '_level1'\ngetURL2 0", "",
                             "push './child.swf', 'clip'\ngetURL2 64", "", ""},
                            6);
  std::string dir = "file://" + fs::absolute(dir_ / "movies").lexically_normal().string();
  EXPECT_EQ(traced, dir + "/ch%69ld.swf\n" + dir + "/./child.swf\n");
}

TEST_F(Avm1Loading, ALevelNameFindsTheLevelBeforeAChildOfThatName) {
  std::string s =
      "push '_level0', 0, 2, 'createEmptyMovieClip'\ncallFunction\npop\n"
      "push '_level0'\ngetVariable\ntrace\n"
      "push 'this'\ngetVariable\npush '_level0', 'var'\nsetMember\n"
      "push '_level0'\ngetVariable\ntrace\n";
  EXPECT_EQ(play(s), "_level0\nvar\n");
}

TEST_F(Avm1Loading, PicturesLoadIntoClipsUnderWhatScriptsDraw) {
  write("red.jpg", drawtest::encodeJpeg(20, 10, swf::RGBA{255, 0, 0, 255}));
  write("broken.jpg", std::string("\xFF\xD8\xFF\xE0 not really a picture"));
  fs::copy_file(dir_ / "movies" / "red.jpg", dir_ / "movies" / "jpeg.swf");  // named as a movie
  std::string size =
      "push 'clip'\ngetVariable\npush '_width'\ngetMember\ntrace\n"
      "push 'clip'\ngetVariable\npush '_height'\ngetMember\ntrace\n";
  // What the clip draws lies under the picture: a blue square wider than it shows beside it.
  std::string drawBlue =
      "push 255, 1, 'clip'\ngetVariable\npush 'beginFill'\ncallMethod\npop\n"
      "push 0, 30, 2, 'clip'\ngetVariable\npush 'lineTo'\ncallMethod\npop\n"
      "push 30, 30, 2, 'clip'\ngetVariable\npush 'lineTo'\ncallMethod\npop\n"
      "push 30, 0, 2, 'clip'\ngetVariable\npush 'lineTo'\ncallMethod\npop\n"
      "push 0, 'clip'\ngetVariable\npush 'endFill'\ncallMethod\npop\n";
  struct {
    const char* file;
    const char* traced;
  } const cases[] = {{"red.jpg", "20\n10\n"}, {"jpeg.swf", "20\n10\n"}, {"broken.jpg", "0\n0\n"}};
  for (const auto& c : cases) {
    std::string traced;
    swf::Player p;
    p.onTrace = [&](const std::string& t) { traced += t + "\n"; };
    std::string l = "push '" + std::string(c.file) + "', 'clip'\ngetURL2 64\n";
    p.load(write("main.swf", movie({l, "", size + drawBlue})));
    for (int i = 0; i < 5; ++i) p.advance(100);
    EXPECT_EQ(traced, c.traced) << c.file;
    if (std::string(c.file) != "red.jpg") continue;
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100);
    cairo_t* cr = cairo_create(out);
    p.render(cr, 100, 100);
    cairo_destroy(cr);
    cairo_surface_flush(out);
    auto at = [&](int x, int y) {
      auto* row = cairo_image_surface_get_data(out) + cairo_image_surface_get_stride(out) * y;
      return reinterpret_cast<uint32_t*>(row)[x] & 0xFFFFFF;
    };
    EXPECT_GE(at(10, 5) >> 16, 0xF0u);  // the picture (red, within the JPEG's loss)
    EXPECT_LE(at(10, 5) & 0xFFFF, 0x1010u);
    EXPECT_EQ(at(10, 20), 0x0000FFu);  // the drawing below it shows where it is not
    cairo_surface_destroy(out);
  }
}

TEST_F(Avm1Loading, MovieClipLoaderTellsItsListeners) {
  write("child.swf", movie(""));
  std::string events;
  for (const char* e : {"onLoadStart", "onLoadComplete", "onLoadInit", "onLoadError"})
    events += "push 'l'\ngetVariable\npush '" + std::string(e) + "'\nfunction (c, e)\npush '" + e +
              " '\npush 'c'\ngetVariable\nadd2\npush ' '\nadd2\npush 'e'\ngetVariable\nadd2\n"
              "trace\nend\nsetMember\n";
  std::string s = newObject("l", "MovieClipLoader") + events +
                  "push 'clip'\ngetVariable\npush 'child.swf', 2, 'l'\ngetVariable\npush "
                  "'loadClip'\ncallMethod\ntrace\n"
                  "push 'clip'\ngetVariable\npush 'missing.swf', 2, 'l'\ngetVariable\npush "
                  "'loadClip'\ncallMethod\ntrace\n";
  EXPECT_EQ(play(s),
            "true\ntrue\nonLoadStart _level0.clip undefined\nonLoadComplete _level0.clip 0\n"
            "onLoadError _level0.clip URLNotFound\nonLoadInit _level0.clip undefined\n");
}

// A movie shows its first frame with the pass after it arrived, even when a listener stopped
// the clip before that.
TEST_F(Avm1Loading, AMovieStoppedAsItArrivesStillShowsItsFirstFrame) {
  write("child.swf", movie("push 'child'\ntrace"));
  std::string s = newObject("l", "MovieClipLoader") +
                  "push 'l'\ngetVariable\npush 'onLoadComplete'\nfunction (c)\n"
                  "push 0, 'c'\ngetVariable\npush 'stop'\ncallMethod\npop\n"
                  "push 'stopped'\ntrace\nend\nsetMember\n"
                  "push 'clip'\ngetVariable\npush 'child.swf', 2, 'l'\ngetVariable\npush "
                  "'loadClip'\ncallMethod\npop\n";
  EXPECT_EQ(play(s), "stopped\nchild\n");
}

TEST_F(Avm1Loading, MovieClipLoaderTargetsAndWhatItReports) {
  write("child.swf", movie(""));
  write("vars.txt", "a=1");
  std::string setup = newObject("l", "MovieClipLoader");
  for (const char* e : {"onLoadStart", "onLoadProgress", "onLoadError"})
    setup += "push 'l'\ngetVariable\npush '" + std::string(e) + "'\nfunction (c, e)\npush '" + e +
             " '\npush 'c'\ngetVariable\nadd2\npush ' '\nadd2\npush 'e'\ngetVariable\nadd2\n"
             "trace\nend\nsetMember\n";
  auto load = [](const std::string& url, const std::string& target) {
    return "push " + target + ", '" + url +
           "', 2, 'l'\ngetVariable\npush 'loadClip'\ncallMethod\npop\n";
  };
  struct Case {
    std::vector<std::string> frames;
    int attributes;
    std::string expected;
  } cases[] = {
      // A level named by text that is not there yet gets the movie, but nobody hears of it.
      {{setup + load("child.swf", "'_level4'"), "", "push '_level4'\ngetVariable\ntrace"},
       -1,
       "_level4\n"},
      // Addresses the movie may not reach are refused, missing files not found.
      {{setup + load("http://example.com/a.swf", "'clip'") + load("missing.swf", "'clip'")},
       -1,
       "onLoadError _level0.clip IllegalRequest\nonLoadError _level0.clip URLNotFound\n"},
      // A movie that asked for the network may read no local file.
      {{setup + load("child.swf", "'clip'") + newObject("lv", "LoadVars") +
        handler("lv", "onLoad", "a") + callTraced("lv", "load", "'vars.txt'")},
       1,
       "true\nonLoadError _level0.clip IllegalRequest\nfalse\nundefined\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(play(c.frames, 3, 7, c.attributes), c.expected) << c.frames[0];
}

// Event methods came with Flash 6: a SWF 5 clip hears only its clip events.
TEST_F(Avm1Loading, EventMethodsNeedSwf6) {
  std::string s = "push 'onEnterFrame'\nfunction ()\npush 'entered'\ntrace\nend\nsetVariable\n";
  EXPECT_EQ(play(s, 2, 5), "");
  EXPECT_EQ(play(s, 2, 6), "entered\nentered\n");
}

TEST_F(Avm1Loading, SharedObjectsPersistInSolFilesAndRefuseBadNames) {
  std::string first =
      "push 'so', 'hi', 1, 'SharedObject'\ngetVariable\npush 'getLocal'\n"
      "callMethod\nsetVariable\n"
      "push 'so'\ngetVariable\npush 'data'\ngetMember\npush 'n', 5\nsetMember\n"
      "push 'so'\ngetVariable\npush 'data'\ngetMember\npush 'list', 'b', 'a', 2\n"
      "initArray\nsetMember\n" +
      callTraced("so", "flush", "0");
  EXPECT_EQ(play(first, 0), "true\n");
  fs::path file = dir_ / "so" / "localhost" / fs::path((dir_ / "movies").string()).relative_path() /
                  "main.swf" / "hi.sol";
  ASSERT_TRUE(fs::exists(file)) << file;
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes.substr(0, 2), std::string("\x00\xBF", 2));
  EXPECT_EQ(bytes.substr(6, 4), "TCSO");

  std::string read =
      "push 'so', 'hi', 1, 'SharedObject'\ngetVariable\npush 'getLocal'\n"
      "callMethod\nsetVariable\npush 'so'\ngetVariable\npush 'data'\ngetMember\n"
      "push 'n'\ngetMember\ntrace\npush 'so'\ngetVariable\npush 'data'\n"
      "getMember\npush 'list'\ngetMember\ntrace\n";
  EXPECT_EQ(play(read, 0), "5\na,b\n");

  // Random bytes, and a file of 1 GB (sparse), read as empty objects.
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += char((i * 7919) >> 3);
  std::ofstream(file, std::ios::binary) << junk;
  EXPECT_EQ(play(read, 0), "undefined\nundefined\n");
  fs::resize_file(file, 1ull << 30);
  EXPECT_EQ(play(read, 0), "undefined\nundefined\n");

  for (const char* bad : {"'../x'", "'a/b'", "''"}) {
    std::string s = std::string("push ") + bad +
                    ", 1, 'SharedObject'\ngetVariable\npush 'getLocal'\ncallMethod\ntrace";
    EXPECT_EQ(play(s, 0), "null\n") << bad;
  }
}

TEST_F(Avm1Loading, WebPagesOpenOnlyFromAClick) {
  std::string open = "getURL 'http://example.com/', '_blank'";
  auto code = assembleActions(open);
  code.push_back(0);
  SwfWriter w(7, 100, 100, 10);
  w.defineShape(2, square(2000));
  w.defineButton2(3, {ButtonPart(0x9, 2)}, {ButtonHandler{0x8, code}});  // up + hit; on release
  w.placeObject2(placeNew(2, 3));
  auto frame = assembleActions(open + "\nstop");
  frame.push_back(0);
  w.doAction(frame);
  w.showFrame();
  std::vector<std::string> opened;
  swf::Player p;
  p.onOpenUrl = [&](const std::string& url) { opened.push_back(url); };
  p.load(write("main.swf", w.finish()));
  p.advance(100);
  EXPECT_TRUE(opened.empty());  // the frame's own request is dropped
  p.mouseMove(50, 50);
  p.mouseDown(50, 50);
  p.mouseUp(50, 50);
  EXPECT_EQ(opened, std::vector<std::string>{"http://example.com/"});
}

}  // namespace

namespace {

// Traces `expr`'s member chain: "x.firstChild.nodeName" → push x, getMember..., trace.
std::string traceChain(const std::string& chain) {
  std::string s;
  size_t start = 0;
  for (bool first = true;; first = false) {
    size_t dot = chain.find('.', start);
    std::string part = chain.substr(start, dot - start);
    s += "push '" + part + "'\n" + (first ? "getVariable\n" : "getMember\n");
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return s + "trace\n";
}

// `_lockroot` makes a clip the `_root` of what is inside it; a renamed clip prints its new path.
TEST_F(Avm1Loading, LockedRootsAndRenamedClips) {
  std::string s =
      "push 'x', 1, 'a', 2, 'createEmptyMovieClip'\ncallFunction\nsetVariable\n"
      "push 1, 'b', 2, 'x'\ngetVariable\npush 'createEmptyMovieClip'\ncallMethod\npop\n" +
      traceChain("x.b._root") + "push 'x'\ngetVariable\npush '_lockroot', 1\nsetMember\n" +
      traceChain("x.b._root") + traceChain("x._lockroot") +
      "push 'x'\ngetVariable\npush '_name', 'c'\nsetMember\n" + traceChain("x");
  EXPECT_EQ(play(s, 0), "_level0\n_level0.a\ntrue\n_level0.c\n");
}

}  // namespace

TEST_F(Avm1Loading, XmlNodePropertiesAreAccessorsOfThePrototype) {
  // A node made without both arguments is no node; a made one answers null where nothing is.
  std::string s = newObject("bad", "XMLNode") +
                  "push 'n', 'a::b', 1, 2, 'XMLNode'\nnewObject\n"
                  "setVariable\n" +
                  traceChain("bad.nodeType") + traceChain("n.firstChild") + traceChain("n.prefix") +
                  traceChain("n.localName") +
                  "push 'XMLNode'\ngetVariable\npush 'prototype'\ngetMember\npush "
                  "'nodeType'\ngetMember\ntrace\n"
                  // nodeName = undefined changes nothing; null becomes "null".
                  "push 'n'\ngetVariable\npush 'nodeName', undefined\nsetMember\n" +
                  traceChain("n.nodeName") +
                  "push 'n'\ngetVariable\npush 'nodeName', null\nsetMember\n" +
                  traceChain("n.nodeName") + traceChain("n.attributes.constructor");
  EXPECT_EQ(play(s, 0), "undefined\nnull\na\n:b\nundefined\na::b\nnull\nundefined\n");

  struct Case {
    const char* name;
    const char* expected;  // prefix, then local name
  } names[] = {{"a:b", "a\nb\n"}, {"a:", "\na:\n"}, {":", "\n:\n"}, {"::b", "\n:b\n"}};
  for (const Case& c : names) {
    std::string t = "push 'n', '" + std::string(c.name) + "', 1, 2, 'XMLNode'\nnewObject\n" +
                    "setVariable\n" + traceChain("n.prefix") + traceChain("n.localName");
    EXPECT_EQ(play(t, 0), c.expected) << c.name;
  }
}

TEST_F(Avm1Loading, XmlIdsNameTheirElements) {
  std::string s = newObject("x", "XML", "\"<a id='1'><b id='k'/></a>\"") +
                  "push 'x'\ngetVariable\npush 'k'\ngetMember\ntrace\n"
                  "push 'x'\ngetVariable\npush 'idMap'\ngetMember\npush 'k'\ngetMember\ntrace\n";
  EXPECT_EQ(play(s, 0, 7), "<b id=\"k\" />\nundefined\n");
  EXPECT_EQ(play(s, 0, 8), "undefined\n<b id=\"k\" />\n");
}

TEST_F(Avm1Loading, XmlDeclarationsAndOddEndTags) {
  struct Case {
    const char* source;
    const char* expected;  // docTypeDecl, then status
  } cases[] = {
      {"<!DOCTYPE a [ <!ENTITY e \"v\"> ]><a/>", "<!DOCTYPE a [ <!ENTITY e \"v\"> ]>\n0\n"},
      {"<!DOCTYPE a [ <a/>", "undefined\n-4\n"},
      {"<a/ ></a/>", "undefined\n-10\n"},
  };
  for (const Case& c : cases) {
    std::string s = newObject("x", "XML", "'" + std::string(c.source) + "'") +
                    traceChain("x.docTypeDecl") + traceChain("x.status");
    EXPECT_EQ(play(s, 0), c.expected) << c.source;
  }
}

TEST_F(Avm1Loading, LoadingMethodsWorkOnAnyObjectByNumber) {
  write("vars.txt", "a=1");
  // o = new Object; o.load = ASnative(301, 0); o.onData traces its text and the byte counts.
  std::string s = newObject("o", "Object") +
                  "push 'o'\ngetVariable\npush 'load', 0, 301, 2, 'ASnative'\ncallFunction\n"
                  "setMember\n" +
                  handler("o", "onData", "_bytesTotal") + callTraced("o", "load", "'vars.txt'") +
                  traceChain("o._bytesLoaded") + traceChain("o._bytesTotal") +
                  // A missing file gives undefined and leaves the counts it set.
                  newObject("m", "LoadVars") + handler("m", "onData", "_bytesLoaded") +
                  callTraced("m", "load", "'missing%00.txt'");
  EXPECT_EQ(play(s), "true\n0\nundefined\ntrue\na=1\n3\nundefined\n0\n");
}

TEST_F(Avm1Loading, RequestHeadersGatherInPairsOfStrings) {
  struct Case {
    const char* args;  // pushed arguments, last first, then their count
    const char* expected;
  } cases[] = {
      {"'V', 'K', 2", "K,V\n"},
      {"'V2', 'K2', 'V', 'K', 4", "K,V\n"},
      {"'V2', 'K2', 'V', 'K', 4\ninitArray\npush 1", "K,V,K2,V2\n"},
      {"'K', 1", "undefined\n"},
      {"1, 'K', 2", "undefined\n"},
      {"'V', 1, 2", "undefined\n"},
  };
  for (const Case& c : cases) {
    std::string s = newObject("lv", "LoadVars") + "push " + c.args +
                    ", 'lv'\ngetVariable\npush 'addRequestHeader'\ncallMethod\npop\n" +
                    traceChain("lv._customHeaders");
    EXPECT_EQ(play(s, 0), c.expected) << c.args;
  }
  // SWF 5 code cannot see the list it gets, so it stays empty.
  std::string s5 = newObject("x", "XML") +
                   "push 'V', 'K', 2, 'x'\ngetVariable\npush 'addRequestHeader'\ncallMethod\npop\n"
                   "push 'x'\ngetVariable\npush '_customHeaders'\ngetMember\ntrace\n";
  EXPECT_EQ(play(s5, 0, 5), "undefined\n");
}

TEST(LoadedText, ByteOrderMarksChooseTheEncoding) {
  struct Case {
    std::string bytes, text;
  } cases[] = {
      {"plain", "plain"},
      {"\xEF\xBB\xBFutf8", "utf8"},
      {std::string("\xFE\xFF\x00h\x04\x14", 6), "h\xD0\x94"},
      {std::string("\xFF\xFEh\x00\x3D\xD8\x00\xDE", 8), "h\xF0\x9F\x98\x80"},
      {std::string("\xFF\xFE\x00\xD8h\x00", 6), "\xEF\xBF\xBDh"},  // a lone surrogate
      {std::string("\xFF\xFEh\x00\x00\x00i\x00", 8), "h"},         // the text ends at a NUL
      {std::string("\xFE\xFF\x00", 3), ""},
      {std::string("\x00\x00\xFE\xFFx", 5), ""},  // UTF-32 is not read: it starts with NUL
      {std::string("a\0b", 3), "a"},
  };
  for (const Case& c : cases) EXPECT_EQ(swf::avm1::loadedText(c.bytes, 6), c.text);
}

TEST(LoadedText, Swf5TakesEveryByteAsACharacter) {
  struct Case {
    std::string bytes, text;
  } cases[] = {
      {"\xEF\xBB\xBF"
       "a",
       "\xC3\xAF\xC2\xBB\xC2\xBF"
       "a"},                                                        // the mark stays, as Latin-1
      {std::string("\xFF\xFEh\x00i\x00", 6), "\xC3\xBF\xC3\xBEh"},  // no UTF-16; ends at NUL
  };
  for (const Case& c : cases) EXPECT_EQ(swf::avm1::loadedText(c.bytes, 5), c.text);
}

TEST_F(Avm1Loading, LoadingClassesAnswerAsTheOriginalDoes) {
  struct Case {
    std::string script, expected;
  } cases[] = {
      // decode() without text answers false.
      {newObject("lv", "LoadVars") + "push 0, 'lv'\ngetVariable\npush 'decode'\ncallMethod\ntrace",
       "false\n"},
      // toString goes through _global.escape as it is now.
      {newObject("lv", "LoadVars") +
           "push 'lv'\ngetVariable\npush 'a', 'b c'\nsetMember\n"
           "push '_global'\ngetVariable\npush 'escape'\nfunction (s)\npush '<'\npush 's'\n"
           "getVariable\nadd2\npush '>'\nadd2\nreturn\nend\nsetMember\n"
           "push 0, 'lv'\ngetVariable\npush 'toString'\ncallMethod\ntrace",
       "<a>=<b c>\n"},
      // getProgress gives an object of no class; only a level's movie has bytes.
      {newObject("l", "MovieClipLoader") +
           "push 'p', 'clip', 1, 'l'\ngetVariable\npush 'getProgress'\ncallMethod\nsetVariable\n" +
           traceChain("p") + traceChain("p.bytesTotal") + newObject("o", "Object") +
           // ...and answers only to a loader.
           "push 'o'\ngetVariable\npush 'getProgress', 'l'\ngetVariable\npush "
           "'getProgress'\ngetMember\nsetMember\n"
           "push 'clip', 1, 'o'\ngetVariable\npush 'getProgress'\ncallMethod\ntrace",
       "[type Object]\n0\nundefined\n"},
      // No camera is found; a local connection's domain is the local host's.
      {"push 0, 'Camera'\ngetVariable\npush 'get'\ncallMethod\ntrace\n" +
           newObject("lc", "LocalConnection") +
           "push 0, 'lc'\ngetVariable\npush 'domain'\ncallMethod\ntrace",
       "null\nlocalhost\n"},
      // A file reference's properties stay undefined, whatever is written; postData is text.
      {"push 'f', 0, 'flash.net'\ngetVariable\npush 'FileReference'\nnewMethod\nsetVariable\n"
       "push 'f'\ngetVariable\npush 'name', 'x'\nsetMember\n" +
           traceChain("f.name") +
           "push 'f'\ngetVariable\npush 'postData'\ngetMember\ntypeof\ntrace",
       "undefined\nstring\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(play(c.script, 0), c.expected) << c.script;
  Case swf8[] = {
      // The null connection is made at once and says so before connect returns.
      {newObject("nc", "NetConnection") + handler("nc", "onStatus", "isConnected") +
           "push null, 1, 'nc'\ngetVariable\npush 'connect'\ncallMethod\ntrace",
       "[object Object]\ntrue\ntrue\n"},
      // No page is there to call, but the quoting helpers work; empty text gives null.
      {"push 'e', 'flash.external.ExternalInterface'\ngetVariable\nsetVariable\n"
       "push 'e'\ngetVariable\npush 'available'\ngetMember\ntrace\n"
       "push 'a\"b', 1, 'e'\ngetVariable\npush '_jsQuoteString'\ncallMethod\ntrace\n"
       "push '<&amp;>', 1, 'e'\ngetVariable\npush '_escapeXML'\ncallMethod\ntrace\n"
       "push '&lt;&amp;amp;&nbsp;', 1, 'e'\ngetVariable\npush '_unescapeXML'\ncallMethod\ntrace\n"
       "push '', 1, 'e'\ngetVariable\npush '_escapeXML'\ncallMethod\ntrace",
       "false\na\\\"b\n&lt;&amp;amp;&gt;\n<&amp;&nbsp;\nnull\n"},
  };
  for (const Case& c : swf8) EXPECT_EQ(play(c.script, 0, 8), c.expected) << c.script;
}
