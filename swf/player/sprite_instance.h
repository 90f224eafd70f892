#pragma once
// A running timeline: the root movie or a sprite. It keeps what its timeline says belongs at
// each depth and brings its children in line with it after every frame change.

#include <map>

#include "swf/avm1/display_node.h"
#include "swf/movie/timeline.h"
#include "swf/player/clip_events.h"
#include "swf/player/placed_object.h"

namespace swf {

class TextFieldInstance;

class SpriteInstance : public PlacedObject, public avm1::DisplayNode {
 public:
  SpriteInstance(const Timeline& timeline, PlayerContext& ctx, SpriteInstance* parentTimeline,
                 int nesting);
  ~SpriteInstance() override;

  // Shows the first frame and queues its actions; called once after construction.
  void start();

  const Timeline& timeline() const { return timeline_; }
  int currentFrame() const override { return frame_; }
  int furthestFrame() const { return furthestFrame_; }  // the furthest frame shown so far
  int frameCount() const { return timeline_.frameCount(); }
  bool playing() const { return playing_; }
  void setPlaying(bool on);

  // Goes to `frame` (clamped to the timeline), builds its display list, queues its actions.
  // Going to the frame already shown does nothing.
  void gotoFrame(int frame);
  // One frame on while playing; past the end wraps when `loop`, else stops. Returns true when
  // the frame changed.
  bool step(bool loop);

  // Clip events from the placement that made it.
  std::vector<ClipEvent> clipEvents;
  // Queues the clip events (and handler method) of one kind for this sprite.
  void queueEvent(uint32_t flag, const char* handler);
  void queueActions(std::span<const uint8_t> code) {
    ctx_.actions.push_back({lifeToken(), this, code, nullptr});
  }

  // What scripts see (sprite_script.cpp).
  std::weak_ptr<const char> nodeLife() const override { return lifeToken(); }
  avm1::DisplayNode* parentNode() override { return parentTimeline(); }
  avm1::DisplayNode* childNode(const std::string& name, bool caseSensitive) override;
  void childNames(std::vector<std::string>& out) override;
  // `_root` for scripts: the level's root, or the nearest clip up from here with `_lockroot`.
  avm1::DisplayNode* rootNode() override;
  SpriteInstance* levelTop();  // the level's root, whatever `_lockroot` says
  bool lockRoot = false;
  // On a clip or level a movie was loaded into: that movie's `_url` as the loading script wrote
  // it (Player::movieAddress); empty gives the file's own address.
  std::string loadedAddress;
  bool getNodeProperty(avm1::Vm& vm, avm1::String* key, avm1::Value& out) override;
  bool setNodeProperty(avm1::Vm& vm, avm1::String* key, const avm1::Value& v) override;
  avm1::Object* childObject(avm1::Vm& vm, const std::string& name, bool caseSensitive) override;
  TextFieldInstance* namedField(const std::string& name, bool caseSensitive);
  std::string nodeName() const override { return name; }
  int levelNumber() const override { return depth; }
  int nodeDepth() const override {
    return parentTimeline() || !rootMoved_ ? depth - 16384 : rootDepth_;
  }
  void play() override { playing_ = true; }
  void stop() override { playing_ = false; }
  void gotoFrame(int frame, bool play) override;
  bool gotoLabel(const std::string& label, bool play) override;
  int totalFrames() const override;
  int framesLoaded() const override;
  int findLabel(const std::string& label) const override { return timeline_.findLabel(label); }
  std::vector<std::span<const uint8_t>> frameCode(int frame) override;
  std::shared_ptr<const void> codeOwner() const override;
  avm1::Value getProperty(avm1::Vm& vm, int index) override;
  void setProperty(avm1::Vm& vm, int index, const avm1::Value& v) override;
  // Clips made and moved by scripts (sprite_clips.cpp).
  void removeNode() override;
  avm1::DisplayNode* duplicateNode(const std::string& name, int depth) override;
  std::string symbolName() override;
  avm1::DisplayNode* attachNode(const std::string& symbol, const std::string& name, int depth,
                                bool startLater) override;
  void startNode() override { start(); }
  avm1::DisplayNode* createEmptyNode(const std::string& name, int depth) override;
  void swapDepth(int depth) override;
  avm1::DisplayNode* nodeAtDepth(int depth) override;
  int nextHighestDepth() override;
  double bytesTotal() const override;
  // `_url`: the address of the movie this clip came from ("file:///dir/movie.swf").
  std::string movieUrl() const;
  // A sprite of `c` at a script depth, replacing what is there, with `like`'s placement.
  SpriteInstance* placeScriptClip(std::shared_ptr<const Character> c, uint16_t id,
                                  const std::string& name, int scriptDepth,
                                  const SpriteInstance* like, bool startLater = false);
  // Takes the child at a display-list depth off the stage, its unload events queued.
  void dropChild(int internalDepth);
  std::map<int, std::unique_ptr<DisplayObject>>::iterator eraseChild(
      std::map<int, std::unique_ptr<DisplayObject>>::iterator it);

  // Geometry, masks, dragging and colour as scripts see them (sprite_geometry.cpp).
  bool nodeBounds(avm1::DisplayNode* space, bool withStrokes, double* box) override;
  void localToGlobal(double& x, double& y) override;
  void globalToLocal(double& x, double& y) override;
  bool hitTestPoint(double x, double y, bool shapes) override;
  void startDrag(bool lockCenter, const double* rect) override;
  void stopDrag() override;
  void getColorTransform(double* v) override;
  void setColorTransform(const double* v) override;
  // This sprite's twips to stage twips.
  Matrix toStage() const;
  // Moves a dragged sprite under the pointer (startDrag's offset and bounds).
  void followPointer();
  // "/a/b" of the topmost sprite under the pointer besides this one; "" over none.
  std::string findDropTarget();
  std::string dropTarget;  // where the last drag of it ended (_droptarget)
  // _focusrect: -1 not set (null; a level's root shows the player's default, true), 0, 1.
  int8_t focusRect = -1;

 private:
  void reconcile(DepthList& depths);
  // Queues the events of entering `target` (the display changes in `touched`) and its actions.
  void queueFrame(int target, DepthList& touched, bool back);
  // Going back, the timeline takes its depths back from what scripts made or moved there.
  void dropScriptClipsAtTimelineDepths();
  // Whether the object at `depth` now is the one `p` placed.
  bool shows(int depth, const Placement& p) const;
  // Makes and at once removes the clip `p` places, for a jump that passes it by.
  void passBy(int depth, const Placement& p);
  // Starts the event sounds of the frame just entered and feeds its stream block.
  void enterSounds(int previous);

  const Timeline& timeline_;
  int frame_ = -1;
  int furthestFrame_ = -1;
  bool playing_ = true;
  bool wrapping_ = false;  // the step from the last frame back to the first
  DepthState state_;
  std::map<int, DepthState> snapshots_;  // frame → its list (the root only)
  size_t snapshotPlacements_ = 0;
  // A level's root has no siblings to trade with: swapDepths only changes what getDepth says.
  bool rootMoved_ = false;
  int rootDepth_ = 0;
};

// "/a/b", "/" for a root: the slash form of a sprite's path.
std::string slashPathOf(const SpriteInstance* s);

}  // namespace swf
