#pragma once
// Everything a main window needs around it in a test: a real temporary program directory and the
// recording fakes, wired into Services.

#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "tests/shell/fakes/fake_dialogs.h"
#include "tests/shell/fakes/fake_flash_control.h"
#include "tests/shell/fakes/fake_platform.h"
#include "tests/shell/fakes/temp_program_dir.h"

namespace rv::test {

// "m3.swf" from ("m", 3, ".swf"); built by appending, which also keeps GCC 12's -Wrestrict
// false alarm on short literal + string away.
inline std::string numbered(const char* prefix, int n, const char* suffix = "") {
  std::string s(prefix);
  s += std::to_string(n);
  s += suffix;
  return s;
}

struct ShellRig {
  TempProgramDir dir;
  FakeDialogs dialogs;
  FakeMixer mixer;
  FakeDesktop desktop;
  FakeFlashFactory flashes;
  FakeWindowHost window;

  static int textWidth(const std::string& text) { return static_cast<int>(text.size()) * 6; }

  Services services() {
    Services s;
    s.dialogs = &dialogs;
    s.mixer = &mixer;
    s.desktop = &desktop;
    s.flashFactory = &flashes;
    s.window = &window;
    s.textWidth = &ShellRig::textWidth;
    return s;
  }

  // A main window as the constructor leaves it (FormCreate not run).
  std::unique_ptr<MainForm> form() { return std::make_unique<MainForm>(dir.path(), services()); }
};

}  // namespace rv::test
