#pragma once
// A video object on the stage: it shows the frame of its embedded stream that its ratio selects,
// or, once a script attached a NetStream to it, that stream's picture. Scripts see it as a Video
// object (attachVideo, clear, smoothing, deblocking, width, height).

#include <memory>

#include "swf/avm1/display_node.h"
#include "swf/player/placed_object.h"
#include "swf/video/embedded_video.h"
#include "swf/video/video_feed.h"

namespace swf {

class VideoInstance : public PlacedObject, public avm1::DisplayNode {
 public:
  VideoInstance(const VideoCharacter& v, PlayerContext& ctx, SpriteInstance* parentTimeline,
                int nesting);

  const VideoCharacter& video() const { return video_; }
  // What to draw now; null draws nothing. Decodes on demand (drawing is when it is needed).
  const VideoPicture* picture() const;
  bool smoothing() const { return smoothing_; }

  // --- what the Video object does
  void attach(std::shared_ptr<VideoFeed> feed);
  void clear();  // shows nothing until the next frame
  void setSmoothing(bool on);
  void setDeblocking(int mode) { deblocking_ = mode; }
  int deblocking() const { return deblocking_; }
  // The pixel size of what is shown (0 before a picture exists).
  int pictureWidth() const;
  int pictureHeight() const;

  // --- DisplayNode
  std::weak_ptr<const char> nodeLife() const override { return lifeToken(); }
  avm1::DisplayNode* parentNode() override;
  avm1::DisplayNode* childNode(const std::string&, bool) override { return nullptr; }
  avm1::DisplayNode* rootNode() override;
  std::string nodeName() const override { return name; }
  bool isTimeline() const override { return false; }
  int nodeDepth() const override { return depth - 16384; }
  const char* scriptClass() const override { return "Video"; }
  void play() override {}
  void stop() override {}
  void gotoFrame(int, bool) override {}
  bool gotoLabel(const std::string&, bool) override { return false; }
  int currentFrame() const override { return 0; }
  int totalFrames() const override { return 1; }
  int findLabel(const std::string&) const override { return -1; }
  avm1::Value getProperty(avm1::Vm& vm, int index) override;
  bool getNodeProperty(avm1::Vm& vm, avm1::String* key, avm1::Value& out) override;
  bool setNodeProperty(avm1::Vm& vm, avm1::String* key, const avm1::Value& v) override;
  bool hasPlainNodeProperties() const override { return true; }
  void nodePropertyNames(avm1::Vm& vm, std::vector<avm1::String*>& names) override;
  void setProperty(avm1::Vm& vm, int index, const avm1::Value& v) override;

 private:
  const VideoCharacter& video_;
  mutable EmbeddedVideo embedded_;
  std::shared_ptr<VideoFeed> feed_;
  bool cleared_ = false;
  int clearedRatio_ = 0;
  bool smoothing_;
  int deblocking_;
};

}  // namespace swf
