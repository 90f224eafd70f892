// "Search IE cache": collects the movies in the browser cache directory tree (the user's XDG
// cache directory here) that are at least as big as the options ask, as one batch.
#include <climits>

#include "app/errors.h"
#include "app/main_form.h"
#include "app/settings_file.h"
#include "platform/user_files.h"
#include "platform/xdg_dirs.h"
#include "playlist/movie_scan.h"
#include "playlist/path_text.h"

namespace rv {
namespace {

// While a scan runs the window shows a busy pointer and keeps repainting; the timer's tick waits,
// as it does for a box opened inside a tick, so nothing else runs inside the command.
class BusyScan {
 public:
  explicit BusyScan(MainForm& form) : form_(form), wasInTick_(form.inTick) {
    form_.inTick = true;
    if (form_.services.window) form_.services.window->setBusy(true);
  }
  ~BusyScan() {
    if (form_.services.window) form_.services.window->setBusy(false);
    form_.inTick = wasInTick_;
  }
  BusyScan(const BusyScan&) = delete;
  BusyScan& operator=(const BusyScan&) = delete;

 private:
  MainForm& form_;
  bool wasInTick_;
};

// The last component has an extension, as a file name would (a leading dot, as in ".cache",
// only marks a hidden name).
bool lastComponentHasExtension(std::string dir) {
  while (!dir.empty() && dir.back() == '/') dir.pop_back();
  std::string_view name = fileNamePart(dir);
  return name.size() > 1 && name.find('.', 1) != std::string_view::npos;
}

// The size threshold in bytes; a text that is no number, or whose kilobytes do not fit in 32 bits
// as bytes, is the conversion error the error handler reports.
int64_t thresholdBytes(const std::string& kilobytes) {
  int kb = 0;
  if (!SettingsFile::parseInt(kilobytes, kb) || kb > INT_MAX / 1024 || kb < INT_MIN / 1024)
    throw AppError("'" + kilobytes + "' is not a valid integer value");
  return static_cast<int64_t>(kb) * 1024;
}

}  // namespace

std::string MainForm::getcachedir() {
  const std::string dir = xdgCacheHome();
  if (!isDirectory(dir)) {
    services.dialogs->message("Can not find IE cache directory.");
    return {};
  }
  return dir + "/";
}

bool MainForm::searchcache(const std::string& dir, const std::string& pattern,
                           std::vector<std::string>& collected, int64_t threshold) {
  std::string d = dir;
  if (d.empty() || d.back() != '/') d.push_back('/');
  if (pattern.find_first_not_of(' ') == std::string::npos) return false;
  WindowHost* window = services.window;
  return collectCachedMovies(d, collected, threshold, [window] {
    if (window) window->keepPainting();
  });
}

void MainForm::IE1Click() {
  const std::string dir = getcachedir();
  if (dir.empty()) return;
  SettingsFile ownSettings(configPath());
  SettingsFile& s = settings ? *settings : ownSettings;
  const std::string kilobytes = s.readString("variables", "cachefilesize", "0");
  if (s.readBool("variables", "cachelistclear", true)) askclearlist();
  if (lastComponentHasExtension(dir)) return;
  const int64_t threshold = thresholdBytes(kilobytes);
  std::vector<std::string> collected;
  {
    BusyScan busy(*this);
    if (!searchcache(dir, "*.swf", collected, threshold)) return;
  }
  addBatch(collected);
}

void MainForm::IE2Click() {
  if (MenuItem* search = listpop.find("IE1")) search->click();
}

}  // namespace rv
