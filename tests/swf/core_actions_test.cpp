// Frame and button actions: the timeline commands, FSCommand, and blocks that misbehave.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "core_test_movies.h"
#include "swf/player/button_instance.h"

namespace {

using namespace rvtest;
using swf::Player;

struct Commands {
  std::vector<std::pair<std::string, std::string>> got;
  void attach(Player& p) {
    p.onFSCommand = [this](const std::string& c, const std::string& a) { got.emplace_back(c, a); };
  }
};

TEST(CoreActions, FrameActionRaisesFSCommand) {
  SwfWriter w(5, 100, 100, 10);
  w.showFrame();
  w.doAction(ActionBuilder().getURL("FSCommand:quit", "now").getURL("fscommand:Full", "").build());
  w.doAction(ActionBuilder().getURL("http://example.org/", "_blank").build());
  w.showFrame();
  Player p;
  Commands c;
  c.attach(p);
  show(p, w.finish());
  EXPECT_TRUE(c.got.empty());
  step(p);
  ASSERT_EQ(c.got.size(), 2u);
  EXPECT_EQ(c.got[0], (std::pair<std::string, std::string>{"quit", "now"}));
  EXPECT_EQ(c.got[1], (std::pair<std::string, std::string>{"Full", ""}));
}

TEST(CoreActions, TheHandlerMayUnloadTheMovie) {
  SwfWriter w(5, 100, 100, 10);
  w.doAction(
      ActionBuilder().getURL("FSCommand:exit", "").stop().getURL("FSCommand:again", "").build());
  w.showFrame();
  Player p;
  int calls = 0;
  p.onFSCommand = [&](const std::string&, const std::string&) {
    ++calls;
    p.unload();
  };
  show(p, w.finish());
  EXPECT_FALSE(p.loaded());
  EXPECT_EQ(calls, 2);  // both were raised; the second reaches a handler that already unloaded
  p.advance(1000);
  EXPECT_FALSE(p.advance(1000));

  // The same for trace output, raised from a later frame.
  SwfWriter w2(5, 100, 100, 10);
  w2.showFrame();
  w2.doAction(ActionBuilder().trace("bye").nextFrame().trace("gone").build());
  w2.showFrame();
  w2.showFrame();
  std::vector<std::string> traces;
  p.onTrace = [&](const std::string& t) {
    traces.push_back(t);
    p.unload();
  };
  show(p, w2.finish());
  p.advance(100);
  EXPECT_FALSE(p.loaded());
  EXPECT_EQ(traces, (std::vector<std::string>{"bye", "gone"}));
}

TEST(CoreActions, TimelineCommands) {
  SwfWriter w(5, 100, 100, 10);
  w.doAction(ActionBuilder().gotoFrame(2).build());  // jump to 2 and stop
  w.showFrame();
  w.frameLabel("two");
  w.doAction(ActionBuilder().trace("one").build());
  w.showFrame();
  w.doAction(ActionBuilder().trace("two").gotoLabel("TWO").play().build());
  w.showFrame();
  w.showFrame();
  w.doAction(ActionBuilder().previousFrame().build());
  w.showFrame();
  w.doAction(ActionBuilder().nextFrame().trace("last").build());
  w.showFrame();
  Player p;
  std::vector<std::string> traces;
  p.onTrace = [&](const std::string& t) { traces.push_back(t); };
  show(p, w.finish());
  // Frame 0 jumped to 2, whose actions went to the label and played on from there; each
  // destination's actions run after the block that jumped.
  EXPECT_EQ(traces, (std::vector<std::string>{"two", "one"}));
  EXPECT_EQ(p.currentFrame(), 1);
  EXPECT_TRUE(p.isPlaying());
  p.gotoFrame(4);  // steps back to 3, stopped
  EXPECT_EQ(p.currentFrame(), 3);
  EXPECT_FALSE(p.isPlaying());
  p.gotoFrame(5);  // the last frame: nothing after it
  EXPECT_EQ(p.currentFrame(), 5);
  EXPECT_EQ(traces.back(), "last");
}

TEST(CoreActions, WaitForFrameOfALoadedMovieNeverSkips) {
  SwfWriter w(5, 100, 100, 10);
  w.doAction(ActionBuilder()
                 .waitForFrame(1, 2)  // a trace is two actions: push and trace
                 .trace("loaded")
                 .waitForFrame(50, 2)  // past the end: waits for the last frame
                 .trace("after")
                 .build());
  w.showFrame();
  w.showFrame();
  Player p;
  std::vector<std::string> traces;
  p.onTrace = [&](const std::string& t) { traces.push_back(t); };
  show(p, w.finish());
  EXPECT_EQ(traces, (std::vector<std::string>{"loaded", "after"}));
}

TEST(CoreActions, QualityAndUnknownActions) {
  SwfWriter w(5, 100, 100, 10);
  // Unknown short and long actions are skipped; a block cut mid-action stops there.
  w.doAction(ActionBuilder().raw({0x3f, 0xc0, 3, 0, 1, 2, 3}).toggleQuality().build());
  w.doAction(std::vector<uint8_t>{0x07, 0x83, 0xff, 0x7f, 'a'});
  w.showFrame();
  w.showFrame();
  Player p;
  show(p, w.finish());
  EXPECT_EQ(p.quality(), 0);
  EXPECT_FALSE(p.isPlaying());  // the Stop before the cut action ran
}

TEST(CoreActions, SetTargetDrivesANamedSprite) {
  SwfWriter w(5, 100, 100, 10);
  TagList inner;
  inner.showFrame();
  inner.showFrame();
  inner.showFrame();
  inner.end();
  w.defineSprite(1, inner);
  PlaceParams p1 = placeNew(1, 1);
  p1.name = "clip";
  w.placeObject2(p1);
  w.doAction(ActionBuilder().setTarget("clip").gotoFrame(2).setTarget("").stop().build());
  w.showFrame();
  w.showFrame();
  Player p;
  show(p, w.finish());
  auto* clip = dynamic_cast<const swf::SpriteInstance*>(p.root()->children.at(1).get());
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->currentFrame(), 2);
  EXPECT_FALSE(clip->playing());
  EXPECT_FALSE(p.isPlaying());
}

TEST(CoreActions, ASpriteThatRemovesItselfFinishesItsBlockSafely) {
  SwfWriter w(5, 100, 100, 10);
  TagList inner;
  inner.showFrame();
  inner.doAction(ActionBuilder()
                     .setTarget("/")
                     .gotoFrame(1)  // the root's frame 1 no longer holds this sprite
                     .setTarget("")
                     .play()
                     .nextFrame()
                     .setTarget("/")
                     .trace("still here")
                     .build());
  inner.showFrame();
  inner.end();
  w.defineSprite(1, inner);
  w.placeObject2(placeNew(1, 1));
  w.doAction(ActionBuilder().stop().build());
  w.showFrame();
  w.removeObject2(1);
  w.showFrame();
  Player p;
  std::vector<std::string> traces;
  p.onTrace = [&](const std::string& t) { traces.push_back(t); };
  show(p, w.finish());
  step(p);
  EXPECT_EQ(p.currentFrame(), 1);
  EXPECT_TRUE(p.root()->children.empty());
  EXPECT_EQ(traces, std::vector<std::string>{"still here"});
}

// A 100×100 pixel stage with a 40×40 button at (30, 30) whose release raises "aboutexit".
std::vector<uint8_t> buttonMovie(bool inSprite) {
  SwfWriter w(6, 100, 100, 10);
  w.defineShape(1, square(800, {0, 0, 255, 255}));
  w.defineShape(2, square(800, {255, 0, 0, 255}));
  auto release = ActionBuilder().getURL("FSCommand:aboutexit", "").build();
  auto press = ActionBuilder().stop().build();
  w.defineButton2(3,
                  {{swf::kButtonUp | swf::kButtonOver, 1, 1, {}, {}},
                   {swf::kButtonDown, 2, 1, {}, {}},
                   {swf::kButtonHit, 1, 1, {}, {}}},
                  {{swf::kCondOverUpToOverDown, press}, {swf::kCondOverDownToOverUp, release}});
  if (inSprite) {
    TagList s;
    s.placeObject2(placeNew(1, 3));
    s.showFrame();
    s.end();
    w.defineSprite(4, s);
    w.placeObject2(placeNew(1, 4, at(600, 600)));
  } else {
    w.placeObject2(placeNew(1, 3, at(600, 600)));
  }
  w.showFrame();
  w.showFrame();
  return w.finish();
}

bool shapesHitTest(const Player& p) {
  // Hit testing of shapes belongs to the drawing side; without it buttons cannot be pressed.
  auto shape = p.movie()->character(1);
  return shape && swf::hitTestCharacter(*shape, 400, 400, 0);
}

TEST(CoreActions, ButtonReleaseRaisesFSCommand) {
  for (bool inSprite : {false, true}) {
    Player p;
    Commands c;
    c.attach(p);
    show(p, buttonMovie(inSprite));
    if (!shapesHitTest(p)) GTEST_SKIP() << "shape hit testing not available";
    const swf::DisplayObject* holder = p.root()->children.at(1).get();
    if (inSprite) holder = holder->children.at(1).get();
    auto* button = dynamic_cast<const swf::ButtonInstance*>(holder);
    ASSERT_TRUE(button);
    // Control pixels equal stage pixels when nothing was drawn yet.
    p.mouseMove(10, 10);
    EXPECT_EQ(button->state(), swf::ButtonState::Up);
    p.mouseMove(50, 50);
    EXPECT_EQ(button->state(), swf::ButtonState::Over);
    p.mouseDown(50, 50);
    EXPECT_EQ(button->state(), swf::ButtonState::Down);
    // The press action ran on the timeline that holds the button.
    auto* timeline = dynamic_cast<const swf::SpriteInstance*>(
        inSprite ? p.root()->children.at(1).get() : p.root());
    EXPECT_FALSE(timeline->playing());
    EXPECT_EQ(button->children.at(1)->characterId, 2);  // the down state is shown
    EXPECT_TRUE(c.got.empty());
    p.mouseUp(50, 50);
    ASSERT_EQ(c.got.size(), 1u);
    EXPECT_EQ(c.got[0].first, "aboutexit");
    EXPECT_EQ(c.got[0].second, "");
    EXPECT_EQ(button->state(), swf::ButtonState::Over);
    // Pressed inside, released outside: no release action.
    p.mouseDown(50, 50);
    p.mouseMove(90, 90);
    p.mouseUp(90, 90);
    EXPECT_EQ(c.got.size(), 1u);
    EXPECT_EQ(button->state(), swf::ButtonState::Up);
  }
}

TEST(CoreActions, MouseMapsThroughTheShownView) {
  Player p;
  Commands c;
  c.attach(p);
  show(p, buttonMovie(false));
  if (!shapesHitTest(p)) GTEST_SKIP() << "shape hit testing not available";
  // Drawn at 200×400: the 100×100 stage is scaled twice and centred vertically.
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 400);
  cairo_t* cr = cairo_create(s);
  p.render(cr, 200, 400);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  p.mouseDown(100, 200);
  p.mouseUp(100, 200);
  EXPECT_EQ(c.got.size(), 1u);
  p.mouseDown(100, 90);  // in the band above the stage
  p.mouseUp(100, 90);
  EXPECT_EQ(c.got.size(), 1u);
}

TEST(CoreActions, RunnerToleratesAnyBytes) {
  // A block of random bytes ends without harm, and the next block of the frame still runs.
  std::mt19937 rng(3);
  for (int i = 0; i < 300; ++i) {
    std::vector<uint8_t> code(rng() % 64);
    for (auto& b : code) b = uint8_t(rng());
    SwfWriter w(int(5 + i % 4), 100, 100, 12);
    w.doAction(code);
    w.doAction(ActionBuilder().trace("survived").build());
    w.showFrame();
    w.end();
    swf::Player p;
    p.setScriptTimeLimit(200);
    std::vector<std::string> got;
    p.onTrace = [&](const std::string& t) { got.push_back(t); };
    show(p, w.finish());
    ASSERT_FALSE(got.empty()) << i;
    EXPECT_EQ(got.back(), "survived") << i;
  }
}

}  // namespace

namespace {

TEST(CoreActions, ShippedAboutBoxOkButtonSendsAboutExit) {
  std::string path = std::string(RV_PROGRAM_DIR) + "/config/about.swf";
  if (!std::ifstream(path)) GTEST_SKIP() << "the program directory is not built";
  swf::Player p;
  std::vector<std::string> got;
  p.onFSCommand = [&](const std::string& c, const std::string&) { got.push_back(c); };
  p.load(path);
  EXPECT_EQ(p.stageWidth(), 400);
  EXPECT_EQ(p.stageHeight(), 300);
  p.mouseDown(200, 50);  // the title: nothing
  p.mouseUp(200, 50);
  EXPECT_TRUE(got.empty());
  // Character 8 is the button's hit area, centred on its origin.
  auto hitArea = p.movie()->character(8);
  ASSERT_TRUE(hitArea);
  if (!swf::hitTestCharacter(*hitArea, 0, 0, 0)) GTEST_SKIP() << "shape hit testing not available";
  p.mouseMove(200, 260);
  p.mouseDown(200, 260);
  p.mouseUp(200, 260);
  EXPECT_EQ(got, std::vector<std::string>{"aboutexit"});
}

}  // namespace
