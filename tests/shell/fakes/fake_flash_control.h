#pragma once
// A Flash control that plays nothing and records every call, e.g. "Zoom(80)", "Movie=/m/a.swf",
// "FrameNum=12". Movies "play" by what the test sets: frames, position, playing state.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/errors.h"
#include "playback/flash_control.h"

namespace rv::test {

class FakeFlashFactory;

class FakeFlashControl : public FlashControl {
 public:
  explicit FakeFlashControl(FakeFlashFactory* factory) : factory_(factory) {}
  ~FakeFlashControl() override;

  // What the test reads and steers.
  std::vector<std::string> calls;
  std::string loadedPath;  // what Movie reads back
  int total = 0;
  int frame = 0;
  bool playing = false;
  int quality_ = 1;
  int scaleMode_ = 2;
  bool loop_ = true;

  void setMovie(const std::string& path) override;
  std::string movie() const override { return loadedPath; }
  void setFrameNum(int f) override;
  int frameNum() const override { return frame; }
  int totalFrames() const override { return total; }
  int currentFrame() const override { return frame; }
  bool isPlaying() const override { return playing; }
  void play() override;
  void stop() override;
  void back() override;
  void forward() override;
  void rewind() override;
  void zoom(int percent) override { record("Zoom(" + std::to_string(percent) + ")"); }
  void setQuality(int q) override {
    record("Quality=" + std::to_string(q));
    quality_ = q;
  }
  int quality() const override { return quality_; }
  void setScaleMode(int m) override {
    record("ScaleMode=" + std::to_string(m));
    scaleMode_ = m;
  }
  int scaleMode() const override { return scaleMode_; }
  void setLoop(bool l) override {
    record(std::string("Loop=") + (l ? "1" : "0"));
    loop_ = l;
  }
  bool loop() const override { return loop_; }
  int flashVersion() const override;
  void sendDoubleClick() override { record("DoubleClick"); }

  // Calls made since the last clear, and whether one was made.
  bool called(const std::string& call) const {
    for (const auto& c : calls)
      if (c == call) return true;
    return false;
  }
  int count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }

 private:
  void record(const std::string& call);
  void requireMovie(const char* what) const {
    if (loadedPath.empty()) throw AppError(std::string(what) + " without a movie");
  }
  FakeFlashFactory* factory_;
};

// Makes fake controls and keeps one log over all of them ("Flash1.Zoom(80)", "create Flash1",
// "destroy Flash1"), so tests can check the order of events across controls.
class FakeFlashFactory : public FlashFactory {
 public:
  std::vector<std::string> log;
  int defaultFrames = 100;
  std::map<std::string, int> framesByPath;  // frame count of particular movies
  std::set<std::string> unplayable;         // loading these raises AppError
  int version = 0x00050000;
  int created = 0;

  std::unique_ptr<FlashControl> create(const std::string& name) override {
    auto c = std::make_unique<FakeFlashControl>(this);
    c->name = name;
    ++created;
    log.push_back("create " + name);
    return c;
  }
  int framesOf(const std::string& path) const {
    auto it = framesByPath.find(path);
    return it == framesByPath.end() ? defaultFrames : it->second;
  }
  int countOf(const std::string& entry) const {
    int n = 0;
    for (const auto& e : log) n += e == entry;
    return n;
  }
};

inline FakeFlashControl::~FakeFlashControl() {
  if (factory_) factory_->log.push_back("destroy " + name);
}

inline void FakeFlashControl::record(const std::string& call) {
  calls.push_back(call);
  if (factory_) factory_->log.push_back(name + "." + call);
}

inline void FakeFlashControl::setMovie(const std::string& path) {
  if (path == kUnloadMovie) {
    record("Movie=<unload>");
    loadedPath.clear();
    total = frame = 0;
    playing = false;
    return;
  }
  record("Movie=" + path);
  loadedPath = path;
  frame = 0;
  if (factory_ && factory_->unplayable.count(path)) {
    total = 0;
    playing = false;
    throw AppError("cannot play " + path);
  }
  total = factory_ ? factory_->framesOf(path) : 100;
  playing = true;
}

inline void FakeFlashControl::setFrameNum(int f) {
  record("FrameNum=" + std::to_string(f));
  requireMovie("FrameNum");
  if (f < 0 || f >= total) throw AppError("no such frame");
  frame = f;
}

inline void FakeFlashControl::play() {
  record("Play");
  requireMovie("Play");
  playing = true;
}

inline void FakeFlashControl::stop() {
  record("Stop");
  requireMovie("Stop");
  playing = false;
}

inline void FakeFlashControl::back() {
  record("Back");
  requireMovie("Back");
  if (frame > 0) --frame;
  playing = false;
}

inline void FakeFlashControl::forward() {
  record("Forward");
  requireMovie("Forward");
  if (frame + 1 < total) ++frame;
  playing = false;
}

inline void FakeFlashControl::rewind() {
  record("Rewind");
  requireMovie("Rewind");
  frame = 0;
}

inline int FakeFlashControl::flashVersion() const { return factory_ ? factory_->version : 0x50000; }

// The fake behind one of the form's control slots.
inline FakeFlashControl& fake(const std::unique_ptr<FlashControl>& control) {
  return dynamic_cast<FakeFlashControl&>(*control);
}

}  // namespace rv::test
