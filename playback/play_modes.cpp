// The four play modes over the three switches, and moving to the previous or next entry.
#include "app/main_form.h"

namespace rv {
namespace {

const char* const kModes[] = {"default", "gameboy", "mtv_movie", "mtv_list"};

}  // namespace

const char* MainForm::checkedPlayMode() {
  for (const char* m : kModes)
    if (item(m).checked) return m;
  return nullptr;
}

void MainForm::checkplaymode() {
  for (const char* m : kModes) item(m).checked = false;
  const bool autoPlay = item("autoplay").checked;
  const bool movieLoop = item("flashloop").checked;
  const bool listLoop = item("listloop").checked;
  if (autoPlay && movieLoop)
    item("mtv_movie").checked = true;
  else if (autoPlay && listLoop)
    item("mtv_list").checked = true;
  else if (!autoPlay && !movieLoop && !listLoop)
    item("gameboy").checked = true;
  else if (!autoPlay && movieLoop && !listLoop)
    item("default").checked = true;
}

namespace {

void markOnly(MainForm& form, const std::string& mode) {
  for (const char* m : kModes) form.item(m).checked = mode == m;
}

}  // namespace

void MainForm::defaultClick() {
  if (item("autoplay").checked) item("autoplay").invoke();
  if (!item("flashloop").checked) item("flashloop").invoke();
  markOnly(*this, "default");
}

void MainForm::gameboyClick() {
  if (item("autoplay").checked) item("autoplay").invoke();
  if (item("flashloop").checked) item("flashloop").invoke();
  if (item("listloop").checked) item("listloop").invoke();
  markOnly(*this, "gameboy");
}

void MainForm::mtv_movieClick() {
  if (!item("autoplay").checked) item("autoplay").invoke();
  if (!item("flashloop").checked) item("flashloop").invoke();
  markOnly(*this, "mtv_movie");
}

void MainForm::mtv_listClick() {
  if (!item("autoplay").checked) item("autoplay").invoke();
  if (!item("listloop").checked) item("listloop").invoke();
  markOnly(*this, "mtv_list");
}

namespace {

void markListEnds(MainForm& form) {
  if (form.fileindex == 0) form.item("lastmovie").enabled = false;
  if (form.fileindex == static_cast<int>(form.flashlist.items.size()) - 1)
    form.item("nextmovie").enabled = false;
}

}  // namespace

void MainForm::nextmovieClick() {
  if (flashlist.items.size() < 2) return;
  playflash(entry(fileindex + 1));
  markListEnds(*this);
}

void MainForm::lastmovieClick() {
  if (flashlist.items.size() < 2) return;
  playflash(entry(fileindex - 1));
  markListEnds(*this);
}

}  // namespace rv
