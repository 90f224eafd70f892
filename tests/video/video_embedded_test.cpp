// Embedded video: streams made with FFmpeg's encoders, played and drawn through the player, and
// the streams a hostile file can hold.
#include <gtest/gtest.h>

#include "swf/author/av_video_encode.h"
#include "swf/author/video_tags.h"
#include "swf/core_test_movies.h"
#include "swf/movie/tag_codes.h"
#include "swf/video/video_codec.h"
#include "swf/video/video_decoder.h"
#include "swf/video/video_instance.h"

namespace {

using namespace rvtest;
namespace tag = swf::tag;

constexpr uint32_t kColours[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff, 0xff00ff};

struct Stream {
  int codec;
  std::vector<std::vector<uint8_t>> frames;
};

// Six frames of 64 × 48 pixels, each one colour of kColours, a key frame every three.
Stream encoded(AVCodecID id, int codec) {
  Stream s{codec, {}};
  for (auto& f : avEncodeVideo(
           id, 64, 48, 6, [](int i, int, int) { return kColours[i]; }, 3))
    s.frames.push_back(f.data);
  return s;
}

// A 100 × 100 stage; the stream's object fills it (declared 64 × 48, scaled), ratio = frame.
std::vector<uint8_t> videoMovie(const Stream& s, std::optional<swf::ColorTransform> cx = {}) {
  SwfWriter w(7, 100, 100, 12);
  w.tag(tag::DefineVideoStream, defineVideoStreamBody(1, int(s.frames.size()), 64, 48, s.codec));
  for (size_t i = 0; i < s.frames.size(); ++i) {
    w.tag(tag::VideoFrame, videoFrameBody(1, int(i), s.frames[i]));
    PlaceParams p;
    p.depth = 1;
    if (i == 0) {
      p.character = 1;
      p.matrix = swf::Matrix{2000.0 / 1280, 0, 0, 2000.0 / 960, 0, 0};
      p.cxform = cx;
      p.name = "vid";
    } else {
      p.move = true;
    }
    p.ratio = int(i);
    w.placeObject2(p);
    w.showFrame();
  }
  return w.finish();
}

swf::VideoInstance* videoOf(swf::Player& p) {
  return dynamic_cast<swf::VideoInstance*>(p.root()->children.at(1).get());
}

bool near(swf::RGBA got, uint32_t want, int tolerance) {
  return std::abs(got.r - int(want >> 16 & 0xff)) <= tolerance &&
         std::abs(got.g - int(want >> 8 & 0xff)) <= tolerance &&
         std::abs(got.b - int(want & 0xff)) <= tolerance;
}

struct CodecCase {
  const char* name;
  AVCodecID id;
  int codec;
  int tolerance;
};
const CodecCase kCodecs[] = {
    {"Sorenson H.263", AV_CODEC_ID_FLV1, 2, 40},
    {"Screen Video", AV_CODEC_ID_FLASHSV, 3, 0},
};

TEST(EmbeddedVideo, EachFrameShowsOnceInOrderAndSeekingBackStartsAtAKeyFrame) {
  for (const CodecCase& c : kCodecs) {
    SCOPED_TRACE(c.name);
    Stream s = encoded(c.id, c.codec);
    ASSERT_EQ(s.frames.size(), 6u);
    swf::Player p;
    show(p, videoMovie(s));
    for (int i = 0; i < 6; ++i) {
      if (i) step(p);
      EXPECT_TRUE(near(pixelAt(p, 50, 50), kColours[i], c.tolerance)) << "frame " << i;
    }
    swf::VideoInstance* v = videoOf(p);
    ASSERT_NE(v, nullptr);
    p.gotoFrame(4);  // back: from the key frame at 3, then 4
    EXPECT_TRUE(near(pixelAt(p, 50, 50), kColours[4], c.tolerance));
    p.gotoFrame(1);  // back past the key frame at 3: from 0
    EXPECT_TRUE(near(pixelAt(p, 50, 50), kColours[1], c.tolerance));
    EXPECT_EQ(v->pictureWidth(), 64);
    EXPECT_EQ(v->pictureHeight(), 48);
  }
}

TEST(EmbeddedVideo, KeyFramesAreToldFromTheFrameHeaders) {
  for (const CodecCase& c : kCodecs) {
    SCOPED_TRACE(c.name);
    Stream s = encoded(c.id, c.codec);
    // Screen Video frames that change every block replace the whole picture: key frames too.
    for (size_t i = 0; i < s.frames.size(); ++i)
      EXPECT_EQ(swf::isKeyFrame(c.codec, s.frames[i]), c.codec == 3 || i % 3 == 0) << "frame " << i;
  }
  // VP6 (no encoder exists): the top bit of the byte after the adjustment byte, and after the
  // alpha offset for VP6 with alpha.
  const uint8_t intra[] = {0x21, 0x00}, inter[] = {0x21, 0x80};
  const uint8_t alphaIntra[] = {0x00, 0, 0, 9, 0x00}, alphaInter[] = {0x00, 0, 0, 9, 0x80};
  EXPECT_TRUE(swf::isKeyFrame(4, intra));
  EXPECT_FALSE(swf::isKeyFrame(4, inter));
  EXPECT_TRUE(swf::isKeyFrame(5, alphaIntra));
  EXPECT_FALSE(swf::isKeyFrame(5, alphaInter));
  EXPECT_FALSE(swf::isKeyFrame(4, std::span<const uint8_t>()));
  auto adj = swf::readVp6Adjustment(0x3c);
  EXPECT_EQ(adj.horizontal, 3);
  EXPECT_EQ(adj.vertical, 12);
}

TEST(EmbeddedVideo, DrawnThroughTheColourTransformAndTheObjectsMatrix) {
  Stream s = encoded(AV_CODEC_ID_FLASHSV, 3);
  swf::ColorTransform noRed;
  noRed.rm = 0;
  noRed.ba = 255;
  swf::Player p;
  show(p, videoMovie(s, noRed));
  // Red (frame 0) through "no red, full blue".
  EXPECT_TRUE(near(pixelAt(p, 50, 50), 0x0000ff, 0));
  EXPECT_TRUE(near(pixelAt(p, 99, 99), 0x0000ff, 0));
}

TEST(EmbeddedVideo, ScriptsTurnAndScaleAVideoAsTheyDoAClip) {
  Stream s = encoded(AV_CODEC_ID_FLASHSV, 3);
  swf::Player p;
  show(p, videoMovie(s));
  swf::VideoInstance* v = videoOf(p);
  swf::avm1::Vm& vm = *p.scripts();
  // Turned a quarter about its corner, half as wide, moved back onto the stage: 100 × 32 pixels
  // of red along the top.
  v->setProperty(vm, swf::avm1::PropRotation, swf::avm1::Value(90));
  v->setProperty(vm, swf::avm1::PropXScale, swf::avm1::Value(50));
  v->setProperty(vm, swf::avm1::PropX, swf::avm1::Value(100));
  auto num = [&](int prop) { return v->getProperty(vm, prop).n; };
  EXPECT_NEAR(num(swf::avm1::PropRotation), 90, 1e-9);
  EXPECT_NEAR(num(swf::avm1::PropXScale), 50, 1e-9);
  EXPECT_NEAR(num(swf::avm1::PropYScale), 100 * 100.0 / 48, 1e-2);  // 16.16 fixed point
  EXPECT_EQ(num(swf::avm1::PropWidth), 100);
  EXPECT_EQ(num(swf::avm1::PropHeight), 32);
  p.advance(0);
  EXPECT_TRUE(near(pixelAt(p, 50, 10), kColours[0], 0));
  EXPECT_TRUE(near(pixelAt(p, 50, 60), 0xffffff, 0));
}

TEST(EmbeddedVideo, EveryCodecOfTheFormatHasADecoder) {
  for (int codec = 2; codec <= 6; ++codec) {
    swf::VideoDecoder d(codec);
    EXPECT_TRUE(d.usable()) << swf::videoCodecName(codec);
  }
  EXPECT_FALSE(swf::VideoDecoder(7).usable());
  EXPECT_FALSE(swf::VideoDecoder(0).usable());
}

// A Sorenson H.263 picture header that declares its own size.
std::vector<uint8_t> h263Header(int width, int height) {
  BitWriter w;
  w.ub(17, 1);
  w.ub(5, 0);
  w.ub(8, 0);
  w.ub(3, 1);
  w.ub(16, uint32_t(width));
  w.ub(16, uint32_t(height));
  w.ub(2, 0);
  w.ub(1, 0);
  w.ub(5, 8);
  w.ub(1, 0);
  w.align();
  std::vector<uint8_t> out = w.data();
  out.resize(out.size() + 64, 0x5a);
  return out;
}

TEST(EmbeddedVideo, HostileStreamsDrawNothingAndStayBounded) {
  Stream good = encoded(AV_CODEC_ID_FLV1, 2);
  struct Case {
    const char* name;
    Stream stream;
    bool blank = true;  // else: anything may show, as long as nothing breaks
  } cases[] = {
      {"unknown codec", {9, good.frames}},
      {"codec the frames are not", {4, good.frames}, false},
      {"VP6 noise", {4, {{0x11, 0x00, 0xde, 0xad, 0xbe, 0xef}}}},
      {"VP6 with alpha, offset past the end", {5, {{0x00, 0xff, 0xff, 0xff, 0x00, 0x01}}}},
      {"Screen Video 2 noise", {6, {{0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x01}}}},
      {"16,383 × 16,383 H.263", {2, {h263Header(16383, 16383)}}},
      {"empty frame", {2, {{}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    swf::Player p;
    show(p, videoMovie(c.stream));
    swf::RGBA px = pixelAt(p, 50, 50);
    if (!c.blank) continue;
    EXPECT_EQ(px.r, 255);
    EXPECT_EQ(px.g, 255);
    EXPECT_EQ(px.b, 255);
  }
}

TEST(EmbeddedVideo, AFrameBeforeItsStreamIsDropped) {
  Stream s = encoded(AV_CODEC_ID_FLASHSV, 3);
  SwfWriter w(7, 100, 100, 12);
  w.tag(tag::VideoFrame, videoFrameBody(1, 0, s.frames[0]));
  w.tag(tag::DefineVideoStream, defineVideoStreamBody(1, 2, 64, 48, 3));
  w.tag(tag::VideoFrame, videoFrameBody(1, 1, s.frames[1]));
  const uint8_t shortFrame[] = {1, 0, 2};
  w.tag(tag::VideoFrame, shortFrame);
  PlaceParams p = placeNew(1, 1, swf::Matrix{2000.0 / 1280, 0, 0, 2000.0 / 960, 0, 0});
  p.ratio = 1;
  w.placeObject2(p);
  w.showFrame();
  auto movie = parse(w.finish());
  auto& v = static_cast<const swf::VideoCharacter&>(*movie->character(1));
  ASSERT_EQ(v.frames.size(), 1u);
  EXPECT_EQ(v.frames.begin()->first, 1);
  // Frame 1 alone is an inter frame with nothing before it: the decoder gives what it can or
  // nothing, but the movie plays.
  swf::Player player;
  player.load(movie, "test.swf");
  pixelAt(player, 50, 50);
}

}  // namespace
