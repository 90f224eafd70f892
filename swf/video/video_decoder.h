#pragma once
// Decodes the frames of one video stream, in order, through FFmpeg's libavcodec (flv1 for
// Sorenson H.263, flashsv, flashsv2, vp6f and vp6a). The format's own framing is handled here:
// VP6's size-adjustment byte, the alpha offset of VP6 with alpha.

#include <cstdint>
#include <span>

#include "swf/video/video_picture.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace swf {

class VideoDecoder {
 public:
  // `deblocking` is the stream's flag (0 as coded, 1 off, more on).
  explicit VideoDecoder(int codec, int deblocking = 0);
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  int codec() const { return codec_; }
  // False when the codec is unknown or the library lacks its decoder: every frame fails.
  bool usable() const { return ctx_ != nullptr; }

  // Decodes the next frame into `out`. Returns false, leaving `out` empty, when the frame is
  // corrupt, too large, or the codec unusable.
  bool decode(std::span<const uint8_t> frame, VideoPicture& out) { return decode(frame, &out); }
  // The same without making pixels (`out` null): a frame only the next ones need.
  bool decode(std::span<const uint8_t> frame, VideoPicture* out);
  // Forgets the previous pictures: the next frame must be a key frame.
  void reset();

 private:
  void open();
  void close();

  int codec_;
  int deblocking_;
  AVCodecContext* ctx_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
};

// Converts a decoded libavcodec picture (YUV 4:2:0 with or without alpha, BGR24, RGB32 layouts)
// to premultiplied ARGB32, keeping `width` × `height` of its top-left corner. False for layouts
// it does not know.
bool convertPicture(const AVFrame& frame, int width, int height, VideoPicture& out);

}  // namespace swf
