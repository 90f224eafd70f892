#pragma once
// What actions act on: the timeline they run in and the player around it. The script engine
// calls only this interface, so it needs nothing from the display tree's classes.

#include <string>

namespace swf::avm1 {

struct ActionHost {
  virtual ~ActionHost() = default;
  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void nextFrame() = 0;
  virtual void previousFrame() = 0;
  virtual void gotoFrame(int frame) = 0;  // 0-based, then stopped
  virtual void gotoLabel(const std::string& label) = 0;
  virtual void getURL(const std::string& url, const std::string& target) = 0;
  virtual void toggleQuality() = 0;
  virtual void stopSounds() = 0;
  // Redirects the following actions to the timeline at `path` ("" restores the original);
  // returns false when no such timeline exists.
  virtual bool setTarget(const std::string& path) = 0;
  virtual bool frameLoaded(int frame) = 0;
  virtual void trace(const std::string& text) = 0;
};

}  // namespace swf::avm1
