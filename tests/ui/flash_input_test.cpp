// The movie in Flash1 takes the pointer and the keyboard through the real widget: a scripted
// button clicks, and typing fills an input field whose variable the script reads.

#include <gtest/gtest.h>

#include <fstream>

#include "app/dispatch.h"
#include "common/input_test_movie.h"
#include "playback/engine_flash_control.h"
#include "swf/avm1/vm.h"
#include "swf/player/player.h"
#include "swf/player/sprite_instance.h"
#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"
#include "ui/flash_widget.h"
#include "ui/input_filter.h"
#include "ui/main_window.h"

namespace rv::test {
namespace {

TEST(FlashInput, ButtonClicksAndTypingReachTheMovieInFlash1) {
  qtApp();
  ShellRig rig;
  EngineFlashFactory engines;
  Services services = rig.services();
  services.flashFactory = &engines;
  std::unique_ptr<MainForm> form;
  auto run = [&](const std::function<void()>& e) { return dispatch(*form, e); };
  ui::MainWindow window([&] { return form.get(); }, run);
  services.window = &window;
  form = std::make_unique<MainForm>(rig.dir.path(), services);
  ui::InputFilter filter(window, [] {});
  qApp->installEventFilter(&filter);

  const std::string movie = rig.dir.path() + "form.swf";
  {
    auto bytes = rvtest::inputFormMovie(6);
    std::ofstream(movie, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  window.show();
  processUntil([&] { return window.isVisible(); });
  dispatch(*form, [&] {
    form->flashlist.items.push_back(movie);
    form->playflash(movie);
    // The stage drawn one to one, whatever the skin's place for the control.
    form->Flash1->left = 0;
    form->Flash1->top = 0;
    form->Flash1->width = 200;
    form->Flash1->height = 100;
    form->Flash1->visible = true;
  });
  window.syncFromModel();
  ui::FlashWidget* flash1 = window.flashWidget("Flash1");
  ASSERT_NE(flash1, nullptr);
  ASSERT_TRUE(processUntil([&] { return flash1->isVisible() && flash1->repaintCount() > 0; }));
  swf::Player& player = static_cast<EngineFlashControl&>(*form->Flash1).player();
  auto var = [&](const char* name) {
    swf::avm1::Vm& vm = *player.scripts();
    return vm.toString(vm.get(vm.clipFor(player.levelRoot(0)), vm.intern(name)));
  };

  QWindow* w = window.windowHandle();
  const QPoint button = flash1->mapTo(&window, QPoint(20, 20));
  pressMouse(w, button, Qt::LeftButton);
  releaseMouse(w, button, Qt::LeftButton);
  EXPECT_EQ(var("clicks"), "1");

  const QPoint field = flash1->mapTo(&window, QPoint(100, 10));
  pressMouse(w, field, Qt::LeftButton);
  releaseMouse(w, field, Qt::LeftButton);
  typeKey(w, Qt::Key_H, Qt::NoModifier, "h");
  typeKey(w, Qt::Key_I, Qt::NoModifier, "i");
  typeKey(w, Qt::Key_Backspace, Qt::NoModifier, "\b");
  typeKey(w, Qt::Key_O, Qt::NoModifier, "o");
  EXPECT_EQ(var("typed"), "ho");
  qApp->removeEventFilter(&filter);
}

}  // namespace
}  // namespace rv::test
