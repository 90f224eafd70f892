#pragma once
// The player: one movie on one stage, driven by the time and input it is given. This is what
// the shell and the Qt widget hold for every movie they show.

#include <cairo.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "swf/model/geometry.h"
#include "swf/movie/load_error.h"
#include "swf/movie/movie.h"
#include "swf/player/display_object.h"
#include "swf/player/player_context.h"
#include "swf/player/player_input.h"

namespace swf {

namespace sound {
class SoundEngine;
}

struct RangeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SpriteInstance;
class ButtonInstance;
class ClipInput;
class TextFieldInstance;
class ScriptHost;
namespace avm1 {
class Vm;
struct DisplayNode;
}  // namespace avm1

// The first frame of `tl` that sets the background colour; -1 when none does.
int firstBackgroundFrame(const Timeline& tl);

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
  // Keys and text (player_keys.cpp). `code` is the Flash key code, `ch` the character the key
  // types (0 for none); typed text itself comes through textInput, input-method commits too.
  void keyDown(int code, char32_t ch = 0);
  void keyUp(int code, char32_t ch = 0);
  void textInput(const std::string& utf8);
  // Wheel turns at a control pixel, in notches (positive: away from the user).
  void mouseWheel(double x, double y, int notches);
  // The desktop clipboard for copy and paste in text fields; the host keeps it alive.
  void setClipboard(Clipboard* c);
  // The pointer the control should show where the pointer last was.
  PointerShape pointerShape() const;
  PlayerInput& input() { return *input_; }
  // Stage.width and Stage.height: the movie's size, or the control's when the stage does not
  // scale (the screen's while the movie fills it, once the host has told its size).
  std::pair<int, int> scriptStageSize() const;
  // Stage.displayState: whether the movie fills the screen. A script or the host (the user
  // leaving full screen) sets it; the host hears of every change through onDisplayState, and
  // the movie's Stage listeners through onResize (when the stage size changes) and onFullScreen.
  void setFullScreen(bool on);
  bool fullScreen() const { return fullScreen_; }
  void setScreenSize(int width, int height) { screenWidth_ = width, screenHeight_ = height; }
  std::function<void(bool fullScreen)> onDisplayState;

  std::function<void(const std::string& command, const std::string& args)> onFSCommand;
  // Output of the trace action.
  std::function<void(const std::string& text)> onTrace;
  // The date and time scripts see, in milliseconds since 1970 UTC; unset, the system clock's.
  // Recorded runs pin it to replay as they were recorded.
  std::function<double()> wallClock;
  // The movie's sound as advance() makes it: stereo frames at sound::kOutputRate, interleaved,
  // in step with the frames. Without a receiver the sound is made and dropped, so the timing
  // (a stream sound pacing its timeline) is the same with or without a device.
  std::function<void(const float* stereo, size_t frames)> onAudio;

  // The sounds of the movie, for scripts (the Sound object) and tests.
  sound::SoundEngine& sound() { return *sound_; }
  // Output frames of sound made since the movie was loaded.
  uint64_t audioFramesMade() const { return audioMixed_; }
  // Frames the clock stepped without their picture being asked for (several steps in one call
  // to advance() show only the last).
  uint64_t framesSkipped() const { return framesSkipped_; }

  // A script ran past the time limit and was stopped; the movie goes on.
  std::function<void()> onScriptTimeout;
  // How long one block of actions may run before it is stopped.
  void setScriptTimeLimit(double ms);
  // Milliseconds of movie time given to the player since the movie loaded (getTimer).
  double elapsedMs() const { return elapsedMs_; }
  // The script machine of the loaded movie (null when nothing is loaded).
  avm1::Vm* scripts() const { return vm_.get(); }

  // The display tree of the movie (null when nothing is loaded); movies loaded into levels
  // above it are drawn over it.
  const DisplayObject* root() const;
  // The root timeline of level `n` (0 is the movie itself); null when the level is empty.
  SpriteInstance* levelRoot(int n) const;

  // Used by the action host.
  void fsCommand(const std::string& command, const std::string& args);
  void trace(const std::string& text);
  void stopSounds();
  void toggleQuality() { setQuality(quality_ ? 0 : 1); }
  // Loads the movie at `url` (relative to the movie's own directory) into level `n` >= 1,
  // replacing what the level holds, once the running actions are done; an empty url empties
  // the level. A file that does not load leaves the level as it was.
  void loadLevel(int n, const std::string& url);

  // ---- loading and keeping data (player_loading.cpp) ----
  // A web page a script asked for while the user's click ran; without a click such requests
  // are dropped.
  std::function<void(const std::string& url)> onOpenUrl;
  // Where SharedObjects are kept; by default $XDG_DATA_HOME/reelvista/shared-objects (or
  // ~/.local/share/...). Empty keeps them in memory only. Takes effect for the next movie.
  void setSharedObjectDir(std::string dir) { sharedObjectDir_ = std::move(dir); }
  const std::string& sharedObjectDir() const { return sharedObjectDir_; }
  static std::string defaultSharedObjectDir();
  // Used by the action host: the file an address names for the movie `from` belongs to, loading
  // a movie into a clip or level now, and whether a user's click is running.
  std::string localFileFor(const std::string& url, avm1::DisplayNode* from) const;
  // The `_url` of a movie loaded from `url` at the request of `from`'s movie.
  std::string movieAddress(const std::string& url, avm1::DisplayNode* from) const;
  avm1::DisplayNode* loadMovieNow(avm1::DisplayNode* target, int level, const std::string& path,
                                  const std::string& address, std::string& error);
  bool inUserGesture() const { return userGesture_; }

 private:
  void tick();
  // When the next frame is due, in output sound frames since loading.
  double nextTickAt() const;
  // Makes the sound up to `at` output frames since loading.
  void mixTo(double at);
  void runActions();
  void runQueued(const QueuedActions& q);
  void flushEvents();
  void fire(ButtonInstance& b, uint16_t condition);
  void requireLoaded() const;
  // Movies one run of actions may load, and levels held at once besides 0: movies that keep
  // loading movies stay bounded.
  static constexpr int kMaxLevelLoadsPerRun = 8;
  static constexpr size_t kMaxLevels = 16;
  // Loads what the last actions asked for, within `budget` loads; returns the loads made.
  int loadPendingLevels(int budget);
  // Movies that arrive together run their first frames newest first: each arrival notes where
  // its actions begin in the queue, and the batch is reordered once it is all in.
  std::vector<size_t> arrivals_;
  void noteArrival();
  void orderArrivalsNewestFirst();
  std::shared_ptr<const Movie> levelMovie(const std::string& path) const;
  void latchBackground();
  SpriteInstance* levelOf(SpriteInstance* timeline, int& swfVersion) const;
  bool pointToStage(double x, double y, double& sx, double& sy) const;
  void updateButtons(double x, double y, bool down, bool up);
  // Focus, text fields and Mouse listeners on a pointer event (player_keys.cpp).
  enum class Pointer { Move, Down, Up };
  void pointerInput(Pointer kind, double x, double y);
  void finishInput();
  void moveFocusByTab(bool backwards);
  // Typing changed the field: its variable and onChanged listeners hear of it.
  void fieldEdited(TextFieldInstance& f);
  // Shows timeline variables in the text fields bound to them (text_field_variables.cpp).
  void syncTextVariables();
  // Tells Stage listeners when a stage that does not scale changed its size.
  void checkStageResize();
  // The focus frame of the clip that has the focus, over the rendered frame.
  void drawFocusClipFrame(cairo_t* cr, const Matrix& stageToDevice) const;

 public:
  void setFocus(TextFieldInstance* field);  // null: none; tells the listeners
  // Gives the focus to a clip (a field loses it); null: the clip loses it.
  void setFocusClip(PlacedObject* clip);

 private:
  std::unique_ptr<PlayerInput> input_ = std::make_unique<PlayerInput>();

  std::unique_ptr<sound::SoundEngine> sound_;  // outlives the display tree
  std::shared_ptr<const Movie> movie_;
  std::string path_;
  std::unique_ptr<ScriptHost> scriptHost_;
  std::unique_ptr<avm1::Vm> vm_;
  std::unique_ptr<ClipInput> clipInput_;
  std::vector<SpriteInstance*> levelRoots() const;
  // Clip key events and buttons' key-press conditions for a key (clip_keys.cpp).
  void clipKeys(int code, char32_t ch, bool down);
  double scriptTimeLimitMs_ = 15000;
  double elapsedMs_ = 0;
  // Steps every clip's timeline and queues its enterFrame events (one frame of the clock).
  void advanceClips();
  std::unique_ptr<PlayerContext> ctx_;
  // Holds each level's root timeline as its child at the level's number, so one drawing pass
  // shows them all, level 0 lowest.
  std::unique_ptr<DisplayObject> stage_;
  SpriteInstance* root_ = nullptr;  // level 0, owned by stage_
  struct Level {
    std::shared_ptr<const Movie> movie;
    std::string path;
    SpriteInstance* root = nullptr;  // owned by stage_
    int backgroundFrame = -1;        // its root's first frame that sets the colour
  };
  std::map<int, Level> levels_;  // level 0 included
  struct PendingLoad {
    int level;
    std::string url;
    std::string address;  // the movie's `_url`; empty for its file's own
  };
  std::vector<PendingLoad> pendingLoads_;
  // The clock counts output sound frames (sound::kOutputRate a second), so frames and sound
  // share one time line.
  double clock_ = 0;         // time given so far
  double lastTick_ = 0;      // when the last frame step happened
  uint64_t audioMixed_ = 0;  // sound made so far
  uint64_t framesSkipped_ = 0;
  std::vector<float> mixBuffer_;
  bool loop_ = true;
  int quality_ = 1;
  int scaleMode_ = 2;
  // The part of the stage shown, in twips; zoom scales it around its centre.
  double viewX0_ = 0, viewY0_ = 0, viewX1_ = 0, viewY1_ = 0;
  mutable int controlWidth_ = 0, controlHeight_ = 0;
  bool fullScreen_ = false;
  int screenWidth_ = 0, screenHeight_ = 0;
  bool changed_ = false;
  // The first SetBackgroundColor a level's root timeline reaches sets the stage colour for good;
  // later ones, in any level, are ignored.
  std::optional<RGBA> background_;

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
  // FSCommands raised by load handlers and timers, after a frame's own work: the host hears of
  // them with the next frame's (a "quit" there lets one more frame play, as in the original).
  bool holdingCommands_ = false;
  std::vector<Event> heldCommands_;
  std::string sharedObjectDir_ = defaultSharedObjectDir();
  bool userGesture_ = false;
};

}  // namespace swf
