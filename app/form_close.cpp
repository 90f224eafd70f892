// Shutdown of the main window: the state of this run goes to the settings and the playlist file.

#include "app/main_form.h"
#include "app/settings_file.h"
#include "playlist/list_file.h"
#include "skins/tool_bar.h"

namespace rv {
namespace {

bool checkedIn(MainForm& form, const std::string& name, bool absent) {
  if (MenuItem* i = form.listpop.find(name)) return i->checked;
  if (MenuItem* i = form.flash1pop.find(name)) return i->checked;
  return absent;
}

// The directory part of a path, with its trailing '/'.
std::string directoryOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::vector<SavedSetting> MainForm::settingsToSave() {
  std::vector<SavedSetting> out;
  auto add = [&](const char* section, const char* key, std::string value) {
    out.push_back({section, key, std::move(value)});
  };
  auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
  add("form", "left", std::to_string(left));
  add("form", "top", std::to_string(top));
  add("variables", "fileindex", std::to_string(fileindex));
  add("variables", "viewbig", flag(viewbig));
  add("variables", "autoplayflash", flag(autoplayflash));
  add("variables", "movieloop", flag(item("flashloop").checked));
  add("variables", "listloop", flag(item("listloop").checked));
  add("variables", "preview", flag(checkedIn(*this, "preview", true)));
  add("variables", "openinitialdir", openinitialdir);
  add("variables", "saveinitialdir", saveinitialdir);
  add("variables", "filterindex", std::to_string(filterindex));
  add("variables", "view",
      item("normalview").checked ? "normalview"
      : item("easyview").checked ? "easyview"
                                 : "fullscreen");
  add("variables", "alwaysonthetop", flag(item("alwaysonthetop").checked));
  if (!openDialogFileName.empty()) add("variables", "openfile", directoryOf(openDialogFileName));
  add("variables", "vautochecksameitem", flag(autochecksameitem));
  add("variables", "autosort", flag(checkedIn(*this, "autosort", false)));
  if (const char* mode = checkedPlayMode()) add("variables", "playmode", mode);
  if (toolBar) {
    add("variables", "form6left", std::to_string(toolBar->left));
    add("variables", "form6top", std::to_string(toolBar->top));
  }
  return out;
}

void MainForm::FormClose() {
  // Only what start-up restored, or what this run changed since, is saved: a start-up that ended
  // early leaves every setting and list it never read as the files hold them.
  std::vector<SavedSetting> toWrite;
  for (SavedSetting& s : settingsToSave())
    if (startUp.mayWrite(s)) toWrite.push_back(std::move(s));
  if (!toWrite.empty()) {
    if (!settings) settings = std::make_unique<SettingsFile>(configPath());
    // The settings reach the file in one replacement: a close cut short by a kill or a full disk
    // leaves the last run's file or this one, and a file that cannot be written is reported once.
    SettingsWriteBatch batch(*settings);
    for (const SavedSetting& s : toWrite) settings->writeString(s.section, s.key, s.value);
    batch.commit();
  }

  // The persisted playlist is kept only where the file is already there.
  if (startUp.mayWriteList()) writeListFile(*this);

  // Only a volume that start-up actually read is put back.
  if (startvolumeKnown) services.mixer->setVolume(startvolume);
}

}  // namespace rv
