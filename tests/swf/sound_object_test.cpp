// The scripts' Sound object through the player: exported sounds started with offsets and loops,
// the settings a clip shares, completion, and MP3 files loaded beside the movie.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sound_support.h"
#include "swf/author/action_assembler.h"
#include "swf/author/av_encode.h"

namespace {

using namespace rvtest;
namespace fs = std::filesystem;

constexpr size_t kSoundFrames = 4410;  // 0.1 s at 44.1 kHz

std::vector<int16_t> ramp() {
  std::vector<int16_t> s(kSoundFrames);
  for (size_t i = 0; i < s.size(); ++i) s[i] = int16_t((i * 53 % 16000) - 8000);
  return s;
}

// obj.method(...), the result dropped; `args` pushes the arguments, the last first.
std::string call(const std::string& obj, const std::string& method, const std::string& args = "",
                 int n = 0) {
  return (args.empty() ? "" : "push " + args + "\n") + "push " + std::to_string(n) + ", '" + obj +
         "'\ngetVariable\npush '" + method + "'\ncallMethod\npop\n";
}

// name = new Sound(this), or new Sound() for the whole movie.
std::string newSound(const std::string& name, bool ofThisClip = true) {
  return "push '" + name + "'\n" +
         (ofThisClip ? "push 'this'\ngetVariable\npush 1, 'Sound'\n" : "push 0, 'Sound'\n") +
         "newObject\nsetVariable\n";
}

// obj.handler = function (ok) { trace(label + ok + " " + this.a.b); } for member "a.b".
std::string traceHandler(const std::string& obj, const std::string& handler,
                         const std::string& label, const std::string& member) {
  std::string read = "push ' ', 'this'\ngetVariable\n";
  for (size_t at = 0; at <= member.size();) {
    size_t dot = std::min(member.find('.', at), member.size());
    read += "push '" + member.substr(at, dot - at) + "'\ngetMember\n";
    at = dot + 1;
  }
  return "push '" + obj + "'\ngetVariable\npush '" + handler + "'\nfunction (ok)\npush '" + label +
         "', 'ok'\ngetVariable\nadd2\n" + read + "add2\nadd2\ntrace\nend\nsetMember\n";
}

// Plays a movie, keeping what it traced (with the movie time) and the sound it made.
struct ScriptedPlay {
  swf::Player player;
  std::vector<std::pair<double, std::string>> traces;
  std::vector<float> stereo;
  ScriptedPlay() {
    player.onTrace = [this](const std::string& t) { traces.push_back({player.elapsedMs(), t}); };
    player.onAudio = [this](const float* s, size_t n) {
      stereo.insert(stereo.end(), s, s + 2 * n);
    };
  }
  void run(double ms) {
    for (double t = 0; t < ms; t += 10) player.advance(10);
  }
  std::string traced() const {
    std::string all;
    for (const auto& [at, t] : traces) all += t + "\n";
    return all;
  }
};

// A movie at 10 fps whose first frame defines sound 1, exports it as "tone" and runs `script`.
std::vector<uint8_t> scriptedMovie(const std::string& script, int frames = 20, int version = 6) {
  SwfWriter w(version, 100, 100, 10);
  const auto s = ramp();
  w.tag(swf::tag::DefineSound,
        defineSoundBody(1, soundFormatByte(3, 3, true, false), uint32_t(s.size()), pcm16Bytes(s)));
  w.exportAsset(1, "tone");
  auto code = assembleActions(script);
  code.push_back(0);
  w.doAction(code);
  for (int f = 0; f < frames; ++f) w.showFrame();
  return w.finish();
}

TEST(SoundObject, SettingsShapeTheSoundsOfItsClip) {
  const auto s = ramp();
  const std::string nan = "0, 0\ndivide";
  struct Case {
    std::string settings, startArgs;  // after s.attachSound("tone"); the arguments of start
    int startArgc;
    double left, right;
    std::vector<std::pair<size_t, size_t>> pieces;  // [from, to) of the sound, in turn
  } cases[] = {
      {call("s", "setVolume", "50", 1), "2, 0", 2, 0.5, 0.5, {{0, 4410}, {0, 4410}}},
      {call("s", "setPan", "-100", 1), "", 0, 1, 0, {{0, 4410}}},
      {call("s", "setPan", "60", 1), "", 0, 0.4, 1, {{0, 4410}}},
      {call("s", "setTransform", "'ll', 100, 'lr', 0, 'rl', 50, 'rr', 0, 4\ninitObject", 1),
       "",
       0,
       1,
       0.5,
       {{0, 4410}}},
      // Every pass of the loops starts at the offset.
      {"", "3, 0.05", 2, 1, 1, {{2205, 4410}, {2205, 4410}, {2205, 4410}}},
      // Two objects of one clip share its settings, and the movie's multiply them.
      {newSound("t") + call("t", "setVolume", "50", 1) + newSound("g", false) +
           call("g", "setVolume", "50", 1),
       "",
       0,
       0.25,
       0.25,
       {{0, 4410}}},
      // Bad numbers: bounded and quiet.
      {call("s", "setVolume", "1e308", 1), "", 0, 0, 0, {{0, 4410}}},
      {call("s", "setPan", nan, 1), "", 0, 1, 1, {{0, 4410}}},
      {"", nan + "\npush " + nan, 2, 1, 1, {{0, 4410}}},
      {"", "1e308, 1e308", 2, 0, 0, {}},
      {"", "-5, -1e308", 2, 1, 1, {{0, 4410}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings + c.startArgs);
    Capture cap(scriptedMovie(newSound("s") + call("s", "attachSound", "'tone'", 1) + c.settings +
                              call("s", "start", c.startArgs, c.startArgc)));
    cap.run(600);
    std::vector<int16_t> want;
    for (auto [from, to] : c.pieces)
      want.insert(want.end(), s.begin() + long(from), s.begin() + long(to));
    ASSERT_GE(cap.frames(), want.size() + 100);
    for (size_t i = 0; i < want.size() + 100; ++i) {
      double x = i < want.size() ? want[i] : 0;
      ASSERT_NEAR(cap.left(i), x * c.left, 1.01) << "frame " << i;
      ASSERT_NEAR(cap.right(i), x * c.right, 1.01) << "frame " << i;
    }
  }
}

TEST(SoundObject, SettingsReadBackAsTheOriginalShowsThem) {
  std::string script = newSound("s") + newSound("t");
  for (const char* v : {"-1234567890", "120", "0, 0\ndivide"}) {
    script += call("s", "setPan", v, 1) +
              "push 't'\ngetVariable\npush 'getPan'\ncallMethod\n"
              "push ' ', 0, 't'\ngetVariable\npush 'getTransform'\ncallMethod\npush 'rr'\n"
              "getMember\nadd2\nadd2\ntrace\n";
  }
  script += call("s", "setVolume", "-20", 1) +
            "push 0, 's'\ngetVariable\npush 'getVolume'\ncallMethod\ntrace\n"
            "push 0, 'nothing', 1, 'Sound'\nnewObject\npush 'getVolume'\ncallMethod\ntypeOf\n"
            "trace\n";
  // A Sound whose clip is missing stays without one when it loads a file.
  script += "push 'd', 'nothing', 1, 'Sound'\nnewObject\nsetVariable\n" +
            call("d", "loadSound", "true, 'x.mp3'", 2) +
            "push 0, 'd'\ngetVariable\npush 'getVolume'\ncallMethod\ntypeOf\ntrace\n";
  ScriptedPlay play;
  show(play.player, scriptedMovie(script, 2));
  EXPECT_EQ(play.traced(),
            "1234567690 -1234567790\n"
            "80 100\n"
            "0 100\n"
            "-20\n"
            "undefined\n"
            "undefined\n");
}

// A path names its clip from the code asking now; SWF 5 takes undefined for no clip at all.
TEST(SoundObject, TargetsAreFoundWhereTheyAreUsed) {
  const std::string readS =
      "push 0, '_level0'\ngetVariable\npush 's'\ngetMember\npush 'getVolume'\ncallMethod\n"
      "trace\n";
  std::string relative =
      "push 1, 'a', 2, 'createEmptyMovieClip'\ncallFunction\npop\n"
      "push 1, 'a', 2, 'a'\ngetVariable\npush 'createEmptyMovieClip'\ncallMethod\npop\n"
      "push 's', 'a', 1, 'Sound'\nnewObject\nsetVariable\n" +
      call("s", "setVolume", "30", 1) + readS + "push 'a'\nsettarget2\n" + readS +
      "push ''\nsettarget2\n";
  std::string undefinedIsMovie = "push 'u', undefined, 1, 'Sound'\nnewObject\nsetVariable\n" +
                                 call("u", "setVolume", "40", 1) +
                                 "push 0, 0, 'Sound'\nnewObject\npush 'getVolume'\n"
                                 "callMethod\ntrace\n";
  struct {
    std::string script;
    int version;
    const char* want;
  } const cases[] = {{relative, 6, "30\n100\n"}, {undefinedIsMovie, 5, "40\n"}};
  for (const auto& c : cases) {
    ScriptedPlay play;
    show(play.player, scriptedMovie(c.script, 2, c.version));
    EXPECT_EQ(play.traced(), c.want) << c.version;
  }
}

TEST(SoundObject, CompletionIsToldOnceWhenTheLastLoopEnds) {
  // A sound stopped before its end is not complete (stop() ends every sound of the clip).
  std::string script =
      newSound("u") + call("u", "attachSound", "'tone'", 1) +
      traceHandler("u", "onSoundComplete", "never", "position") + call("u", "start") +
      call("u", "stop") + newSound("s") + call("s", "attachSound", "'tone'", 1) +
      traceHandler("s", "onSoundComplete", "done", "position") + call("s", "start", "2, 0", 2);
  ScriptedPlay play;
  show(play.player, scriptedMovie(script, 30));
  play.run(1000);
  ASSERT_EQ(play.traces.size(), 1u);
  EXPECT_EQ(play.traces[0].second, "done 100");
  // Told at the first frame after the 0.2 s the two passes take.
  EXPECT_GE(play.traces[0].first, 200);
  EXPECT_LE(play.traces[0].first, 310);
}

// An MP3 file of a 1 kHz tone, with an ID3v2 title in front and an ID3v1 tag behind.
std::vector<uint8_t> taggedMp3() {
  auto mp3 = swf::author::avEncode(AV_CODEC_ID_MP3, 44100, 1, tone(1000, 44100, 22050), 64000);
  if (mp3.empty()) return mp3;
  std::string title = "Test tone";
  std::vector<uint8_t> frame = {'T', 'I', 'T', '2', 0, 0, 0, uint8_t(title.size() + 1), 0, 0, 0};
  frame.insert(frame.end(), title.begin(), title.end());
  std::vector<uint8_t> out = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, uint8_t(frame.size())};
  out.insert(out.end(), frame.begin(), frame.end());
  out.insert(out.end(), mp3.begin(), mp3.end());
  std::vector<uint8_t> v1(128, 0);
  std::string artist = "Reelvista";
  std::copy_n("TAG", 3, v1.begin());
  std::copy(artist.begin(), artist.end(), v1.begin() + 33);
  v1[126] = 7;  // track, ID3v1.1
  v1[127] = 255;
  out.insert(out.end(), v1.begin(), v1.end());
  return out;
}

void writeFile(const fs::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(SoundObject, LoadsLocalMp3FilesAndRefusesTheRest) {
  auto mp3 = taggedMp3();
  if (mp3.empty()) GTEST_SKIP() << "no MP3 encoder";
  fs::path dir = rvtest::scratchDir("rv_sound_object_load_");
  fs::create_directories(dir / "folder.mp3");
  writeFile(dir / "tone.mp3", mp3);
  writeFile(dir / "text.mp3", std::vector<uint8_t>(5000, 'x'));
  // onID3 comes before onLoad.
  const std::string id3Line = "bytes " + std::to_string(mp3.size()) + " Reelvista 7\n";
  struct Case {
    std::string url;
    bool streaming;
    std::string traced;
    bool sounds;  // plays without a call to start
  } cases[] = {
      {"tone.mp3", true, id3Line + "loadedtrue Test tone\n", true},
      {"tone.mp3", false, id3Line + "loadedtrue Test tone\n", false},
      {"missing.mp3", true, "loadedfalse \n", false},
      {"folder.mp3", false, "loadedfalse \n", false},
      {"text.mp3", true, "loadedfalse \n", false},
      {"http://example.com/tone.mp3", true, "loadedfalse \n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    std::string script =
        newSound("s") + traceHandler("s", "onLoad", "loaded", "id3.TIT2") +
        "push 's'\ngetVariable\npush 'onID3'\nfunction ()\npush 'bytes ', 0, 'this'\n"
        "getVariable\npush 'getBytesLoaded'\ncallMethod\nadd2\npush ' ', 'this'\ngetVariable\n"
        "push 'id3'\ngetMember\npush 'artist'\ngetMember\nadd2\nadd2\npush ' ', 'this'\n"
        "getVariable\npush 'id3'\ngetMember\npush 'track'\ngetMember\nadd2\nadd2\ntrace\nend\n"
        "setMember\n" +
        call("s", "loadSound", std::string(c.streaming ? "true" : "false") + ", '" + c.url + "'",
             2);
    writeFile(dir / "movie.swf", scriptedMovie(script, 20));
    ScriptedPlay play;
    play.player.load((dir / "movie.swf").string());
    play.run(400);
    EXPECT_EQ(play.traced(), c.traced);
    double energy = 0;
    for (float x : play.stereo) energy += double(x) * x;
    EXPECT_EQ(energy > 100, c.sounds) << energy;
  }
  fs::remove_all(dir);
}

}  // namespace
