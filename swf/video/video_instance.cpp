#include "swf/video/video_instance.h"

#include <strings.h>

#include <algorithm>
#include <cmath>

#include "swf/avm1/vm.h"
#include "swf/player/placed_properties.h"
#include "swf/player/sprite_instance.h"

namespace swf {

VideoInstance::VideoInstance(const VideoCharacter& v, PlayerContext& ctx,
                             SpriteInstance* parentTimeline, int nesting)
    : PlacedObject(ctx, parentTimeline, nesting),
      video_(v),
      embedded_(v),
      smoothing_(v.smoothing),
      deblocking_(v.deblocking) {}

const VideoPicture* VideoInstance::picture() const {
  if (feed_) return cleared_ || feed_->picture.empty() ? nullptr : &feed_->picture;
  if (cleared_ && ratio == clearedRatio_) return nullptr;
  return embedded_.pictureAt(ratio);
}

void VideoInstance::attach(std::shared_ptr<VideoFeed> feed) {
  if (feed_) feed_->unwatch(this);
  feed_ = std::move(feed);
  cleared_ = false;
  if (feed_) {
    feed_->watch(this, [life = lifeToken(), ctx = &ctx_, this] {
      if (life.expired()) return false;
      cleared_ = false;
      ctx->changed = true;
      return true;
    });
  }
  ctx_.changed = true;
}

void VideoInstance::clear() {
  cleared_ = true;
  clearedRatio_ = ratio;
  ctx_.changed = true;
}

void VideoInstance::setSmoothing(bool on) {
  smoothing_ = on;
  ctx_.changed = true;
}

int VideoInstance::pictureWidth() const {
  const VideoPicture* p = feed_ ? &feed_->picture : embedded_.pictureAt(ratio);
  return p ? p->width : 0;
}

int VideoInstance::pictureHeight() const {
  const VideoPicture* p = feed_ ? &feed_->picture : embedded_.pictureAt(ratio);
  return p ? p->height : 0;
}

avm1::DisplayNode* VideoInstance::parentNode() { return parentTimeline(); }

avm1::DisplayNode* VideoInstance::rootNode() {
  SpriteInstance* parent = parentTimeline();
  return parent ? parent->rootNode() : nullptr;
}

avm1::Value VideoInstance::getProperty(avm1::Vm& vm, int index) {
  using avm1::Value;
  if (Value v; getPlacedProperty(vm, *this, index, v)) return v;
  switch (index) {
    case avm1::PropTarget:
      return Value(vm.str(vm.targetPathOf(this)));
    case avm1::PropCurrentFrame:
    case avm1::PropTotalFrames:
    case avm1::PropFramesLoaded:
      return Value(1);
    default:
      return Value();
  }
}

void VideoInstance::setProperty(avm1::Vm& vm, int index, const avm1::Value& v) {
  if (setPlacedProperty(vm, *this, index, v)) return;
  if (index == avm1::PropName) {
    name = vm.toString(v);
    ctx_.changed = true;
  }
}

}  // namespace swf

namespace swf {
namespace {

enum class VideoProp { None, Width, Height, Smoothing, Deblocking };

VideoProp videoProp(const std::string& k) {
  if (strcasecmp(k.c_str(), "width") == 0) return VideoProp::Width;
  if (strcasecmp(k.c_str(), "height") == 0) return VideoProp::Height;
  if (strcasecmp(k.c_str(), "smoothing") == 0) return VideoProp::Smoothing;
  if (strcasecmp(k.c_str(), "deblocking") == 0) return VideoProp::Deblocking;
  return VideoProp::None;
}

}  // namespace

bool VideoInstance::getNodeProperty(avm1::Vm&, avm1::String* key, avm1::Value& out) {
  switch (videoProp(key->text)) {
    case VideoProp::Width:
      out = avm1::Value(pictureWidth());
      return true;
    case VideoProp::Height:
      out = avm1::Value(pictureHeight());
      return true;
    case VideoProp::Smoothing:
      out = avm1::Value(smoothing_);
      return true;
    case VideoProp::Deblocking:
      out = avm1::Value(deblocking_);
      return true;
    case VideoProp::None:
      break;
  }
  return false;
}

bool VideoInstance::setNodeProperty(avm1::Vm& vm, avm1::String* key, const avm1::Value& v) {
  switch (videoProp(key->text)) {
    case VideoProp::Width:
    case VideoProp::Height:
      return true;  // read-only: the stream decides
    case VideoProp::Smoothing:
      setSmoothing(vm.toBoolean(v));
      return true;
    case VideoProp::Deblocking: {
      double d = vm.toNumber(v);
      setDeblocking(std::isfinite(d) ? int(std::clamp(d, 0.0, 7.0)) : 0);
      return true;
    }
    case VideoProp::None:
      break;
  }
  return false;
}

void VideoInstance::nodePropertyNames(avm1::Vm& vm, std::vector<avm1::String*>& names) {
  // for..in lists newest first; the original lists them in this order.
  for (const char* n : {"width", "smoothing", "height", "deblocking"}) names.push_back(vm.key(n));
}

}  // namespace swf
