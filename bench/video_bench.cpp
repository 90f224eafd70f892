// Video benchmarks: decoding speed of a 640 × 480, 30 fps stream as a multiple of real time, and
// the time to draw a 1920 × 1080 frame whose stage is filled by that video. VP6 has no encoder
// anywhere, so Sorenson H.263 (which libavcodec encodes) stands in for it; Screen Video is
// measured too. Medians of 5 runs, thread CPU time.
#include <cmath>
#include <cstdio>

#include "frame_timing.h"
#include "swf/author/av_video_encode.h"
#include "swf/author/swf_writer.h"
#include "swf/author/video_tags.h"
#include "swf/movie/tag_codes.h"
#include "swf/video/video_decoder.h"

using namespace swf::author;

namespace {

constexpr int kW = 640, kH = 480, kFrames = 150;  // five seconds

// A moving picture: gradients sliding and a square crossing, so inter frames carry motion.
uint32_t pictureAt(int i, int x, int y) {
  int r = (x + i * 4) & 0xff, g = (y + i * 2) & 0xff, b = ((x ^ y) + i) & 0xff;
  int sx = (i * 5) % kW, sy = (i * 3) % kH;
  if (x >= sx && x < sx + 80 && y >= sy && y < sy + 80) r = g = b = 255;
  return uint32_t(r << 16 | g << 8 | b);
}

std::vector<EncodedFrame> stream(AVCodecID id) {
  return avEncodeVideo(id, kW, kH, kFrames, pictureAt, 30, 1500000);
}

void decodeSpeed(const char* what, int codec, const std::vector<EncodedFrame>& frames) {
  std::vector<double> factors;
  for (int rep = 0; rep < 5; ++rep) {
    swf::VideoDecoder d(codec);
    swf::VideoPicture pic;
    double t0 = rvbench::threadMs();
    for (const auto& f : frames) d.decode(f.data, pic);
    double ms = rvbench::threadMs() - t0;
    factors.push_back(frames.size() * 1000.0 / 30 / std::max(ms, 1e-3));
  }
  std::printf("decode %-34s %7.1f x real time (%zu frames)\n", what, rvbench::median(factors),
              frames.size());
}

void fullScreenFrame(const std::vector<EncodedFrame>& frames) {
  SwfWriter w(8, kW, kH, 30);
  w.tag(swf::tag::DefineVideoStream, defineVideoStreamBody(1, kFrames, kW, kH, 2, 0, true));
  for (int i = 0; i < kFrames; ++i) {
    w.tag(swf::tag::VideoFrame, videoFrameBody(1, i, frames[size_t(i)].data));
    PlaceParams p;
    p.depth = 1;
    if (i == 0)
      p.character = 1;
    else
      p.move = true;
    p.ratio = i;
    w.placeObject2(p);
    w.showFrame();
  }
  swf::Player player;
  player.load(swf::loadMovieFromMemory(w.finish()), "bench.swf");
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1920, 1080);
  // Each drawing shows a new frame: decoding, converting and drawing scaled, as when playing.
  std::vector<double> ms;
  for (int i = 1; i < 60; ++i) {
    player.advance(1000.0 / 30);
    cairo_t* cr = cairo_create(target);
    double t0 = rvbench::threadMs();
    player.render(cr, 1920, 1080);
    cairo_surface_flush(target);
    ms.push_back(rvbench::threadMs() - t0);
    cairo_destroy(cr);
  }
  // The same frame drawn again: drawing alone.
  auto again = rvbench::timeFrames(player, target, 1920, 1080, 15);
  std::printf(
      "1920x1080 frame, 640x480 H.263 video smoothed over the stage: %.2f ms median "
      "(new frame each time), %.2f ms drawing alone\n",
      rvbench::median(ms), again.median);
  cairo_surface_destroy(target);
}

}  // namespace

int main() {
  auto h263 = stream(AV_CODEC_ID_FLV1);
  auto screen = stream(AV_CODEC_ID_FLASHSV);
  decodeSpeed("Sorenson H.263 640x480 30 fps", 2, h263);
  decodeSpeed("Screen Video 640x480 30 fps", 3, screen);
  fullScreenFrame(h263);
  return 0;
}
