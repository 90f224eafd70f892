#pragma once
// The desktop services as recording fakes: mixer, document/URL opener, window host.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/window_host.h"
#include "platform/desktop.h"
#include "platform/mixer.h"

namespace rv::test {

class FakeMixer : public Mixer {
 public:
  uint32_t current = 0xFFFFFFFF;
  std::vector<uint32_t> sets;  // every value passed to setVolume, in order
  uint32_t volume() override { return current; }
  void setVolume(uint32_t v) override {
    sets.push_back(v);
    current = v;
  }
};

class FakeDesktop : public Desktop {
 public:
  std::vector<std::string> documents, urls;
  void openDocument(const std::string& path) override { documents.push_back(path); }
  void openUrl(const std::string& url) override { urls.push_back(url); }
};

class FakeWindowHost : public WindowHost {
 public:
  std::vector<std::string> calls;  // "show", "hide", "close", "topmost=1", "move", "minimize", ...
  bool shown = false;
  bool topmost = false;
  int cursorX_ = 0, cursorY_ = 0;
  int screenLeft_ = 0, screenTop_ = 0, screenWidth_ = 1920, screenHeight_ = 1080;
  std::function<void()> onClose;  // the normal close path, wired by the test

  void show() override {
    calls.push_back("show");
    shown = true;
  }
  void hide() override {
    calls.push_back("hide");
    shown = false;
  }
  void close() override {
    calls.push_back("close");
    if (onClose) onClose();
  }
  void setTopmost(bool t) override {
    calls.push_back(std::string("topmost=") + (t ? "1" : "0"));
    topmost = t;
  }
  void startSystemMove() override { calls.push_back("move"); }
  void minimize() override { calls.push_back("minimize"); }
  int cursorX() const override { return cursorX_; }
  int cursorY() const override { return cursorY_; }
  int screenLeft() const override { return screenLeft_; }
  int screenTop() const override { return screenTop_; }
  int screenWidth() const override { return screenWidth_; }
  int screenHeight() const override { return screenHeight_; }
  void refresh() override { calls.push_back("refresh"); }
  int paints = 0;  // keepPainting() calls, not logged one by one
  void setBusy(bool busy) override { calls.push_back(busy ? "busy=1" : "busy=0"); }
  void keepPainting() override { ++paints; }
  void popupMainMenu(int x, int y) override {
    calls.push_back("popup " + std::to_string(x) + "," + std::to_string(y));
  }
  bool called(const std::string& c) const {
    for (const auto& x : calls)
      if (x == c) return true;
    return false;
  }
};

}  // namespace rv::test
