#pragma once
// An embedded video stream (DefineVideoStream) and the frames the timelines carry for it
// (VideoFrame). The frames are gathered while the movie is parsed; the character is immutable
// afterwards and shared by every player. Decoding state lives with each instance on the stage.

#include <cstdint>
#include <map>
#include <span>

#include "swf/io/bit_reader.h"
#include "swf/movie/character.h"
#include "swf/video/video_codec.h"

namespace swf {

class VideoCharacter : public Character {
 public:
  // Drawn by its instances (VideoInstance), found by its type.
  CharacterKind kind() const override { return CharacterKind::Other; }

  int declaredFrames = 0;
  int width = 0, height = 0;  // pixels; the object is drawn at this size whatever the frames hold
  int deblocking = 0;         // 0 as the stream says, 1 off, 2.. on
  bool smoothing = false;
  int codec = 0;  // VideoCodec value as written (may be one we do not know)

  // The frames by number, their bodies pointing into the movie's data.
  std::map<int, std::span<const uint8_t>> frames;

  // Adds a frame unless one with the same number came first.
  void addFrame(int number, std::span<const uint8_t> data) { frames.emplace(number, data); }
};

// Reads a DefineVideoStream body; throws ReadError when it is too short.
std::shared_ptr<VideoCharacter> parseVideoStream(BitReader& body);

}  // namespace swf
