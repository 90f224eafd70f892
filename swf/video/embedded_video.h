#pragma once
// Decodes the frames of an embedded stream for one instance on the stage. Frames are decoded
// once and in order; going back (or far ahead) restarts the decoder at the last key frame at or
// before the wanted frame, as inter frames need the ones before them.

#include <memory>

#include "swf/video/video_character.h"
#include "swf/video/video_decoder.h"

namespace swf {

class EmbeddedVideo {
 public:
  explicit EmbeddedVideo(const VideoCharacter& v) : video_(v) {}

  // The picture of frame `number` (the last frame at or before it that the stream holds);
  // null when there is none or it cannot be decoded.
  const VideoPicture* pictureAt(int number);
  // Frames decoded since creation (for tests: each frame is decoded once when played forward).
  int decodeCount() const { return decodes_; }

 private:
  void decodeFrom(int start, int target);

  const VideoCharacter& video_;
  std::unique_ptr<VideoDecoder> decoder_;
  VideoPicture picture_;
  int decoded_ = -1;  // the frame number the decoder last took
  int shown_ = -1;    // the frame number `picture_` holds (-1 none)
  int decodes_ = 0;
};

}  // namespace swf
