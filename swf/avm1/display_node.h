#pragma once
// What scripts see of the display tree. The player implements it for its sprites (and later its
// buttons and text fields); the machine reaches clips only through it.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "swf/avm1/value.h"

namespace swf::avm1 {

class ClipObject;
class Object;
class Vm;

// GetProperty/SetProperty numbers.
enum ClipProperty {
  PropX,
  PropY,
  PropXScale,
  PropYScale,
  PropCurrentFrame,
  PropTotalFrames,
  PropAlpha,
  PropVisible,
  PropWidth,
  PropHeight,
  PropRotation,
  PropTarget,
  PropFramesLoaded,
  PropName,
  PropDropTarget,
  PropUrl,
  PropHighQuality,
  PropFocusRect,
  PropSoundBufTime,
  PropQuality,
  PropXMouse,
  PropYMouse,
  PropCount
};

struct DisplayNode {
  virtual ~DisplayNode() = default;

  virtual std::weak_ptr<const char> nodeLife() const = 0;
  virtual DisplayNode* parentNode() = 0;  // null for a level's root
  virtual DisplayNode* childNode(const std::string& name, bool caseSensitive) = 0;
  virtual DisplayNode* rootNode() = 0;  // the root of its level
  virtual std::string nodeName() const = 0;
  virtual int levelNumber() const { return 0; }  // for roots
  virtual bool isTimeline() const { return true; }
  virtual int nodeDepth() const { return 0; }  // as scripts number depths (timeline ones < 0)
  // The name its symbol is exported under, for the class Object.registerClass gave it; empty
  // when it is not exported.
  virtual std::string symbolName() { return {}; }
  // The global class whose prototype its script object gets; null for MovieClip.
  virtual const char* scriptClass() const { return nullptr; }
  // Properties a kind of node adds of its own (a video's width); true when `key` is one.
  virtual bool getNodeProperty(Vm&, String* /*key*/, Value& /*out*/) { return false; }
  virtual bool setNodeProperty(Vm&, String* /*key*/, const Value&) { return false; }
  virtual void nodePropertyNames(Vm&, std::vector<String*>&) {}
  // The names of the named children, which `for..in` lists on the clip.
  virtual void childNames(std::vector<std::string>&) {}
  // Whether getNodeProperty may answer a name that does not start with '_'.
  virtual bool hasPlainNodeProperties() const { return false; }

  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void gotoFrame(int frame, bool play) = 0;  // 0-based, clamped
  virtual bool gotoLabel(const std::string& label, bool play) = 0;
  virtual int currentFrame() const = 0;  // 0-based
  virtual int totalFrames() const = 0;
  virtual int framesLoaded() const { return totalFrames(); }

  // The label's frame (0-based), -1 when there is none.
  virtual int findLabel(const std::string& label) const = 0;
  // The DoAction bodies of a frame, for the Call action; the owner keeps them alive.
  virtual std::vector<std::span<const uint8_t>> frameCode(int /*frame*/) { return {}; }
  virtual std::shared_ptr<const void> codeOwner() const { return nullptr; }
  // Clips made, moved and removed by scripts; depths as scripts number them (the timeline's
  // are below 0). A clip already at the depth is replaced.
  virtual DisplayNode* duplicateNode(const std::string& /*name*/, int /*depth*/) { return nullptr; }
  virtual void removeNode() {}
  // A clip of the exported symbol `symbol` of this clip's movie; null when there is none. With
  // `startLater` its first frame waits for startNode().
  virtual DisplayNode* attachNode(const std::string& /*symbol*/, const std::string& /*name*/,
                                  int /*depth*/, bool /*startLater*/) {
    return nullptr;
  }
  // Shows the first frame of a clip made with its start put off; nothing once it has one.
  virtual void startNode() {}
  virtual DisplayNode* createEmptyNode(const std::string& /*name*/, int /*depth*/) {
    return nullptr;
  }
  // Moves this clip to `depth` among its siblings; the one there takes this clip's depth.
  virtual void swapDepth(int /*depth*/) {}
  virtual DisplayNode* nodeAtDepth(int /*depth*/) { return nullptr; }
  virtual int nextHighestDepth() { return 0; }
  virtual double bytesTotal() const { return 0; }

  // Geometry, in pixels. `box` is x0, y0, x1, y1 in the space of `space` (null: the stage).
  virtual bool nodeBounds(DisplayNode* /*space*/, bool /*withStrokes*/, double* /*box*/) {
    return false;
  }
  virtual void localToGlobal(double& /*x*/, double& /*y*/) {}
  virtual void globalToLocal(double& /*x*/, double& /*y*/) {}
  // Whether the stage point (pixels) falls on the clip's box, or on its shapes.
  virtual bool hitTestPoint(double /*x*/, double /*y*/, bool /*shapes*/) { return false; }
  // Follows the pointer until stopDrag; `rect` (left, top, right, bottom in the parent's
  // pixels) bounds it when given.
  virtual void startDrag(bool /*lockCenter*/, const double* /*rect*/) {}
  virtual void stopDrag() {}
  // The colour transform as Color sees it: multipliers in percent, offsets.
  virtual void getColorTransform(double* /*ra_rb_ga_gb_ba_bb_aa_ab*/) {}
  virtual void setColorTransform(const double* /*ra_rb_ga_gb_ba_bb_aa_ab*/) {}

  // A child that is not a clip (a text field) called `name`, as its script object; null if none.
  virtual Object* childObject(Vm& /*vm*/, const std::string& /*name*/, bool /*caseSensitive*/) {
    return nullptr;
  }

  virtual Value getProperty(Vm& vm, int index) = 0;
  virtual void setProperty(Vm& vm, int index, const Value& v) = 0;

  // The machine's object for this node, kept here so a node has one object for its life.
  ClipObject* scriptObject = nullptr;
};

}  // namespace swf::avm1
