#include "app/options_dialog.h"

#include <sys/stat.h>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "app/settings_file.h"
#include "app/window_host.h"
#include "platform/associations.h"

namespace rv {

OptionsDialog::OptionsDialog(std::string settingsPath, Dialogs& dialogs, Associations* associations)
    : settingsPath_(std::move(settingsPath)), dialogs_(dialogs), associations_(associations) {}

const std::vector<DialogControl>& OptionsDialog::layout() {
  using K = DialogControl::Kind;
  static const std::vector<DialogControl> controls = {
      {"GroupBox1", K::Frame, "", 8, 8, 305, 129, "Playlist option"},
      {"Label1", K::Label, "GroupBox1", 24, 24, 0, 0, "IE cache file more than "},
      {"Editiecache", K::Edit, "GroupBox1", 167, 23, 33, 17, "0"},
      {"Label2", K::Label, "GroupBox1", 204, 23, 0, 0, "K"},
      {"cachelistclear", K::CheckBox, "GroupBox1", 26, 58, 247, 17,
       "Clear playlist before search IE cache "},
      {"listhaveplaymode", K::CheckBox, "GroupBox1", 27, 95, 206, 17,
       "Include play mode in list files"},
      {"GroupBox2", K::Frame, "", 8, 146, 305, 105, "Associate option"},
      {"swffile", K::CheckBox, "GroupBox2", 72, 24, 209, 17, "Associate with flash files"},
      {"listfile", K::CheckBox, "GroupBox2", 72, 56, 193, 17, "Associate with list files"},
      {"Button2", K::Button, "", 120, 260, 75, 25, "OK"},
  };
  return controls;
}

void OptionsDialog::show() {
  visible = true;
  FormShow();
  if (visible && window) window->show();
}

void OptionsDialog::FormShow() {
  struct stat st {};
  if (stat(settingsPath_.c_str(), &st) != 0) {
    dialogs_.message("Config file was destroyed!");
    close();
  }
  // The rest runs all the same, on the defaults when the file is gone.
  SettingsFile settings(settingsPath_);
  Editiecache = settings.readString("variables", "cachefilesize", "0");
  cachelistclear = settings.readBool("variables", "cachelistclear", true);
  listhaveplaymode = settings.readBool("variables", "listhaveplaymode", true);
  // A box is only ever checked here; one that does not match keeps its last state.
  if (associations_ && associations_->flashFilesAssociated()) swffile = true;
  if (associations_ && associations_->listFilesAssociated()) listfile = true;
}

void OptionsDialog::Button2Click() {
  SettingsFile settings(settingsPath_);
  settings.writeString("variables", "cachefilesize", Editiecache);
  settings.writeBool("variables", "cachelistclear", cachelistclear);
  settings.writeBool("variables", "listhaveplaymode", listhaveplaymode);
  if (associations_) {
    // The dialog closes whatever happened, but a refused association is not passed off as made.
    std::string problem = associations_->associateFlashFiles(swffile);
    std::string listProblem = associations_->associateListFiles(listfile);
    if (problem.empty()) problem = listProblem;
    if (!problem.empty()) dialogs_.message("Can not change the file associations: " + problem);
  }
  close();
}

void OptionsDialog::close() {
  visible = false;
  if (window) window->hide();
}

void MainForm::option1Click() {
  if (options) options->show();
}

}  // namespace rv
