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
  virtual DisplayNode* duplicateNode(const std::string& /*name*/, int /*depth*/) { return nullptr; }
  virtual void removeNode() {}

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
