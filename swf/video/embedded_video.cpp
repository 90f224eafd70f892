#include "swf/video/embedded_video.h"

namespace swf {

const VideoPicture* EmbeddedVideo::pictureAt(int number) {
  auto after = video_.frames.upper_bound(number);
  if (after == video_.frames.begin()) return nullptr;
  int target = std::prev(after)->first;
  if (target != shown_) {
    // Where to start: right after the last decoded frame when going forward, unless a key
    // frame lies between it and the target (skipping the frames in between).
    int start = -1;
    for (auto it = after; it != video_.frames.begin();) {
      --it;
      if (it->first <= decoded_ && decoded_ < target) {
        start = decoded_ + 1;
        break;
      }
      if (isKeyFrame(video_.codec, it->second)) {
        start = it->first;
        break;
      }
    }
    if (start < 0) start = video_.frames.begin()->first;  // no key frame: from the first
    decodeFrom(start, target);
  }
  return picture_.empty() ? nullptr : &picture_;
}

void EmbeddedVideo::decodeFrom(int start, int target) {
  if (!decoder_ || start <= decoded_) {
    decoder_ = std::make_unique<VideoDecoder>(video_.codec, video_.deblocking);
  }
  picture_.clear();
  for (auto it = video_.frames.lower_bound(start); it != video_.frames.end() && it->first <= target;
       ++it) {
    ++decodes_;
    // Only the wanted frame is turned into pixels; the ones before it only feed the decoder.
    decoder_->decode(it->second, it->first == target ? &picture_ : nullptr);
    decoded_ = it->first;
  }
  shown_ = target;
}

}  // namespace swf
