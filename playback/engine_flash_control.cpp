#include "playback/engine_flash_control.h"

#include <exception>

#include "app/errors.h"

namespace rv {

EngineFlashControl::EngineFlashControl() {
  player_.onFSCommand = [this](const std::string& command, const std::string& args) {
    if (onFSCommand) onFSCommand(command, args);
  };
  player_.onScriptTimeout = [this] { scriptStopped = true; };
  player_.onOpenUrl = [this](const std::string& url) {
    if (onOpenUrl) onOpenUrl(url);
  };
}

void EngineFlashControl::setMovie(const std::string& path) {
  failedPath_.clear();
  if (path.empty() || path == kUnloadMovie) {
    player_.unload();
    return;
  }
  try {
    player_.load(path);
  } catch (const std::exception& e) {
    // Whatever was shown before is gone, as with a successful load.
    player_.unload();
    failedPath_ = path;
    throw AppError("cannot play " + path + ": " + e.what());
  }
}

std::string EngineFlashControl::movie() const {
  return player_.loaded() ? player_.path() : failedPath_;
}

void EngineFlashControl::requireMovie(const char* operation) const {
  if (!player_.loaded()) throw AppError(std::string(operation) + " without a movie");
}

void EngineFlashControl::setFrameNum(int frame) {
  requireMovie("FrameNum");
  try {
    player_.gotoFrame(frame);
  } catch (const swf::RangeError& e) {
    throw AppError(e.what());
  }
}

void EngineFlashControl::play() {
  requireMovie("Play");
  player_.play();
}

void EngineFlashControl::stop() {
  requireMovie("Stop");
  player_.stop();
}

void EngineFlashControl::back() {
  requireMovie("Back");
  player_.back();
}

void EngineFlashControl::forward() {
  requireMovie("Forward");
  player_.forward();
}

void EngineFlashControl::rewind() {
  requireMovie("Rewind");
  player_.rewind();
}

std::unique_ptr<FlashControl> EngineFlashFactory::create(const std::string& name) {
  auto control = std::make_unique<EngineFlashControl>();
  control->name = name;
  return control;
}

}  // namespace rv
