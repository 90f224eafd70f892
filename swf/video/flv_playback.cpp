#include "swf/video/flv_playback.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "swf/sound/sound_engine.h"
#include "swf/video/flv_audio.h"

namespace swf {

FlvPlayback::~FlvPlayback() { stopSound(); }

void FlvPlayback::status(const char* code, const char* level) {
  FlvEvent e;
  e.code = code;
  e.level = level;
  events_.push_back(std::move(e));
}

std::vector<FlvEvent> FlvPlayback::takeEvents() { return std::exchange(events_, {}); }

void FlvPlayback::play(const std::string& path) {
  std::error_code error;
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  bool ok = !path.empty() && std::filesystem::is_regular_file(path, error);
  if (ok) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    ok = in && size >= 0 && uint64_t(size) <= kMaxFileSize;
    if (ok) {
      in.seekg(0);
      bytes->resize(size_t(size));
      ok = size == 0 || bool(in.read(reinterpret_cast<char*>(bytes->data()), size));
    }
  }
  if (!ok) {
    close();
    status("NetStream.Play.StreamNotFound", "error");
    return;
  }
  play(std::move(bytes));
}

void FlvPlayback::play(std::shared_ptr<const std::vector<uint8_t>> bytes) {
  close();
  try {
    flv_ = readFlv(*bytes);
  } catch (const FlvError&) {
    status("NetStream.Play.StreamNotFound", "error");
    return;
  }
  file_ = std::move(bytes);
  FlvAudio audio = decodeFlvAudio(flv_);
  if (!audio.empty()) {
    soundStartMs_ = audio.startMs;
    clip_ = sound::SoundClip::fromSamples(std::move(audio.samples), audio.channels, audio.rate);
  }
  status("NetStream.Play.Start");
  // A local file is in memory at once: the buffer is filled and flushed straight away.
  status("NetStream.Buffer.Flush");
  startSound();
}

void FlvPlayback::close() {
  stopSound();
  file_.reset();
  flv_ = {};
  clip_.reset();
  next_ = 0;
  timeMs_ = 0;
  ended_ = false;
  paused_ = false;
  decoder_.reset();
}

void FlvPlayback::startSound() {
  stopSound();
  if (!sound_ || !clip_ || paused_ || ended_) return;
  double offset = (timeMs_ - soundStartMs_) / 1000;
  if (offset < 0 || offset * clip_->rate() >= double(clip_->decodedFrames())) return;
  voice_ = sound_->start(clip_, sound::SoundInfo{}, nullptr, offset);
  voiceFromMs_ = timeMs_;
}

void FlvPlayback::stopSound() {
  if (sound_ && voice_) sound_->stopVoice(voice_);
  voice_ = 0;
}

void FlvPlayback::pause(bool on) {
  if (!file_ || on == paused_) return;
  paused_ = on;
  if (on)
    stopSound();
  else
    startSound();
  status(on ? "NetStream.Pause.Notify" : "NetStream.Unpause.Notify");
}

void FlvPlayback::seek(double seconds) {
  if (!file_) return;
  double target = std::isfinite(seconds) ? std::max(seconds, 0.0) * 1000 : 0;
  // Video restarts at the last key frame at or before the target, and the time with it.
  size_t from = 0;
  double at = 0;
  for (size_t i = 0; i < flv_.tags.size() && flv_.tags[i].timeMs <= target; ++i) {
    const FlvTag& t = flv_.tags[i];
    if (t.type == FlvTagType::Video && t.frameType() == 1) {
      from = i;
      at = t.timeMs;
    }
  }
  if (from == 0) at = 0;
  next_ = from;
  timeMs_ = at;
  ended_ = false;
  decoder_.reset();
  status("NetStream.Seek.Notify");
  startSound();
}

double FlvPlayback::bufferLengthSeconds() const {
  if (!file_ || flv_.tags.empty()) return 0;
  return std::max(0.0, flv_.tags.back().timeMs - timeMs_) / 1000;
}

void FlvPlayback::advance(double ms) {
  if (!file_) return;
  if (ended_ || paused_) return;
  if (voice_ && sound_ && sound_->isPlaying(voice_)) {
    // The sound is the clock: the video follows what has been heard.
    timeMs_ = std::max(timeMs_, voiceFromMs_ + sound_->positionSeconds(voice_) * 1000);
  } else {
    timeMs_ += std::isfinite(ms) ? std::clamp(ms, 0.0, 1000.0) : 0;
  }
  runTagsUpTo(timeMs_);
  // The end: every tag acted on and the sound heard to its end.
  bool hearing = voice_ && sound_ && sound_->isPlaying(voice_);
  if (next_ >= flv_.tags.size() && !hearing) {
    ended_ = true;
    voice_ = 0;
    status("NetStream.Play.Stop");
  }
}

void FlvPlayback::runTagsUpTo(double ms) {
  // The last video frame due is the one shown; the ones before it only feed the decoder.
  size_t lastVideo = flv_.tags.size();
  size_t end = next_;
  while (end < flv_.tags.size() && flv_.tags[end].timeMs <= ms) {
    if (flv_.tags[end].type == FlvTagType::Video) lastVideo = end;
    ++end;
  }
  bool newPicture = false;
  for (; next_ < end; ++next_) {
    const FlvTag& t = flv_.tags[next_];
    if (t.type == FlvTagType::Script) {
      try {
        std::vector<AmfValue> values = readAmf0(t.data);
        if (values.empty() || values[0].type != AmfValue::Type::String) continue;
        FlvEvent e;
        e.kind = FlvEvent::Kind::Script;
        e.name = values[0].string;
        e.args.assign(std::make_move_iterator(values.begin() + 1),
                      std::make_move_iterator(values.end()));
        events_.push_back(std::move(e));
      } catch (const AmfError&) {
        // A script tag that cannot be read is skipped; playback goes on.
      }
      continue;
    }
    if (t.type != FlvTagType::Video || t.data.size() < 2) continue;
    int codec = t.videoCodec();
    if (t.frameType() == 5) continue;  // a command frame, no picture
    // A tag of another codec than the stream had: a new decoder for it.
    if (!decoder_ || decoder_->codec() != codec) decoder_ = std::make_unique<VideoDecoder>(codec);
    bool show = next_ == lastVideo;
    VideoPicture& pic = feed_->picture;
    bool ok = decoder_->decode(t.data.subspan(1), show ? &pic : nullptr);
    if (show) {
      if (ok) {
        feed_->width = pic.width;
        feed_->height = pic.height;
      }
      newPicture = true;  // a frame that would not decode shows as nothing
    }
  }
  if (newPicture) feed_->changed();
}

}  // namespace swf
