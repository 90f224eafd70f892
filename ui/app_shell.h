#pragma once
// The whole program around the shell: the services the shell needs, the four windows, the 10 ms
// timer, the input hooks and the desktop's media-player interface. main() makes one and runs
// Qt's event loop; the end-to-end test does the same in process.

#include <QObject>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/associations.h"
#include "platform/mixer.h"
#include "ui/qt_desktop.h"
#include "ui/qt_dialogs.h"
#include "ui/runner.h"

namespace rv::ui {

class MainWindow;
class AboutWindow;
class OptionsWindow;
class ToolBarWindow;
class InputFilter;
class Mpris;

class AppShell {
 public:
  // programDir: the directory of the executable with a trailing '/'; programPath: the executable
  // itself (programDir + "reelvista" when empty). The mixer defaults to the system's; tests pass
  // their own.
  explicit AppShell(std::string programDir, std::unique_ptr<Mixer> mixer = nullptr,
                    std::string programPath = {});
  ~AppShell();
  AppShell(const AppShell&) = delete;
  AppShell& operator=(const AppShell&) = delete;

  // Runs the program entry: main window (with the arguments), about box, options, tool bar.
  // Throws FatalExit when the program cannot run; its message has been shown then.
  void start(const std::vector<std::string>& args);

  Program& program() { return *program_; }
  MainForm& form() { return program_->mainForm(); }
  MainWindow& mainWindow() { return *main_; }
  AboutWindow* aboutWindow() { return about_.get(); }
  OptionsWindow* optionsWindow() { return options_.get(); }
  const Runner& runner() const { return run_; }
  Mixer& mixer() { return *mixer_; }

  // Shows what changed in every window.
  void syncAll();
  // One tick of Timer1 and of the movies' clocks.
  void tick();

 private:
  bool runEvent(const std::function<void()>& event);

  std::string programDir_;
  QtDialogs dialogs_;
  QtDesktop desktop_;
  std::unique_ptr<Mixer> mixer_;
  std::unique_ptr<FlashFactory> flashFactory_;
  std::unique_ptr<Associations> associations_;
  Runner run_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<Program> program_;
  bool started_ = false;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<OptionsWindow> options_;
  std::unique_ptr<ToolBarWindow> toolBar_;
  std::unique_ptr<InputFilter> filter_;
  std::unique_ptr<Mpris> mpris_;
  QTimer timer_;
};

}  // namespace rv::ui
