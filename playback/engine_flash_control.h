#pragma once
// The production Flash control: our engine's player behind the control operations the player's
// window uses. The Qt widget reaches the player through player() to draw it and give it time.

#include <memory>
#include <string>

#include "playback/flash_control.h"
#include "swf/player/player.h"

namespace rv {

class EngineFlashControl : public FlashControl {
 public:
  EngineFlashControl();

  // A file the engine cannot read raises AppError and leaves Movie reading back its path, so
  // the report can name it; kUnloadMovie (or "") unloads.
  void setMovie(const std::string& path) override;
  std::string movie() const override;

  void setFrameNum(int frame) override;
  int frameNum() const override { return player_.currentFrame(); }
  int totalFrames() const override { return player_.totalFrames(); }
  int currentFrame() const override { return player_.currentFrame(); }
  bool isPlaying() const override { return player_.isPlaying(); }

  // Like the control they stand for, these refuse to act without a movie (AppError).
  void play() override;
  void stop() override;
  void back() override;
  void forward() override;
  void rewind() override;
  void zoom(int percent) override { player_.zoom(percent); }

  void setQuality(int quality) override { player_.setQuality(quality); }
  int quality() const override { return player_.quality(); }
  void setScaleMode(int mode) override { player_.setScaleMode(mode); }
  int scaleMode() const override { return player_.scaleMode(); }
  void setLoop(bool loop) override { player_.setLoop(loop); }
  bool loop() const override { return player_.loop(); }

  int flashVersion() const override { return swf::Player::flashVersion(); }
  // The engine needs no wake-up before its first movie.
  void sendDoubleClick() override {}

  swf::Player& player() { return player_; }
  const swf::Player& player() const { return player_; }

 private:
  void requireMovie(const char* operation) const;

  swf::Player player_;
  std::string failedPath_;  // the last path that could not be loaded, until the next setMovie
};

class EngineFlashFactory : public FlashFactory {
 public:
  std::unique_ptr<FlashControl> create(const std::string& name) override;
};

}  // namespace rv
