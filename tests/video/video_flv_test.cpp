// FLV files: the reader and AMF0 against files that lie, and NetStream playing a file we wrote
// onto a Video object, with its sound, status codes, metadata and cue points.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "swf/author/action_assembler.h"
#include "swf/author/av_video_encode.h"
#include "swf/author/flv_writer.h"
#include "swf/author/video_tags.h"
#include "swf/core_test_movies.h"
#include "swf/io/amf0.h"
#include "swf/io/flv_file.h"
#include "swf/movie/tag_codes.h"
#include "swf/sound/sound_engine.h"

namespace {

using namespace rvtest;

TEST(Amf0, ReadsWhatWritersWriteAndRefusesWhatLies) {
  AmfWriter w;
  w.string("onMetaData").beginEcmaArray(3);
  w.key("duration").number(2.5).key("stereo").boolean(true);
  w.key("cue").beginObject().key("name").string("one").endObject();
  w.key("times").beginStrictArray(2).number(1).number(2);
  w.endObject();
  auto values = swf::readAmf0(w.data());
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].string, "onMetaData");
  EXPECT_EQ(values[1].find("duration")->number, 2.5);
  EXPECT_TRUE(values[1].find("stereo")->boolean);
  EXPECT_EQ(values[1].find("cue")->find("name")->string, "one");
  EXPECT_EQ(values[1].find("times")->items.size(), 2u);

  // 100,000 objects nested: refused at the depth limit, without recursing that deep.
  std::vector<uint8_t> deep;
  for (int i = 0; i < 100000; ++i) deep.insert(deep.end(), {3, 0, 1, 'a'});
  const std::vector<uint8_t> lies[] = {
      deep,
      {10, 0xff, 0xff, 0xff, 0xff, 0},  // strict array longer than its data
      {2, 0xff, 0xff, 'a'},             // string longer than its data
      {0, 1, 2},                        // number cut short
      {7, 0, 1},                        // a reference: not in FLV files
  };
  for (const auto& bytes : lies) EXPECT_THROW(swf::readAmf0(bytes), swf::AmfError);
}

TEST(FlvFile, TagSizesThatLieEndTheFileAndTimeNeverGoesBack) {
  const uint8_t data[] = {1, 2, 3};
  FlvWriter w;
  w.video(100, 1, 3, data);
  w.video(50, 2, 3, data);  // backwards
  w.video(300, 2, 3, data);
  w.rawTag(9, 0xffffff, 400, data);  // claims 16 MB
  w.video(500, 2, 3, data);          // never reached: the lie above swallowed it
  swf::FlvFile f = swf::readFlv(w.data());
  ASSERT_EQ(f.tags.size(), 3u);
  EXPECT_TRUE(f.truncated);
  EXPECT_EQ(f.tags[0].timeMs, 100);
  EXPECT_EQ(f.tags[1].timeMs, 100);
  EXPECT_EQ(f.tags[2].timeMs, 300);
  EXPECT_EQ(f.tags[2].videoCodec(), 3);
  EXPECT_EQ(f.tags[2].frameType(), 2);

  std::vector<uint8_t> badOffset = w.data();
  badOffset[5] = 0xff;  // the header's data offset past the end: the usual place is used
  EXPECT_EQ(swf::readFlv(badOffset).tags.size(), 3u);
  const uint8_t notFlv[] = {'F', 'W', 'S', 1, 5, 0, 0, 0, 9};
  EXPECT_THROW(swf::readFlv(notFlv), swf::FlvError);
  EXPECT_THROW(swf::readFlv(std::span<const uint8_t>()), swf::FlvError);
}

constexpr uint32_t kColours[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00};

bool near(swf::RGBA got, uint32_t want) {
  return got.r == (want >> 16 & 0xff) && got.g == (want >> 8 & 0xff) && got.b == (want & 0xff);
}

class NetStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("rv-flv-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Four frames of one colour each at 0, 250, 500 and 750 ms (a key frame at 0 and 500), a
  // second of 22 kHz PCM, metadata first and a cue point at 600 ms.
  void writeFlv(const std::string& name) {
    auto frames = avEncodeVideo(
        AV_CODEC_ID_FLASHSV, 32, 32, 4, [](int i, int, int) { return kColours[i]; }, 2);
    ASSERT_EQ(frames.size(), 4u);
    FlvWriter w;
    AmfWriter meta;
    meta.string("onMetaData").beginEcmaArray(2).key("duration").number(1).key("width").number(32);
    meta.endObject();
    w.script(0, meta.data());
    std::vector<uint8_t> pcm(22050 / 4 * 2, 0x10);  // a quarter second a tag, 16-bit mono
    for (int i = 0; i < 4; ++i) {
      w.audio(uint32_t(i * 250), 0x3a, pcm);  // PCM little-endian, 22 kHz, 16-bit, mono
      w.video(uint32_t(i * 250), frames[size_t(i)].key ? 1 : 2, 3, frames[size_t(i)].data);
      if (i == 2) {
        AmfWriter cue;
        cue.string("onCuePoint").beginObject().key("name").string("middle").endObject();
        w.script(600, cue.data());
      }
    }
    save(name, w);
  }

  // `count` silent pictures `stepMs` apart, colours taken in turn from kColours.
  void writeSilentFlv(const std::string& name, int count, int stepMs) {
    auto frames = avEncodeVideo(
        AV_CODEC_ID_FLASHSV, 32, 32, count, [](int i, int, int) { return kColours[i % 4]; }, 4);
    ASSERT_EQ(frames.size(), size_t(count));
    FlvWriter w;
    for (int i = 0; i < count; ++i)
      w.video(uint32_t(i * stepMs), frames[size_t(i)].key ? 1 : 2, 3, frames[size_t(i)].data);
    save(name, w);
  }

  void save(const std::string& name, FlvWriter& w) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(w.data().data()), std::streamsize(w.data().size()));
  }

  // A movie with a video object "vid" over the whole stage that plays `url` on a NetStream and
  // traces its news, then runs `more` (assembled actions).
  void start(const std::string& url, double fps = 20, const std::string& more = "") {
    SwfWriter w(7, 100, 100, fps);
    w.tag(swf::tag::DefineVideoStream, defineVideoStreamBody(1, 0, 32, 32, 3));
    PlaceParams p = placeNew(1, 1, swf::Matrix{100.0 / 32, 0, 0, 100.0 / 32, 0, 0});
    p.name = "vid";
    w.placeObject2(p);
    auto code = assembleActions(R"(
      push 'nc', 0, 'NetConnection'
      newObject
      setVariable
      push null, 1, 'nc'
      getVariable
      push 'connect'
      callMethod
      pop
      push 'ns', 'nc'
      getVariable
      push 1, 'NetStream'
      newObject
      setVariable
      push 'ns'
      getVariable
      push 'onStatus'
      function (i)
        push 'i'
        getVariable
        push 'code'
        getMember
        trace
      end
      setMember
      push 'ns'
      getVariable
      push 'onMetaData'
      function (m)
        push 'meta '
        push 'm'
        getVariable
        push 'duration'
        getMember
        add2
        trace
      end
      setMember
      push 'ns'
      getVariable
      push 'onCuePoint'
      function (c)
        push 'cue '
        push 'c'
        getVariable
        push 'name'
        getMember
        add2
        trace
      end
      setMember
      push 'ns'
      getVariable
      push 1, 'vid'
      getVariable
      push 'attachVideo'
      callMethod
      pop
      push ')" + url + R"(', 1, 'ns'
      getVariable
      push 'play'
      callMethod
      pop
    )" + more);
    code.push_back(0);
    w.doAction(code);
    w.showFrame();
    w.tag(swf::tag::DoAction, std::vector<uint8_t>{0x07, 0});  // stop
    w.showFrame();
    player_.onTrace = [this](const std::string& t) { traced_ += t + "\n"; };
    player_.load(parse(w.finish()), (dir_ / "movie.swf").string());
  }

  std::filesystem::path dir_;
  swf::Player player_;
  std::string traced_;
};

TEST_F(NetStreamTest, PlaysAFileOntoAVideoWithItsNewsAndSound) {
  writeFlv("clip.flv");
  start("clip.flv");
  EXPECT_EQ(traced_, "");  // news comes on the following frames, not inside play()
  player_.advance(50);
  EXPECT_EQ(traced_, "NetStream.Play.Start\nNetStream.Buffer.Flush\nmeta 1\n");
  EXPECT_TRUE(near(pixelAt(player_, 50, 50), kColours[0]));
  uint64_t before = player_.audioFramesMade();
  std::vector<float> heard;
  player_.onAudio = [&](const float* s, size_t n) { heard.insert(heard.end(), s, s + n * 2); };
  for (int i = 0; i < 52; ++i) player_.advance(10);  // as the window's timer gives time
  // The sound's clock is near 570 ms now: frame 2 (500 ms) shows.
  EXPECT_GT(player_.audioFramesMade(), before);
  bool loud = false;
  for (float v : heard) loud |= std::abs(v) > 0.01f;
  EXPECT_TRUE(loud) << "the file's sound reaches the mixer";
  EXPECT_TRUE(near(pixelAt(player_, 50, 50), kColours[2]));
  for (int i = 0; i < 20; ++i) player_.advance(50);
  EXPECT_EQ(traced_,
            "NetStream.Play.Start\nNetStream.Buffer.Flush\nmeta 1\ncue middle\n"
            "NetStream.Play.Stop\n");
  EXPECT_TRUE(near(pixelAt(player_, 50, 50), kColours[3]));
}

TEST_F(NetStreamTest, PicturesFollowThePlayersClockNotTheMoviesFrames) {
  // A 10 fps file in a 1 fps movie: each 100 ms shows the next picture, and the window hears of
  // it, though no movie frame comes until 1 s. The stream takes no interval id from the script.
  writeSilentFlv("fast.flv", 8, 100);
  start("fast.flv", 1, R"(
    push 'id '
    push 1000
    function ()
    end
    push 2, 'setInterval'
    callFunction
    add2
    trace
  )");
  EXPECT_EQ(traced_, "id 1\n");
  player_.advance(0);
  EXPECT_TRUE(near(pixelAt(player_, 50, 50), kColours[0]));
  for (int i = 1; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(player_.advance(100));
    EXPECT_TRUE(near(pixelAt(player_, 50, 50), kColours[i % 4]));
    EXPECT_FALSE(player_.advance(0)) << "nothing new until the next picture is due";
  }
  EXPECT_EQ(traced_, "id 1\n");  // the stream's news waits for the movie's frame
  player_.advance(300);
  EXPECT_EQ(traced_, "id 1\nNetStream.Play.Start\nNetStream.Buffer.Flush\nNetStream.Play.Stop\n");
}

TEST_F(NetStreamTest, AHandlerThatThrowsLeavesTheOthersBe) {
  writeFlv("clip.flv");
  start("clip.flv", 20, R"(
    push 'ns'
    getVariable
    push 'onStatus'
    function (i)
      push 'thrown'
      throw
    end
    setMember
  )");
  for (int i = 0; i < 30; ++i) player_.advance(50);
  EXPECT_EQ(traced_, "meta 1\ncue middle\n");
}

TEST_F(NetStreamTest, MissingFilesAreNotFoundAndWebAddressesRefusedQuietly) {
  struct Case {
    const char* url;
    const char* traced;
  } cases[] = {
      {"missing.flv", "NetStream.Play.StreamNotFound\n"},
      {"movie.swf", "NetStream.Play.StreamNotFound\n"},  // not an FLV file
      {"http://example.com/clip.flv", ""},
  };
  std::ofstream(dir_ / "movie.swf") << "FWS";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    traced_.clear();
    start(c.url);
    for (int i = 0; i < 5; ++i) player_.advance(50);
    EXPECT_EQ(traced_, c.traced);
  }
}

TEST_F(NetStreamTest, HostileFilesPlayToTheirEnd) {
  FlvWriter w;
  const uint8_t noise[] = {0xde, 0xad, 0xbe, 0xef, 0x01, 0x02};
  w.video(0, 1, 3, noise);   // Screen Video that is not
  w.video(10, 1, 4, noise);  // then VP6: another codec than the stream began with
  w.video(20, 1, 9, noise);  // a codec that does not exist
  w.audio(0, 0xa0, noise);   // AAC without its configuration
  std::vector<uint8_t> deep = {2, 0, 10};
  for (char ch : std::string("onMetaData")) deep.push_back(uint8_t(ch));
  for (int i = 0; i < 100000; ++i) deep.insert(deep.end(), {3, 0, 1, 'a'});
  w.script(30, deep);
  w.video(5000, 2, 3, noise);  // time jumps ahead
  w.rawTag(9, 0x100000, 40, noise);
  save("bad.flv", w);
  start("bad.flv");
  for (int i = 0; i < 200; ++i) player_.advance(50);
  EXPECT_EQ(traced_, "NetStream.Play.Start\nNetStream.Buffer.Flush\nNetStream.Play.Stop\n");
  swf::RGBA px = pixelAt(player_, 50, 50);
  EXPECT_EQ(px.r + px.g + px.b, 3 * 255);  // nothing decodable: nothing drawn
}

}  // namespace
