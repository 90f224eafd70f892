#include "swf/video/video_character.h"

namespace swf {

std::shared_ptr<VideoCharacter> parseVideoStream(BitReader& body) {
  auto v = std::make_shared<VideoCharacter>();
  v->id = body.u16();
  v->declaredFrames = body.u16();
  v->width = body.u16();
  v->height = body.u16();
  uint8_t flags = body.u8();
  v->deblocking = (flags >> 1) & 7;
  v->smoothing = flags & 1;
  v->codec = body.u8();
  return v;
}

}  // namespace swf
