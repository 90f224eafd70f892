// Start-up of the main window: restores the last run's state in a fixed order.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/errors.h"
#include "app/main_form.h"
#include "app/settings_file.h"
#include "platform/xdg_dirs.h"
#include "playlist/list_file.h"

namespace rv {
namespace {

// The extension of the file-name part, from its last '.', dot included; "" when it has none.
std::string extensionOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

std::string upperHex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

MenuItem* findItem(MainForm& form, const std::string& name) {
  if (MenuItem* i = form.listpop.find(name)) return i;
  return form.flash1pop.find(name);
}

// The settings file as start-up reads it: every key read is noted, so the close knows which
// stored values this run has taken over.
class RestoringReader {
 public:
  RestoringReader(const SettingsFile& ini, StartUpRecord& record) : ini_(ini), record_(record) {}
  int readInt(const std::string& section, const std::string& key, int def) {
    record_.noteRead(section, key);
    return ini_.readInt(section, key, def);
  }
  bool readBool(const std::string& section, const std::string& key, bool def) {
    record_.noteRead(section, key);
    return ini_.readBool(section, key, def);
  }
  std::string readString(const std::string& section, const std::string& key,
                         const std::string& def) {
    record_.noteRead(section, key);
    return ini_.readString(section, key, def);
  }

 private:
  const SettingsFile& ini_;
  StartUpRecord& record_;
};

}  // namespace

void MainForm::FormCreate(const std::vector<std::string>& args) {
  startUp.begin();
  try {
    restoreLastRun(args);
  } catch (...) {
    startUp.endEarly(settingsToSave());
    throw;
  }
  startUp.complete();
}

void MainForm::restoreLastRun(const std::vector<std::string>& args) {
  // 1-4. Clean state; the hooks and the drop target are the Qt layer's wiring around this form.
  listwidth = 0;
  zoomsteps = 0;
  fileindex = -1;

  // 5. Our engine stands in for version 5 of the control.
  if (upperHex(static_cast<uint32_t>(Flash1->flashVersion()))[0] != '5')
    fatal("Your Flash ActiveX is not Flash 5.0 .Program must terminate.");

  // 6. The persisted playlist.
  readListFile(*this);
  startUp.noteListRead();

  // 7-10. Skin, then the places the skin gave.
  viewbig = false;
  changeskinini();
  autoplayflash = false;
  flash1left = Flash1->left;
  flash1top = Flash1->top;
  const Control& track = ctl("Imagejct0");
  jctmin = track.left + 8;
  jctmax = track.left + track.width - 5;

  // 11-13. Settings, place, show.
  settings = std::make_unique<SettingsFile>(configPath());
  RestoringReader ini(*settings, startUp);
  left = ini.readInt("form", "left", 100);
  top = ini.readInt("form", "top", 100);
  shown = true;
  if (services.window) services.window->show();

  // 14. The last movie of the previous run, paused.
  if (args.size() != 1) {
    fileindex = ini.readInt("variables", "fileindex", 0);
    if (fileindex != -1 && fileindex < static_cast<int>(flashlist.items.size())) {
      playflash(entry(fileindex));
      stopClick();
    }
  }

  // 15-22. Switches, through the same commands the user would use.
  viewbig = ini.readBool("variables", "viewbig", false);
  if (viewbig) listbtnonClick();
  autoplayflash = ini.readBool("variables", "autoplayflash", autoplayflash);
  item("autoplay").checked = autoplayflash;
  if (!ini.readBool("variables", "movieloop", true)) item("flashloop").invoke();
  if (ini.readBool("variables", "listloop", false)) item("listloop").invoke();
  if (!ini.readBool("variables", "preview", true))
    if (MenuItem* preview = findItem(*this, "preview")) preview->invoke();
  openinitialdir = ini.readString("variables", "openinitialdir", homeDirectory());
  saveinitialdir = ini.readString("variables", "saveinitialdir", homeDirectory());
  filterindex = ini.readInt("variables", "filterindex", 1);
  autochecksameitem = ini.readBool("variables", "vautochecksameitem", true);
  if (autochecksameitem) {
    if (MenuItem* check = findItem(*this, "autochecksameitem")) {
      check->checked = !check->checked;
      autochecksameitem = check->checked;
    }
  }
  if (ini.readBool("variables", "autosort", false))
    if (MenuItem* sort = findItem(*this, "autosort")) sort->invoke();

  // 23. The saved play mode's mark (26 derives it again from the switches).
  const std::string mode = ini.readString("variables", "playmode", "default");
  item("default").checked = false;
  for (const char* m : {"default", "mtv_movie", "mtv_list", "gameboy"}) {
    if (mode == m) {
      item(m).checked = true;
      break;
    }
  }

  // 24-26. View, always on top, play mode.
  const std::string view = ini.readString("variables", "view", "normalview");
  if (view == "fullscreen")
    item("fullscreen").invoke();
  else if (view == "easyview")
    item("easyview").invoke();
  else
    item("normalview").invoke();
  if (ini.readBool("variables", "alwaysonthetop", false)) item("alwaysonthetop").invoke();
  checkplaymode();

  // 27. The volume found now is put back at exit; the nearest preset is chosen meanwhile. The
  // right channel, in the high half, decides.
  startvolume = services.mixer->volume();
  startvolumeKnown = true;
  const uint32_t q = startvolume / 100000000u;
  vcClick(q > 40 ? 5 : q >= 29 ? 4 : q >= 21 ? 3 : q >= 9 ? 2 : 1);

  // 28. A movie or a list file named on the command line.
  if (args.size() == 1) {
    const std::string& arg = args[0];
    const std::string ext = extensionOf(arg);
    if (ext == ".SWF" || ext == ".swf") {
      flashlist.items.push_back(arg);
      playflash(arg);
    } else if (ext == ".FLT" || ext == ".flt") {
      enablePlaybackItems();
      openflt(arg, ListFileUse::Replace);
    }
  }

  // 29.
  checklistwidth();
}

void MainForm::fatal(const std::string& message) { throw FatalExit{message}; }

}  // namespace rv
