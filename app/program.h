#pragma once
// The program entry without the toolkit: creates the four windows in their order. The Qt layer
// runs the event loop around it.

#include <memory>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/main_form.h"
#include "app/options_dialog.h"
#include "skins/tool_bar.h"

namespace rv {

class Program {
 public:
  // programDir: the directory of the executable, with a trailing '/'.
  Program(std::string programDir, Services services);
  ~Program();

  // Where config.ini and listfile.flt are kept when not in programDir + "config/"; before start.
  void setConfigDir(std::string dir) { configDir_ = std::move(dir); }
  const std::string& configDir() const { return configDir_; }

  // Creates the main window (running its start-up with the command-line arguments, argv[1..]),
  // the about box, the options dialog and the tool bar. A condition the program cannot run on
  // throws FatalExit after its message was shown: end the process then, saving nothing.
  void start(const std::vector<std::string>& args);

  MainForm& mainForm() { return *mainForm_; }
  AboutBox& aboutBox() { return *aboutBox_; }
  OptionsDialog& optionsDialog() { return *options_; }
  ToolBar& toolBar() { return *toolBar_; }

 private:
  std::string programDir_;
  std::string configDir_;
  Services services_;
  std::unique_ptr<MainForm> mainForm_;
  std::unique_ptr<AboutBox> aboutBox_;
  std::unique_ptr<OptionsDialog> options_;
  std::unique_ptr<ToolBar> toolBar_;
};

}  // namespace rv
