#pragma once
// The player: one movie on one stage, driven by the time and input it is given. This is what
// the shell and the Qt widget hold for every movie they show.

#include <cairo.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "swf/model/geometry.h"
#include "swf/movie/load_error.h"
#include "swf/movie/movie.h"
#include "swf/player/display_object.h"
#include "swf/player/player_context.h"

namespace swf {

struct RangeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SpriteInstance;
class ButtonInstance;

class Player {
 public:
  Player();
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  void load(const std::string& path);  // throws LoadError; on success at frame 0, playing
  // Shows an already parsed movie; `path` is what path() reports.
  void load(std::shared_ptr<const Movie> movie, const std::string& path);
  void unload();
  bool loaded() const { return movie_ != nullptr; }
  const std::string& path() const { return path_; }
  const std::shared_ptr<const Movie>& movie() const { return movie_; }

  int totalFrames() const;
  int currentFrame() const;  // 0-based
  bool isPlaying() const;
  double frameRate() const;  // the rate the clock runs at
  int stageWidth() const;    // pixels
  int stageHeight() const;
  RGBA backgroundColor() const;

  void play();
  void stop();
  void back();                // one frame back, then stopped
  void forward();             // one frame on, then stopped
  void rewind();              // to frame 0, playing state unchanged
  void gotoFrame(int frame);  // stops; throws RangeError outside 0..totalFrames()-1

  // Relative: 80 shows less of the stage (bigger), 125 more; 0 shows the whole stage again.
  void zoom(int percent);
  void setQuality(int q);  // 1 high (anti-aliased), 0 low
  int quality() const { return quality_; }
  void setScaleMode(int m);  // 2 show all, 3 no scale
  int scaleMode() const { return scaleMode_; }
  void setLoop(bool on) { loop_ = on; }
  bool loop() const { return loop_; }
  static constexpr int flashVersion() { return 0x00050000; }

  // Gives the player `ms` milliseconds; returns true when what is drawn changed.
  bool advance(double ms);
  // Draws the whole control area of width × height pixels.
  void render(cairo_t* cr, int width, int height) const;
  // The stage-twips-to-device transform for a control of this size.
  Matrix stageToDevice(int width, int height) const;

  // Pointer input in control pixels, as drawn by the last render().
  void mouseMove(double x, double y);
  void mouseDown(double x, double y);
  void mouseUp(double x, double y);

  std::function<void(const std::string& command, const std::string& args)> onFSCommand;
  // Output of the trace action.
  std::function<void(const std::string& text)> onTrace;

  // The display tree (null when nothing is loaded).
  const DisplayObject* root() const;

  // Used by the action host.
  void fsCommand(const std::string& command, const std::string& args);
  void trace(const std::string& text);
  void toggleQuality() { setQuality(quality_ ? 0 : 1); }

 private:
  void tick();
  void runActions();
  void flushEvents();
  void fire(ButtonInstance& b, uint16_t condition);
  void requireLoaded() const;
  bool pointToStage(double x, double y, double& sx, double& sy) const;
  void updateButtons(double x, double y, bool down, bool up);

  std::shared_ptr<const Movie> movie_;
  std::string path_;
  std::unique_ptr<PlayerContext> ctx_;
  std::unique_ptr<SpriteInstance> root_;
  double clockMs_ = 0;
  bool loop_ = true;
  int quality_ = 1;
  int scaleMode_ = 2;
  // The part of the stage shown, in twips; zoom scales it around its centre.
  double viewX0_ = 0, viewY0_ = 0, viewX1_ = 0, viewY1_ = 0;
  mutable int controlWidth_ = 0, controlHeight_ = 0;
  bool changed_ = false;
  std::vector<RGBA> backgrounds_;  // per root frame

  std::weak_ptr<const char> hoveredAlive_, pressedAlive_;
  ButtonInstance* hovered_ = nullptr;
  ButtonInstance* pressed_ = nullptr;
  bool mouseIsDown_ = false;
  // FSCommands and traces raised while actions run, delivered once they are done: a handler
  // may unload or replace the movie.
  struct Event {
    bool trace = false;
    std::string text, args;
  };
  std::vector<Event> pendingEvents_;
};

}  // namespace swf
