#pragma once
// The movie player control as the player's window uses it: load by path, frame position and
// count, transport, zoom, quality, scale mode and loop, plus its place in the window. The real one
// wraps our engine (EngineFlashControl); tests use a fake that records calls.

#include <functional>
#include <memory>
#include <string>

#include "app/control.h"

namespace rv {

// Assigning this to Movie unloads the control.
inline const std::string kUnloadMovie(1, '\0');

class FlashControl : public Control {
 public:
  virtual ~FlashControl() = default;

  // Loads and starts the movie at `path`, or unloads on kUnloadMovie. A file that cannot be
  // played raises AppError; Movie then still reads back the path.
  virtual void setMovie(const std::string& path) = 0;
  virtual std::string movie() const = 0;  // empty when nothing is loaded
  bool hasMovie() const { return !movie().empty(); }

  // Frames are 0-based. Setting a frame outside the movie raises AppError.
  virtual void setFrameNum(int frame) = 0;
  virtual int frameNum() const = 0;
  virtual int totalFrames() const = 0;
  virtual int currentFrame() const = 0;
  virtual bool isPlaying() const = 0;

  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void back() = 0;
  virtual void forward() = 0;
  virtual void rewind() = 0;
  virtual void zoom(int percent) = 0;

  virtual void setQuality(int quality) = 0;  // 0 low, 1 high
  virtual int quality() const = 0;
  virtual void setScaleMode(int mode) = 0;   // 2 show all, 3 no scale
  virtual int scaleMode() const = 0;
  virtual void setLoop(bool loop) = 0;
  virtual bool loop() const = 0;

  virtual int flashVersion() const = 0;  // major version in the upper 16 bits

  // The left-button double-click message every new control receives before its movie is set.
  virtual void sendDoubleClick() = 0;

  // Set when the engine stopped one of the movie's scripts for running too long; the window
  // tells the user and clears it (outside the engine's own call, so a box may open safely).
  bool scriptStopped = false;

  // Raised by the movie's FSCommand actions.
  std::function<void(const std::string& command, const std::string& args)> onFSCommand;
  // A web page the movie asked for while the user clicked in it.
  std::function<void(const std::string& url)> onOpenUrl;
};

// Creates fresh controls; renewing a control in the window goes through here.
class FlashFactory {
 public:
  virtual ~FlashFactory() = default;
  virtual std::unique_ptr<FlashControl> create(const std::string& name) = 0;
};

}  // namespace rv
