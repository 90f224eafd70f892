#pragma once
// A display object put on the stage by a timeline or a button. Its life token lets queued
// actions and the mouse notice when it is gone.

#include <memory>

#include "swf/player/display_object.h"
#include "swf/player/placement.h"
#include "swf/player/player_context.h"

namespace swf {

class SpriteInstance;

class PlacedObject : public DisplayObject {
 public:
  PlacedObject(PlayerContext& ctx, SpriteInstance* parentTimeline, int nesting)
      : ctx_(ctx), parentTimeline_(parentTimeline), nesting_(nesting) {
    ++ctx_.liveObjects;
    createdTick_ = ctx_.tick;
    birth_ = ++ctx_.births;
  }
  ~PlacedObject() override { --ctx_.liveObjects; }
  PlacedObject(const PlacedObject&) = delete;
  PlacedObject& operator=(const PlacedObject&) = delete;

  // Takes the properties of a placement; returns true when one of them changed.
  bool applyPlacement(const Placement& p);

  int serial = -1;  // the placement that created it (-1: a button's state record)
  // A holder of the objects that share one depth (no character of its own; see depth_stack.h).
  bool holdsStack = false;
  bool autoNamed = false;  // named "instanceN" by the player, not by the file
  // Made by a script or moved by swapDepths: the timeline no longer places or removes it.
  bool scripted = false;
  // A script set its position, scale or rotation: the timeline no longer moves it.
  bool scriptMoved = false;
  SpriteInstance* parentTimeline() const { return parentTimeline_; }
  int nesting() const { return nesting_; }
  uint64_t createdTick() const { return createdTick_; }
  // Counts objects made over the player's life: clips advance newest first.
  uint64_t birth() const { return birth_; }
  // Taken off the stage and kept only until its unload handlers ran: nothing else of it runs.
  bool removed = false;
  std::weak_ptr<const char> lifeToken() const { return life_; }
  void markChanged() { ctx_.changed = true; }
  PlayerContext& context() { return ctx_; }

  // _xscale, _yscale and _rotation as scripts last saw or set them: the original keeps these
  // apart from the matrix (a negative scale reads back negative), and takes them from the
  // matrix again only when a placement moves the object.
  struct ScriptScale {
    double xscale = 100, yscale = 100, rotation = 0;
    bool valid = false;
  } scriptScale;

  // A link to another placed object that notices when that one is gone.
  struct Link {
    PlacedObject* to = nullptr;
    std::weak_ptr<const char> alive;
    PlacedObject* get() const { return alive.expired() ? nullptr : to; }
  };
  // Set by setMask (clip_masks.h): this one shows only where `scriptMask` draws; `masking` is
  // the object this one masks.
  Link scriptMask, masking;
  const DisplayObject* scriptMaskObject() const override { return scriptMask.get(); }

 protected:
  PlayerContext& ctx_;

 private:
  SpriteInstance* parentTimeline_;
  int nesting_;
  uint64_t createdTick_ = 0;
  uint64_t birth_ = 0;
  std::shared_ptr<const char> life_ = std::make_shared<const char>(0);
};

// Makes the instance a placement calls for: a sprite with its timeline, a button, or a plain
// object. Returns null when the player's object budget is spent.
std::unique_ptr<PlacedObject> instantiate(const Placement& p, int depth, PlayerContext& ctx,
                                          SpriteInstance* parentTimeline, int nesting);

}  // namespace swf
