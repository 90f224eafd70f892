#pragma once
// The picture a playing NetStream shows, shared with the Video objects attached to it. The
// stream writes, the videos read when they are drawn.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "swf/video/video_picture.h"

namespace swf {

struct VideoFeed {
  VideoPicture picture;
  // Pixel size of the stream's last decoded frame (0 before the first).
  int width = 0, height = 0;
  // Told when the picture changed, so whoever shows it redraws; each returns false once its
  // receiver is gone. One per receiver, by its address.
  std::vector<std::pair<const void*, std::function<bool()>>> watchers;

  void watch(const void* who, std::function<bool()> fn) {
    unwatch(who);
    watchers.emplace_back(who, std::move(fn));
  }
  void unwatch(const void* who) {
    std::erase_if(watchers, [who](auto& w) { return w.first == who; });
  }
  void changed() {
    std::erase_if(watchers, [](auto& w) { return !w.second(); });
  }
};

}  // namespace swf
