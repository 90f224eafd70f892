#pragma once
// The about box (TForm2): a borderless window that plays config/about.swf; the movie closes it
// with the command "aboutexit".

#include <memory>
#include <string>

#include "app/options_dialog.h"  // the window created after this one; kept for includers
#include "playback/flash_control.h"

namespace rv {

class WindowHost;

class AboutBox {
 public:
  AboutBox(std::string programDir, FlashFactory& factory);

  const std::string caption = "Form2";
  static constexpr int kWidth = 400, kHeight = 300;
  std::string moviePath() const { return programDir_ + "config/about.swf"; }

  std::unique_ptr<FlashControl> Flash3;
  bool visible = false;
  bool topmost = true;
  WindowHost* window = nullptr;  // set by the Qt layer

  // Loads the about movie; without it the program cannot run (throws FatalExit).
  void FormCreate();
  void show();
  void hide();
  void Flash3FSCommand(const std::string& command, const std::string& args);

 private:
  std::string programDir_;
};

}  // namespace rv
