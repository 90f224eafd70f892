// reelvista-swf as a user runs it: output, exit status, and no half-written pictures.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "sound_support.h"

namespace {

using namespace rvtest;

struct CliResult {
  int status = -1;
  std::string out;
};

std::string tool() { return std::string(RV_PROGRAM_DIR) + "/reelvista-swf"; }

CliResult run(const std::string& args) {
  CliResult r;
  std::string cmd = "'" + tool() + "' " + args + " 2>&1";
  FILE* f = popen(cmd.c_str(), "r");
  if (!f) return r;
  char buf[512];
  while (size_t n = fread(buf, 1, sizeof buf, f)) r.out.append(buf, n);
  int st = pclose(f);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::string writeMovie(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

class CoreCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::ifstream(tool())) GTEST_SKIP() << "reelvista-swf is not built";
  }
};

TEST_F(CoreCli, InfoDescribesTheMovie) {
  SwfWriter w(7, 320, 200, 15);
  w.defineShape(1, square(100));
  w.placeObject2(placeNew(1, 1));
  w.showFrame();
  w.showFrame();
  auto path = writeMovie("core_cli_info.swf", w.finish(swf::Compression::Lzma));
  CliResult r = run("info '" + path + "'");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("version: 7"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("compression: lzma"), std::string::npos);
  EXPECT_NE(r.out.find("stage: 320x200"), std::string::npos);
  EXPECT_NE(r.out.find("frame rate: 15"), std::string::npos);
  EXPECT_NE(r.out.find("frames: 2"), std::string::npos);
  EXPECT_NE(r.out.find("PlaceObject2"), std::string::npos);
}

TEST_F(CoreCli, RenderWritesAPictureOfTheAskedSize) {
  SwfWriter w(6, 40, 30, 12);
  w.setBackgroundColor({0, 255, 0, 255});
  w.showFrame();
  auto path = writeMovie("core_cli_render.swf", w.finish());
  std::string png = ::testing::TempDir() + "core_cli_render.png";
  std::remove(png.c_str());
  CliResult r = run("render '" + path + "' -o '" + png + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
  EXPECT_EQ(cairo_image_surface_get_width(s), 40);
  EXPECT_EQ(cairo_image_surface_get_height(s), 30);
  cairo_surface_destroy(s);
  r = run("render '" + path + "' -o '" + png + "' --size 80x20 --frames 3 --quality low");
  ASSERT_EQ(r.status, 0) << r.out;
  s = cairo_image_surface_create_from_png(png.c_str());
  EXPECT_EQ(cairo_image_surface_get_width(s), 80);
  EXPECT_EQ(cairo_image_surface_get_height(s), 20);
  cairo_surface_destroy(s);
}

TEST_F(CoreCli, BadInputIsStatusOneWithAMessageAndNoOutput) {
  std::string junk = writeMovie("core_cli_junk.swf", {'n', 'o', 'p', 'e', 0, 0, 0, 0, 0, 0});
  std::string png = ::testing::TempDir() + "core_cli_bad.png";
  std::remove(png.c_str());
  for (const std::string& args : std::vector<std::string>{
           "render '" + junk + "' -o '" + png + "'", "info '" + junk + "'", "info",
           "render '" + junk + "'", "render x.swf -o '" + png + "' --size 0x5",
           "render x.swf -o '" + png + "' --quality medium", "frobnicate", "trace"}) {
    CliResult r = run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_FALSE(r.out.empty()) << args;
  }
  EXPECT_NE(run("info '" + junk + "'").out.find(junk), std::string::npos);  // names the file
  EXPECT_FALSE(std::ifstream(png));
  EXPECT_FALSE(std::ifstream(png + ".part"));
}

TEST_F(CoreCli, TracePrintsTraceOutput) {
  SwfWriter w(6, 10, 10, 12);
  w.doAction(ActionBuilder().trace("hello").build());
  w.showFrame();
  w.doAction(ActionBuilder().trace("world").build());
  w.showFrame();
  auto path = writeMovie("core_cli_trace.swf", w.finish());
  CliResult r = run("trace '" + path + "' --frames 1");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "hello\nworld\n");
}

TEST_F(CoreCli, SoundWritesWhatTheMovieMakesAsWav) {
  std::vector<int16_t> tone440 = tone(440, 44100, 4410);
  auto movie = eventSoundMovie(
      defineSoundBody(1, soundFormatByte(3, 3, true, false), 4410, pcm16Bytes(tone440)), {}, 5, 10);
  auto path = writeMovie("core_cli_sound.swf", movie);
  std::string out = ::testing::TempDir() + "core_cli_sound.wav";
  CliResult r = run("sound '" + path + "' -o '" + out + "' --frames 2");
  ASSERT_EQ(r.status, 0) << r.out;
  std::ifstream in(out, std::ios::binary);
  std::vector<char> wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The first frame's interval and two more: 0.3 s of 44.1 kHz 16-bit stereo after the header.
  ASSERT_EQ(wav.size(), 44u + 13230 * 4);
  EXPECT_EQ(std::string(wav.data(), 4), "RIFF");
  auto sample = [&](size_t i) {
    return int16_t(uint8_t(wav[44 + 2 * i]) | (wav[45 + 2 * i] << 8));
  };
  for (size_t i : {1u, 100u, 4000u}) EXPECT_EQ(sample(2 * i), tone440[i]) << i;
  EXPECT_EQ(sample(2 * 5000), 0);
  EXPECT_EQ(run("sound '" + path + "'").status, 1);
}

}  // namespace
