#pragma once
// Lets actions drive the timeline they belong to, and the player around it.

#include "swf/avm1/action_host.h"
#include "swf/player/sprite_instance.h"

namespace swf {

class Player;

class TimelineActionHost : public avm1::ActionHost {
 public:
  TimelineActionHost(Player& player, SpriteInstance& root, SpriteInstance& timeline);

  void play() override;
  void stop() override;
  void nextFrame() override;
  void previousFrame() override;
  void gotoFrame(int frame) override;
  void gotoLabel(const std::string& label) override;
  void getURL(const std::string& url, const std::string& target) override;
  void toggleQuality() override;
  void stopSounds() override;
  bool setTarget(const std::string& path) override;
  bool frameLoaded(int frame) override;
  void trace(const std::string& text) override;

 private:
  SpriteInstance* target() const;  // null once the target is gone

  Player& player_;
  SpriteInstance& root_;  // outlives every action block: only unloading ends it
  SpriteInstance* original_;
  std::weak_ptr<const char> originalAlive_;
  SpriteInstance* target_;
  std::weak_ptr<const char> targetAlive_;
};

}  // namespace swf
