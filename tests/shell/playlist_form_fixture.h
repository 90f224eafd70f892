#pragma once
// A main window as the constructor leaves it, with "Check homonymy" on as start-up sets it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/shell/fakes/shell_rig.h"

namespace rv::test {

class PlaylistForm : public ::testing::Test {
 protected:
  PlaylistForm() {
    form->autochecksameitem = true;
    form->listItem("autochecksameitem").checked = true;
  }
  std::vector<std::string>& items() { return form->flashlist.items; }
  std::string playing() { return form->Flash1->movie(); }
  void pickFile(const std::string& path, int filterIndex = 1) {
    rig.dialogs.openResults.push_back(FileDialogResult{{path}, filterIndex});
  }
  void pickSaveName(const std::string& path) {
    rig.dialogs.saveResults.push_back(FileDialogResult{{path}, 1});
  }
  std::string movie(const std::string& rel) { return rig.dir.movie(rel); }

  ShellRig rig;
  std::unique_ptr<MainForm> form = rig.form();
};

}  // namespace rv::test
