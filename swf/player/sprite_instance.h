#pragma once
// A running timeline: the root movie or a sprite. It keeps what its timeline says belongs at
// each depth and brings its children in line with it after every frame change.

#include <map>

#include "swf/avm1/display_node.h"
#include "swf/movie/timeline.h"
#include "swf/player/clip_events.h"
#include "swf/player/placed_object.h"

namespace swf {

class SpriteInstance : public PlacedObject, public avm1::DisplayNode {
 public:
  SpriteInstance(const Timeline& timeline, PlayerContext& ctx, SpriteInstance* parentTimeline,
                 int nesting);
  ~SpriteInstance() override;

  // Shows the first frame and queues its actions; called once after construction.
  void start();

  const Timeline& timeline() const { return timeline_; }
  int currentFrame() const override { return frame_; }
  int frameCount() const { return timeline_.frameCount(); }
  bool playing() const { return playing_; }
  void setPlaying(bool on);

  // Goes to `frame` (clamped to the timeline), builds its display list, queues its actions.
  // Going to the frame already shown does nothing.
  void gotoFrame(int frame);
  // One frame on while playing; past the end wraps when `loop`, else stops. Returns true when
  // the frame changed.
  bool step(bool loop);
  // Steps this timeline and every nested one that existed before this tick.
  void advanceTree(bool loop);

  // Clip events from the placement that made it.
  std::vector<ClipEvent> clipEvents;
  // Queues the clip events (and handler method) of one kind for this sprite.
  void queueEvent(uint32_t flag, const char* handler);

  // What scripts see (sprite_script.cpp).
  std::weak_ptr<const char> nodeLife() const override { return lifeToken(); }
  avm1::DisplayNode* parentNode() override { return parentTimeline(); }
  avm1::DisplayNode* childNode(const std::string& name, bool caseSensitive) override;
  avm1::DisplayNode* rootNode() override;
  avm1::Object* childObject(avm1::Vm& vm, const std::string& name, bool caseSensitive) override;
  std::string nodeName() const override { return name; }
  int levelNumber() const override { return depth; }
  int nodeDepth() const override { return depth - 16384; }
  void play() override { playing_ = true; }
  void stop() override { playing_ = false; }
  void gotoFrame(int frame, bool play) override;
  bool gotoLabel(const std::string& label, bool play) override;
  int totalFrames() const override { return frameCount(); }
  int findLabel(const std::string& label) const override { return timeline_.findLabel(label); }
  std::vector<std::span<const uint8_t>> frameCode(int frame) override;
  std::shared_ptr<const void> codeOwner() const override;
  avm1::Value getProperty(avm1::Vm& vm, int index) override;
  void setProperty(avm1::Vm& vm, int index, const avm1::Value& v) override;
  void removeNode() override;

 private:
  void reconcile(DepthList& depths);
  // Starts the event sounds of the frame just entered and feeds its stream block.
  void enterSounds(int previous);

  const Timeline& timeline_;
  int frame_ = -1;
  bool playing_ = true;
  bool wrapping_ = false;  // the step from the last frame back to the first
  DepthState state_;
  std::map<int, DepthState> snapshots_;  // frame → its list (the root only)
  size_t snapshotPlacements_ = 0;
};

// Steps the sprites among `node`'s children (and deeper) that existed before this tick.
void advanceChildren(DisplayObject& node);

}  // namespace swf
