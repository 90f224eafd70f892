#pragma once
// FLV files: the header and the tags (audio, video, script data) with their times. Reading is
// bounds-checked and never trusts the file: a tag whose size runs past the end ends the file
// there, and times that go backwards are held at the time before them, so playback always
// moves forward.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace swf {

enum class FlvTagType : uint8_t { Audio = 8, Video = 9, Script = 18 };

struct FlvTag {
  FlvTagType type;
  double timeMs = 0;              // never less than the tag before
  uint64_t offset = 0;            // of the tag header in the file
  std::span<const uint8_t> data;  // the body: the audio/video header byte and what follows

  // Video tags: frame type (1 key, 2 inter, 3 disposable, 5 command) and codec.
  int frameType() const { return data.empty() ? 0 : data[0] >> 4; }
  int videoCodec() const { return data.empty() ? 0 : data[0] & 0x0f; }
  // Audio tags: the format byte (codec in the high nibble, as in the SWF sound tags).
  int audioCodec() const { return data.empty() ? -1 : data[0] >> 4; }
};

struct FlvFile {
  int version = 0;
  bool hasAudio = false, hasVideo = false;  // as the header declares
  std::vector<FlvTag> tags;
  bool truncated = false;  // a tag claimed more bytes than the file holds
};

struct FlvError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws FlvError when the header is not an FLV header.
FlvFile readFlv(std::span<const uint8_t> data);

}  // namespace swf
