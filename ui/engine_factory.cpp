#include "ui/engine_factory.h"

#if __has_include("playback/engine_flash_control.h")
#include "playback/engine_flash_control.h"

namespace rv::ui {
std::unique_ptr<FlashFactory> makeEngineFlashFactory() {
  return std::make_unique<EngineFlashFactory>();
}
}  // namespace rv::ui

#else
#include "app/errors.h"

namespace rv::ui {
namespace {
// Stands in until the engine control is part of the build: loads nothing.
class NoEngineControl : public FlashControl {
 public:
  void setMovie(const std::string& path) override {
    if (path != kUnloadMovie) throw AppError("no movie engine");
  }
  std::string movie() const override { return {}; }
  void setFrameNum(int) override { throw AppError("no movie"); }
  int frameNum() const override { return 0; }
  int totalFrames() const override { return 0; }
  int currentFrame() const override { return 0; }
  bool isPlaying() const override { return false; }
  void play() override {}
  void stop() override {}
  void back() override {}
  void forward() override {}
  void rewind() override {}
  void zoom(int) override {}
  void setQuality(int q) override { quality_ = q; }
  int quality() const override { return quality_; }
  void setScaleMode(int m) override { scale_ = m; }
  int scaleMode() const override { return scale_; }
  void setLoop(bool l) override { loop_ = l; }
  bool loop() const override { return loop_; }
  int flashVersion() const override { return 0x00050000; }
  void sendDoubleClick() override {}

 private:
  int quality_ = 1, scale_ = 2;
  bool loop_ = true;
};
class NoEngineFactory : public FlashFactory {
 public:
  std::unique_ptr<FlashControl> create(const std::string&) override {
    return std::make_unique<NoEngineControl>();
  }
};
}  // namespace
std::unique_ptr<FlashFactory> makeEngineFlashFactory() {
  return std::make_unique<NoEngineFactory>();
}
}  // namespace rv::ui
#endif
