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

void MainForm::FormClose() {
  // A start-up that failed before it opened the settings restored nothing, so there is nothing
  // to save: writing now would replace the last run's state and list with empty ones.
  if (!settings) return;
  SettingsFile& ini = *settings;

  // The settings reach the file in one replacement: a close cut short by a kill or a full disk
  // leaves the last run's file or this one, and a file that cannot be written is reported once.
  SettingsWriteBatch batch(ini);
  ini.writeInt("form", "left", left);
  ini.writeInt("form", "top", top);
  ini.writeInt("variables", "fileindex", fileindex);
  ini.writeBool("variables", "viewbig", viewbig);
  ini.writeBool("variables", "autoplayflash", autoplayflash);
  ini.writeBool("variables", "movieloop", item("flashloop").checked);
  ini.writeBool("variables", "listloop", item("listloop").checked);
  ini.writeBool("variables", "preview", checkedIn(*this, "preview", true));
  ini.writeString("variables", "openinitialdir", openinitialdir);
  ini.writeString("variables", "saveinitialdir", saveinitialdir);
  ini.writeInt("variables", "filterindex", filterindex);
  ini.writeString("variables", "view",
                  item("normalview").checked ? "normalview"
                  : item("easyview").checked ? "easyview"
                                             : "fullscreen");
  ini.writeBool("variables", "alwaysonthetop", item("alwaysonthetop").checked);
  if (!openDialogFileName.empty())
    ini.writeString("variables", "openfile", directoryOf(openDialogFileName));
  ini.writeBool("variables", "vautochecksameitem", autochecksameitem);
  ini.writeBool("variables", "autosort", checkedIn(*this, "autosort", false));
  if (const char* mode = checkedPlayMode()) ini.writeString("variables", "playmode", mode);
  if (toolBar) {
    ini.writeInt("variables", "form6left", toolBar->left);
    ini.writeInt("variables", "form6top", toolBar->top);
  }
  batch.commit();

  // The persisted playlist is kept only where the file is already there.
  writeListFile(*this);

  // Only a volume that start-up actually read is put back.
  if (startvolumeKnown) services.mixer->setVolume(startvolume);
}

}  // namespace rv
