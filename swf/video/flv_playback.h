#pragma once
// Plays an FLV file for a NetStream: reads it whole (local files only), decodes its video in
// step with the clock, plays its sound through the mixer, and reports what a script hears
// (status codes, metadata, cue points). The sound's position is the clock while it plays; the
// movie's time otherwise.

#include <memory>
#include <string>
#include <vector>

#include "swf/io/amf0.h"
#include "swf/io/flv_file.h"
#include "swf/video/video_decoder.h"
#include "swf/video/video_feed.h"

namespace swf {

namespace sound {
class SoundEngine;
class SoundClip;
}  // namespace sound

struct FlvEvent {
  enum class Kind { Status, Script };
  Kind kind = Kind::Status;
  std::string code, level;     // Status: "NetStream.Play.Start", "status"
  std::string name;            // Script: the handler ("onMetaData", "onCuePoint", ...)
  std::vector<AmfValue> args;  // Script: its arguments
};

class FlvPlayback {
 public:
  // Files larger than this are not played.
  static constexpr uint64_t kMaxFileSize = uint64_t(1) << 30;

  explicit FlvPlayback(sound::SoundEngine* sound) : sound_(sound) {}
  ~FlvPlayback();
  FlvPlayback(const FlvPlayback&) = delete;
  FlvPlayback& operator=(const FlvPlayback&) = delete;

  // Starts the file at `path` (empty: refused); queues Play.Start or Play.StreamNotFound.
  void play(const std::string& path);
  // Starts bytes already read (tests, fuzzing).
  void play(std::shared_ptr<const std::vector<uint8_t>> bytes);
  // The movie's clock moved on `ms` milliseconds.
  void advance(double ms);
  void pause(bool on);
  bool paused() const { return paused_; }
  void seek(double seconds);
  void close();

  double timeSeconds() const { return timeMs_ / 1000; }
  uint64_t bytesLoaded() const { return file_ ? file_->size() : 0; }
  uint64_t bytesTotal() const { return file_ ? file_->size() : 0; }
  double bufferLengthSeconds() const;
  bool playing() const { return file_ && !ended_; }
  const std::shared_ptr<VideoFeed>& feed() const { return feed_; }
  std::vector<FlvEvent> takeEvents();
  bool hasEvents() const { return !events_.empty(); }

 private:
  void status(const char* code, const char* level = "status");
  void startSound();
  void stopSound();
  void runTagsUpTo(double ms);

  sound::SoundEngine* sound_;
  std::shared_ptr<const std::vector<uint8_t>> file_;
  FlvFile flv_;
  size_t next_ = 0;  // the next tag to act on
  double timeMs_ = 0;
  bool paused_ = false;
  bool ended_ = false;
  std::unique_ptr<VideoDecoder> decoder_;
  std::shared_ptr<VideoFeed> feed_ = std::make_shared<VideoFeed>();
  std::shared_ptr<sound::SoundClip> clip_;
  double soundStartMs_ = 0;
  uint64_t voice_ = 0;
  double voiceFromMs_ = 0;  // the stream time at which the voice started
  std::vector<FlvEvent> events_;
};

}  // namespace swf
