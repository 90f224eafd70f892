#include "swf/player/player.h"

#include <algorithm>
#include <cmath>

#include "swf/avm1/vm.h"
#include "swf/movie/tag_codes.h"
#include "swf/player/button_hit_test.h"
#include "swf/player/button_instance.h"
#include "swf/player/clip_input.h"
#include "swf/player/input_classes.h"
#include "swf/player/matrix_math.h"
#include "swf/player/script_host.h"
#include "swf/player/sound_object.h"
#include "swf/player/sprite_instance.h"
#include "swf/player/text_field_instance.h"
#include "swf/render/bounds.h"
#include "swf/render/focus_rect.h"
#include "swf/render/render_frame.h"
#include "swf/sound/sound_engine.h"

namespace swf {
namespace {

// A movie that says 0 frames per second still has to move; the authoring tool's default is 12.
constexpr double kDefaultFrameRate = 12;
// After a long pause (a suspended machine) the clock skips ahead instead of racing.
constexpr int kMaxTicksPerAdvance = 1000;
// Actions that keep jumping to frames with actions end here for the tick.
constexpr size_t kMaxActionBlocksPerTick = 10000;
// More sound than this owed in one call (a suspended machine waking up) is skipped, not made.
constexpr double kMaxMixPerAdvance = 2.0 * sound::kOutputRate;
// A stream sound asks for its next frame a little before it runs dry.
constexpr double kStreamLead = 8;
// A stream may pull its timeline on at most this much faster than the frame rate, and hold it
// back at most this many intervals, so a stream of empty or oversized blocks cannot race or stall.
constexpr double kStreamFastest = 0.5;
constexpr double kStreamSlowest = 3.0;

}  // namespace

Player::Player() : sound_(std::make_unique<sound::SoundEngine>()) {}

Player::~Player() {
  stage_.reset();  // its objects report to the context on destruction
  vm_.reset();
}

void Player::setScriptTimeLimit(double ms) {
  if (!(ms > 0)) return;
  scriptTimeLimitMs_ = ms;
  if (vm_) vm_->timeLimit = std::chrono::milliseconds(int64_t(std::min(ms, 1e9)));
}

void Player::load(const std::string& path) {
  auto movie = loadMovieFile(path);  // throws before anything here changes
  load(std::move(movie), path);
}

void Player::load(std::shared_ptr<const Movie> movie, const std::string& path) {
  if (!movie) throw LoadError("no movie");
  unload();
  movie_ = std::move(movie);
  path_ = path;
  ctx_ = std::make_unique<PlayerContext>();
  ctx_->movie = movie_.get();
  ctx_->sound = sound_.get();
  ctx_->input = input_.get();
  sound_->addMovie(movie_);
  scriptHost_ = std::make_unique<ScriptHost>(*this);
  vm_ = std::make_unique<avm1::Vm>(*scriptHost_, movie_->version);
  ctx_->vm = vm_.get();
  setScriptTimeLimit(scriptTimeLimitMs_);
  vm_->install(installSound);
  vm_->onScriptTimeout = [this] {
    if (onScriptTimeout) onScriptTimeout();
  };
  clipInput_ = std::make_unique<ClipInput>(*vm_);
  vm_->install(installInputClasses);
  stage_ = std::make_unique<DisplayObject>();
  auto root = std::make_unique<SpriteInstance>(movie_->root, *ctx_, nullptr, 0);
  root_ = root.get();
  ctx_->levelData[root_] = movie_->data;
  ctx_->levelMovies[root_] = movie_.get();
  ctx_->levelPaths[root_] = path_;
  stage_->children.emplace(0, std::move(root));
  levels_[0] = Level{movie_, path_, root_, firstBackgroundFrame(movie_->root)};
  root_->setPlaying(true);
  viewX0_ = movie_->stage.xMin;
  viewY0_ = movie_->stage.yMin;
  viewX1_ = movie_->stage.xMax;
  viewY1_ = movie_->stage.yMax;
  root_->start();
  // The root hears its load once its first frame's actions are queued (SWF 5 clips have no
  // handler methods).
  if (movie_->version >= 6) root_->queueEvent(kEventLoad, "onLoad");
  runActions();
  changed_ = true;
  flushEvents();
}

void Player::unload() {
  // The next movie starts out of full screen, whatever this one asked for.
  fullScreen_ = false;
  hovered_ = pressed_ = nullptr;
  hoveredAlive_.reset();
  pressedAlive_.reset();
  mouseIsDown_ = false;
  stage_.reset();
  clipInput_.reset();
  if (ctx_) ctx_->vm = nullptr;
  vm_.reset();
  scriptHost_.reset();  // after the machine: its Sound objects report to it as they go
  input_->focus = nullptr;
  input_->focusClip = nullptr;
  input_->focusClipLife.reset();
  input_->keysDown.reset();
  input_->pointerHidden = false;
  root_ = nullptr;
  levels_.clear();
  pendingLoads_.clear();
  background_.reset();
  ctx_.reset();
  sound_->clear();
  movie_.reset();
  path_.clear();
  clock_ = lastTick_ = 0;
  audioMixed_ = framesSkipped_ = 0;
  elapsedMs_ = 0;
  pendingEvents_.clear();
  changed_ = true;
}

const DisplayObject* Player::root() const { return root_; }

int Player::totalFrames() const { return root_ ? root_->frameCount() : 0; }
int Player::currentFrame() const { return root_ ? std::max(root_->currentFrame(), 0) : 0; }
bool Player::isPlaying() const { return root_ && root_->playing(); }

double Player::frameRate() const {
  if (!movie_) return 0;
  return movie_->frameRate > 0 ? movie_->frameRate : kDefaultFrameRate;
}

int Player::stageWidth() const {
  return movie_ ? int(std::lround(movie_->stage.width() / 20.0)) : 0;
}
int Player::stageHeight() const {
  return movie_ ? int(std::lround(movie_->stage.height() / 20.0)) : 0;
}

RGBA Player::backgroundColor() const {
  if (!root_ || !background_) return RGBA{255, 255, 255, 255};
  return *background_;
}

void Player::requireLoaded() const {
  if (!root_) throw RangeError("no movie loaded");
}

// The control's Stop (and the frame steps and jumps, which stop too) silence the movie at once;
// Play lets its sounds go on where they were.
void Player::play() {
  if (root_) root_->setPlaying(true);
  sound_->setPaused(false);
}

void Player::stop() {
  if (root_) root_->setPlaying(false);
  sound_->setPaused(true);
}

void Player::stopSounds() { sound_->stopAll(); }

void Player::back() {
  if (!root_) return;
  root_->setPlaying(false);
  sound_->setPaused(true);
  if (root_->currentFrame() > 0) root_->gotoFrame(root_->currentFrame() - 1);
  runActions();
  flushEvents();
}

void Player::forward() {
  if (!root_) return;
  root_->setPlaying(false);
  sound_->setPaused(true);
  if (root_->currentFrame() + 1 < root_->frameCount()) root_->gotoFrame(root_->currentFrame() + 1);
  runActions();
  flushEvents();
}

void Player::rewind() {
  if (!root_) return;
  root_->gotoFrame(0);
  runActions();
  flushEvents();
}

void Player::gotoFrame(int frame) {
  requireLoaded();
  if (frame < 0 || frame >= root_->frameCount())
    throw RangeError("frame " + std::to_string(frame) + " is outside 0.." +
                     std::to_string(root_->frameCount() - 1));
  root_->setPlaying(false);
  sound_->setPaused(true);
  root_->gotoFrame(frame);
  runActions();
  flushEvents();
}

void Player::zoom(int percent) {
  if (!movie_) return;
  if (percent == 0) {
    viewX0_ = movie_->stage.xMin;
    viewY0_ = movie_->stage.yMin;
    viewX1_ = movie_->stage.xMax;
    viewY1_ = movie_->stage.yMax;
  } else if (percent > 0) {
    double f = percent / 100.0;
    double cx = (viewX0_ + viewX1_) / 2, cy = (viewY0_ + viewY1_) / 2;
    double hw = (viewX1_ - viewX0_) / 2 * f, hh = (viewY1_ - viewY0_) / 2 * f;
    // Keep the view between one twip and far beyond any stage, so the scale stays finite.
    if (hw < 0.5 || hh < 0.5 || hw > 1e9 || hh > 1e9) return;
    viewX0_ = cx - hw;
    viewX1_ = cx + hw;
    viewY0_ = cy - hh;
    viewY1_ = cy + hh;
  }
  changed_ = true;
}

void Player::setQuality(int q) {
  if (q != quality_) changed_ = true;
  quality_ = q;
}

void Player::setScaleMode(int m) {
  if (m != scaleMode_) changed_ = true;
  scaleMode_ = m;
}

Matrix Player::stageToDevice(int width, int height) const {
  Matrix m;
  if (!movie_) return m;
  double vw = std::max(viewX1_ - viewX0_, 1.0), vh = std::max(viewY1_ - viewY0_, 1.0);
  double cx = (viewX0_ + viewX1_) / 2, cy = (viewY0_ + viewY1_) / 2;
  double s;
  if (scaleMode_ == 3) {
    double stageW = std::max(double(movie_->stage.width()), 1.0);
    s = (1 / 20.0) * (stageW / vw);
  } else {
    s = std::min(width / vw, height / vh);
  }
  m.a = m.d = s;
  m.tx = width / 2.0 - s * cx;
  m.ty = height / 2.0 - s * cy;
  return m;
}

void Player::render(cairo_t* cr, int width, int height) const {
  controlWidth_ = width;
  controlHeight_ = height;
  if (!root_) return;
  RenderOptions o;
  o.antialias = quality_ != 0;
  o.stageToDevice = stageToDevice(width, height);
  o.background = backgroundColor();
  // A field whose autoSize was just set is drawn at the size it takes.
  for (TextFieldInstance* f : input_->fields) f->settleAutoSize();
  renderFrame(cr, *stage_, o);
  drawFocusClipFrame(cr, o.stageToDevice);
}

void Player::drawFocusClipFrame(cairo_t* cr, const Matrix& stageToDevice) const {
  PlacedObject* clip = input_->focusedClip();
  if (!clip) return;
  // Hidden clips, and clips inside hidden ones, show no frame.
  Matrix toStage = clip->matrix;
  for (const PlacedObject* p = clip; p; p = p->parentTimeline()) {
    if (!p->visible) return;
    if (p != clip) toStage = p->matrix * toStage;
  }
  if (auto box = unfilteredBounds(*clip, stageToDevice * toStage)) drawFocusFrame(cr, *box);
}

bool Player::advance(double ms) {
  if (!root_) {
    bool c = changed_;
    changed_ = false;
    return c;
  }
  if (ms > 0 && std::isfinite(ms)) {
    clock_ += std::min(ms, 1e9) * (sound::kOutputRate / 1000.0);
    elapsedMs_ += ms;
  }
  if (clock_ - double(audioMixed_) > kMaxMixPerAdvance)
    audioMixed_ = uint64_t(clock_ - kMaxMixPerAdvance);
  int ticks = 0;
  // Streams a script plays speak between frames too, at times before `limit` (output frames).
  int polls = 0;
  auto pollStreams = [&](double limit) {
    for (; vm_ && polls < kMaxTicksPerAdvance; ++polls) {
      double at = scriptHost_->streams().nextPollMs() * (sound::kOutputRate / 1000.0);
      if (!(at < limit)) return;
      mixTo(at);
      scriptHost_->streams().poll(*vm_);
      runActions();
    }
  };
  // The small allowance keeps sums of exact frame intervals from falling a hair short.
  for (double next = nextTickAt(); root_ && next <= clock_ + 1e-4; next = nextTickAt()) {
    pollStreams(next - 0.5);  // a poll due with the frame is the frame's
    mixTo(next);
    lastTick_ = next;
    tick();
    if (++ticks >= kMaxTicksPerAdvance) {
      lastTick_ = clock_;
      break;
    }
  }
  if (root_) pollStreams(clock_ + 1e-4);
  mixTo(clock_);
  // Streams show the picture due now, at their own rate, whatever the movie's.
  if (scriptHost_) scriptHost_->streams().advanceTo(elapsedMs_);
  checkStageResize();
  if (ticks > 1) framesSkipped_ += uint64_t(ticks - 1);
  flushEvents();
  bool c = changed_ || (ctx_ && ctx_->changed);
  changed_ = false;
  if (ctx_) ctx_->changed = false;
  return c;
}

double Player::nextTickAt() const {
  double interval = sound::kOutputRate / frameRate();
  double next = lastTick_ + interval;
  // A playing stream sound on the root sets the pace: the next frame comes when the sound has
  // played what the frames so far brought, within bounds of the frame rate.
  if (root_ && root_->playing() && !sound_->paused() && sound_->streamActive(root_)) {
    double due = double(audioMixed_) + sound_->streamOutputLeft(root_) - kStreamLead;
    next = std::clamp(due, lastTick_ + kStreamFastest * interval,
                      lastTick_ + kStreamSlowest * interval);
  }
  return next;
}

void Player::mixTo(double at) {
  if (at <= double(audioMixed_)) return;
  size_t frames = size_t(uint64_t(at) - audioMixed_);
  if (frames == 0) return;
  mixBuffer_.resize(frames * 2);
  sound_->mix(mixBuffer_.data(), frames);
  audioMixed_ += frames;
  if (onAudio) onAudio(mixBuffer_.data(), frames);
}

void Player::tick() {
  ++ctx_->tick;
  for (Event& e : heldCommands_) pendingEvents_.push_back(std::move(e));
  heldCommands_.clear();
  // What the streams have to say comes before the frame.
  if (vm_) {
    scriptHost_->streams().runFrame(*vm_, lastTick_ * (1000.0 / sound::kOutputRate));
    runActions();
  }
  bool wasPlaying = root_->playing();
  advanceClips();
  if (wasPlaying != root_->playing()) changed_ = true;
  runActions();
  if (vm_) {
    // Local files have long arrived when a timer set after asking for them comes due.
    holdingCommands_ = true;
    vm_->runLoads();  // data and movies asked for on earlier frames
    holdingCommands_ = false;
    orderArrivalsNewestFirst();
    runActions();
    holdingCommands_ = true;
    vm_->runTimers(elapsedMs_);
    holdingCommands_ = false;
    runActions();
    scriptHost_->sounds().deliver(*vm_);
  }
}

namespace {

struct Advancing {
  uint64_t birth;
  SpriteInstance* sprite;
  std::weak_ptr<const char> alive;
};

void collectSprites(DisplayObject& node, std::vector<Advancing>& out, int guard = 0) {
  if (guard > kMaxNesting + 2) return;
  for (auto& [depth, child] : node.children) {
    if (auto* s = dynamic_cast<SpriteInstance*>(child.get()))
      out.push_back({s->birth(), s, s->lifeToken()});
    if (!child->children.empty()) collectSprites(*child, out, guard + 1);
  }
}

}  // namespace

void Player::advanceClips() {
  // Every clip on the stage advances once a frame, the newest first, so children (always made
  // after their parents) come before them: each hears its enterFrame, then steps its timeline.
  // What that queues runs once all have stepped, so a clip an older one removes on the way
  // runs nothing it had queued. Clips made during the pass wait for the next frame.
  std::vector<Advancing> clips;
  for (auto& [n, level] : levels_) {
    if (!level.root) continue;
    clips.push_back({level.root->birth(), level.root, level.root->lifeToken()});
    collectSprites(*level.root, clips);
  }
  std::sort(clips.begin(), clips.end(),
            [](const Advancing& a, const Advancing& b) { return a.birth > b.birth; });
  for (const Advancing& c : clips) {
    if (c.alive.expired()) continue;
    SpriteInstance* s = c.sprite;
    if (s->removed || s->createdTick() == ctx_->tick) continue;
    s->queueEvent(kEventEnterFrame, s->scriptObject ? "onEnterFrame" : nullptr);
    // A movie that arrived since the last pass shows its first frame, even when a script
    // stopped it on the way (Player::loadMovieNow).
    if (s->currentFrame() < 0) {
      s->start();
      continue;
    }
    // Movies loaded into levels loop whatever the control's setting.
    s->step(s != root_ || loop_);
  }
}

void Player::runActions() {
  if (!ctx_) return;
  PlayerContext& c = *ctx_;
  // Movies loaded by the actions come in once they are done, and their first frames' actions
  // run in turn.
  int loadBudget = kMaxLevelLoadsPerRun;
  syncTextVariables();
  for (;;) {
    size_t next = 0, blocks = 0;
    for (;; ++blocks) {
      QueuedActions q;  // running may grow the queues
      if (blocks >= kMaxActionBlocksPerTick) {
        break;
      } else if (!c.initQueue.empty()) {
        q = c.initQueue.front();
        c.initQueue.pop_front();
      } else if (!c.constructQueue.empty()) {
        q = c.constructQueue.front();
        c.constructQueue.pop_front();
      } else if (next < c.actions.size()) {
        q = c.actions[next++];
      } else {
        break;
      }
      runQueued(q);
    }
    c.initQueue.clear();
    c.constructQueue.clear();
    c.actions.clear();
    c.dropRetired();  // their unload handlers have run
    if (pendingLoads_.empty() || loadBudget <= 0) break;
    loadBudget -= loadPendingLevels(loadBudget);
    orderArrivalsNewestFirst();
  }
  pendingLoads_.clear();
  syncTextVariables();
  latchBackground();
}

void Player::runQueued(const QueuedActions& q) {
  if (q.alive.expired() || (q.target->removed && !q.afterRemoval)) return;
  int version = movie_->version;
  SpriteInstance* levelRoot = levelOf(q.target, version);
  avm1::ClipObject* clip = vm_->clipFor(q.target);
  if (q.classStep != QueuedActions::ClassStep::None) {
    avm1::Object* ctor = vm_->registeredClass(q.target->symbolName());
    if (q.classStep == QueuedActions::ClassStep::Prototype)
      vm_->adoptClass(clip, ctor);
    else
      vm_->constructClip(clip, ctor);
    return;
  }
  if (q.handler) {
    // Event methods (onEnterFrame, onLoad, ...) came with Flash 6: SWF 5 clips have only their
    // clip events.
    if (version >= 6) vm_->callHandler(clip, q.handler);
    return;
  }
  auto keep = levelRoot ? ctx_->levelData[levelRoot] : movie_->data;
  vm_->runBlock(q.code, keep, clip, version);
}

void Player::fsCommand(const std::string& command, const std::string& args) {
  // Delivered after the actions finish: the handler may unload this very movie.
  (holdingCommands_ ? heldCommands_ : pendingEvents_).push_back({false, command, args});
}

void Player::flushEvents() {
  if (pendingEvents_.empty()) return;
  auto events = std::move(pendingEvents_);
  pendingEvents_.clear();
  for (const Event& e : events) {
    if (e.trace && onTrace)
      onTrace(e.text);
    else if (!e.trace && onFSCommand)
      onFSCommand(e.text, e.args);
  }
}

void Player::trace(const std::string& text) { pendingEvents_.push_back({true, text, {}}); }

bool Player::pointToStage(double x, double y, double& sx, double& sy) const {
  int w = controlWidth_ > 0 ? controlWidth_ : stageWidth();
  int h = controlHeight_ > 0 ? controlHeight_ : stageHeight();
  auto inv = invert(stageToDevice(w, h));
  if (!inv) return false;
  transformPoint(*inv, x, y, sx, sy);
  return true;
}

void Player::mouseMove(double x, double y) {
  pointerInput(Pointer::Move, x, y);
  updateButtons(x, y, false, false);
}
void Player::mouseDown(double x, double y) {
  pointerInput(Pointer::Down, x, y);
  updateButtons(x, y, true, false);
}
void Player::mouseUp(double x, double y) {
  pointerInput(Pointer::Up, x, y);
  updateButtons(x, y, false, true);
}

void Player::fire(ButtonInstance& b, uint16_t condition) {
  SpriteInstance* t = b.parentTimeline();
  if (!t) return;
  static constexpr uint16_t kSoundConditions[4] = {kCondOverUpToIdle, kCondIdleToOverUp,
                                                   kCondOverUpToOverDown, kCondOverDownToOverUp};
  for (int i = 0; i < 4; ++i)
    if (condition == kSoundConditions[i] && !b.button().sounds[i].empty())
      sound_->startTag(tag::StartSound, b.button().sounds[i], t);
  for (const ButtonAction& a : b.button().actions)
    if (a.conditions & 0x1ff & condition) ctx_->actions.push_back({t->lifeToken(), t, a.actions});
}

void Player::updateButtons(double x, double y, bool down, bool up) {
  if (!root_) return;
  if (hoveredAlive_.expired()) hovered_ = nullptr;
  if (pressedAlive_.expired()) pressed_ = nullptr;
  double sx, sy;
  ButtonInstance* hit = nullptr;
  bool onStage = pointToStage(x, y, sx, sy);
  if (onStage)
    for (auto it = levels_.rbegin(); it != levels_.rend() && !hit; ++it)  // the top level first
      hit = findButtonAt(*it->second.root, sx, sy);
  if (onStage) {
    ctx_->mouseX = sx;
    ctx_->mouseY = sy;
  }
  if (!ctx_->drag.alive.expired() && ctx_->drag.clip) ctx_->drag.clip->followPointer();
  if (onStage && clipInput_) clipInput_->pointer(levelRoots(), sx, sy, down, up);
  auto setHovered = [this](ButtonInstance* b) {
    hovered_ = b;
    hoveredAlive_ = b ? b->lifeToken() : std::weak_ptr<const char>();
  };

  if (pressed_) {
    if (up) {
      if (hit == pressed_) {
        pressed_->setState(ButtonState::Over);
        fire(*pressed_, kCondOverDownToOverUp);
        setHovered(pressed_);
      } else {
        pressed_->setState(ButtonState::Up);
        fire(*pressed_, kCondOutDownToIdle);
        setHovered(hit);
        if (hit) {
          hit->setState(ButtonState::Over);
          fire(*hit, kCondIdleToOverUp);
        }
      }
      pressed_ = nullptr;
      pressedAlive_.reset();
    } else if (hit == pressed_ && pressed_->state() != ButtonState::Down) {
      pressed_->setState(ButtonState::Down);
      fire(*pressed_, kCondOutDownToOverDown);
    } else if (hit != pressed_ && pressed_->state() == ButtonState::Down) {
      pressed_->setState(ButtonState::Up);
      fire(*pressed_, kCondOverDownToOutDown);
    }
  } else {
    if (hit != hovered_) {
      if (hovered_) {
        hovered_->setState(ButtonState::Up);
        fire(*hovered_, kCondOverUpToIdle);
      }
      setHovered(hit);
      if (hit) {
        hit->setState(ButtonState::Over);
        fire(*hit, kCondIdleToOverUp);
      }
    }
    if (down && hit) {
      pressed_ = hit;
      pressedAlive_ = hit->lifeToken();
      hit->setState(ButtonState::Down);
      fire(*hit, kCondOverUpToOverDown);
    }
  }
  if (down) mouseIsDown_ = true;
  if (up) mouseIsDown_ = false;
  ctx_->mouseDown = mouseIsDown_;
  // What a click runs may open web pages; nothing else may.
  userGesture_ = down || up;
  runActions();
  userGesture_ = false;
  if (ctx_ && ctx_->changed) changed_ = true;
  flushEvents();
}

}  // namespace swf
