// Loading a movie into the control on screen, and the per-tick check of a movie that stopped.
#include <sys/stat.h>

#include "app/errors.h"
#include "app/main_form.h"
#include "platform/freed_memory.h"
#include "skins/tool_bar.h"

namespace rv {
namespace {

// A regular file (or a link to one) is there; a directory of that name is no movie.
bool fileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

int indexOf(const std::vector<std::string>& items, const std::string& path) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == path) return static_cast<int>(i);
  return -1;
}

// Every item a loaded movie makes usable; none is disabled again afterwards.
const char* const kPlaybackItems[] = {"scale",    "showall",  "quality",  "flashloop",
                                      "listloop", "rewind",   "stepup",   "stepback",
                                      "playstop", "autoplay", "playmode", "playframe"};

}  // namespace

std::string MainForm::displayName(const std::string& path) {
  auto slash = path.find_last_of('/');
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  return file.size() <= 4 ? std::string() : file.substr(0, file.size() - 4);
}

void MainForm::enablePlaybackItems() {
  for (const char* name : kPlaybackItems) item(name).enabled = true;
}

void MainForm::playflash(const std::string& path) {
  if (!fileExists(path)) {
    if (services.dialogs->question("Movie file " + path +
                                   " is not  exist! Delete it from the list?")) {
      int i = indexOf(flashlist.items, path);
      if (i >= 0) {
        fileindex = i;
        flashlist.items.erase(flashlist.items.begin() + i);
      }
    }
    return;
  }
  const std::string name = displayName(path);
  if (!item("playstop").checked) item("playstop").invoke();
  enablePlaybackItems();

  int found = indexOf(flashlist.items, path);
  if (found >= 0) fileindex = found;
  const int count = static_cast<int>(flashlist.items.size());
  if (count > 1) {
    item("lastmovie").enabled = fileindex != 0;
    item("nextmovie").enabled = fileindex != count - 1;
  }

  const std::string slot = Flash1->visible ? "Flash1" : "Flash2";
  renewflash(slot);
  FlashControl& fresh = *flashSlot(slot);
  fresh.sendDoubleClick();
  fresh.setMovie(path);

  if (services.window) services.window->refresh();  // the list marks the new current entry
  showPlayingLook();
  flashpaused = false;
  ctl("lblfilename").caption = name;
  if (toolBar) toolBar->setFileName(name);
}

void MainForm::saveflashbounds(const FlashControl& control) {
  flashbounds = {control.left, control.top, control.width, control.height};
}

void MainForm::loadflashbounds(FlashControl& control) {
  control.setScaleMode(2);
  control.setBounds(flashbounds.left, flashbounds.top, flashbounds.width, flashbounds.height);
}

void MainForm::renewflash(const std::string& controlName) {
  std::unique_ptr<FlashControl>& slot = flashSlot(controlName);
  saveflashbounds(*slot);
  // The new control is made before the old one goes, so the slot is never empty if making fails.
  std::unique_ptr<FlashControl> fresh = services.flashFactory->create(controlName);
  fresh->name = controlName;
  slot.reset();
  releaseFreedMemory();  // what the old movie built, at once, not when the process ends
  slot = std::move(fresh);
  slot->visible = true;
  loadflashbounds(*slot);
  applyPlayChoices(*slot);
}

void MainForm::playflashlist(FlashControl& control) {
  const bool seeking = jctdragging || (toolBar && toolBar->capturing);
  const bool ended = !control.isPlaying() && !flashpaused && control.totalFrames() != 1 &&
                     flashlist.items.size() != 1 && control.hasMovie() && !seeking &&
                     control.currentFrame() > control.totalFrames() / 3;
  if (ended) {
    // playflash replaces `control`: nothing below may touch it.
    if (item("flashloop").checked) {
      playflash(entry(fileindex));
    } else if (item("listloop").checked) {
      fileindex = fileindex == static_cast<int>(flashlist.items.size()) - 1 ? 0 : fileindex + 1;
      playflash(entry(fileindex));
      throw SilentAbort{};
    }
    return;
  }
  if (!control.isPlaying() && autoplayflash && !flashpaused && !seeking) control.play();
}

}  // namespace rv
