#pragma once
// A main window with its full-screen tool bar wired as the program entry wires them, for the
// view and tool bar tests.

#include <functional>
#include <memory>
#include <string>

#include "app/dispatch.h"
#include "skins/tool_bar.h"
#include "tests/shell/fakes/shell_rig.h"

namespace rv::test {

struct ViewsRig {
  ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
  ToolBar bar{rig.dir.path()};

  ViewsRig() {
    bar.form = form.get();
    form->toolBar = &bar;
  }
  ~ViewsRig() { form->toolBar = nullptr; }
  ViewsRig(const ViewsRig&) = delete;
  ViewsRig& operator=(const ViewsRig&) = delete;

  // Runs a handler through the dispatch point; false when it ended in an error.
  bool run(const std::function<void()>& event) { return dispatch(*form, event); }
  // Puts a movie of `frames` frames in the list and plays it; returns its path.
  std::string play(int frames = 100) {
    rig.flashes.defaultFrames = frames;
    const std::string movie = rig.dir.movie("m.swf");
    form->flashlist.items.push_back(movie);
    form->playflash(movie);
    return movie;
  }
  bool invoke(const char* item) {
    return run([&] { form->item(item).invoke(); });
  }
};

}  // namespace rv::test
