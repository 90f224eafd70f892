// The "Skins" submenu: one entry per skin directory, built once at start-up, and the saved skin
// applied through its entry.
#include "app/main_form.h"
#include "app/settings_file.h"
#include "skins/skin_files.h"

namespace rv {

void MainForm::changeskinini() {
  MenuItem& menu = item("skin");
  for (const std::string& name : skinNames(programDir + "skin/")) {
    MenuItem& entry = flash1pop.add(&menu, {}, name);
    entry.onClick = [this, &entry] { changeskin(entry); };
  }
  const SettingsFile ini(configPath());
  const std::string saved = ini.readString("variables", "skinname", "Default");
  // The children after "Download more skins" and the separator are the skins; a click may not
  // add or remove any, so the walk is over a stable list.
  const std::vector<MenuItem*> entries(menu.children.begin() + 2, menu.children.end());
  for (MenuItem* entry : entries)
    if (entry->caption == saved) entry->click();
}

}  // namespace rv
