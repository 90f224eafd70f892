// Adding movies: the open dialog, the folder browser with its scan, drops, and the two list
// switches "Check homonymy" and "Sort list".
#include <string_view>
#include <unordered_set>

#include "app/main_form.h"
#include "playlist/admit_entry.h"
#include "playlist/path_text.h"
#include "playlist/projector.h"
#include "playlist/topmost_pause.h"

namespace rv {

namespace {

const char* const kOpenFilter = "Flash movie|*.swf|Reelvista movie list|*.flt|Flash_exe file|*.exe";

std::optional<FileDialogResult> showOpenDialog(MainForm& form) {
  FileDialogRequest request;
  request.filter = kOpenFilter;
  request.filterIndex = form.filterindex;
  request.initialDir = form.openinitialdir;
  form.opendialogInitialDir = form.openinitialdir;
  auto chosen = form.services.dialogs->openFile(request);
  if (chosen && chosen->files.empty()) chosen.reset();
  if (chosen) form.openDialogFileName = chosen->files.front();
  return chosen;
}

void rememberOpenDialog(MainForm& form, const FileDialogResult& chosen) {
  const std::string& file = chosen.files.front();
  // A directory that could not be written back to the settings file is not remembered.
  if (!unfitForList(file)) form.openinitialdir = directoryPart(file);
  form.filterindex = chosen.filterIndex;
}

}  // namespace

void MainForm::openClick() {
  auto chosen = showOpenDialog(*this);
  if (!chosen) return;
  const std::string file = chosen->files.front();
  if (!unfitForList(file)) {
    switch (fileTypeOf(file)) {
      case FileType::Movie:
        checksameitem(file);
        playflash(file);
        break;
      case FileType::ListFile:
        // A broken file changed nothing, so nothing new is played either.
        if (openflt(file, ListFileUse::AskToReplace) && !flashlist.items.empty())
          playflash(flashlist.items.front());
        break;
      case FileType::Projector: {
        std::string movie = addFromProjector(*this, file);
        if (!movie.empty()) playflash(movie);
        break;
      }
      default:
        break;
    }
  }
  checklistwidth();
  rememberOpenDialog(*this, *chosen);
}

void MainForm::listopenfileClick() {
  if (auto chosen = showOpenDialog(*this)) {
    const std::string file = chosen->files.front();
    if (!unfitForList(file)) {
      switch (fileTypeOf(file)) {
        case FileType::Movie:
          checksameitem(file);
          break;
        case FileType::ListFile:
          openflt(file);
          break;
        case FileType::Projector:
          addFromProjector(*this, file);
          break;
        default:
          break;
      }
    }
    checklistwidth();
    rememberOpenDialog(*this, *chosen);
    int count = static_cast<int>(flashlist.items.size());
    if (count > 1) {
      item("lastmovie").enabled = fileindex != 0;
      item("nextmovie").enabled = fileindex != count - 1;
    }
  }
  checkfileindex();
}

void MainForm::opendirClick() {
  auto folder = services.dialogs->browseFolder("Please select a directory");
  if (!folder || folder->empty()) return;
  std::string dir = *folder;
  if (dir.back() != '/') dir.push_back('/');
  std::vector<std::string> collected;
  if (!searchswf(dir, "*.swf", collected)) return;
  addBatch(collected);
  checklistwidth();
}

void MainForm::listopendirClick() { opendirClick(); }
void MainForm::flashopenfileClick() { openClick(); }
void MainForm::flashopendirClick() { opendirClick(); }

void MainForm::addBatch(const std::vector<std::string>& collected) {
  if (collected.empty()) return;
  // The members of a batch are compared with what was listed before it, never with each other.
  std::unordered_set<std::string> before;
  if (autochecksameitem) before.insert(flashlist.items.begin(), flashlist.items.end());
  const bool sortChecked = listItem("autosort").checked;
  if (sortChecked) setListSorted(false);
  for (const std::string& path : collected) admitEntry(*this, path, before.count(path) > 0);
  if (sortChecked) setListSorted(true);
  playflash(collected.front());
}

void MainForm::fileisdropped(const std::vector<std::string>& paths) {
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& name = paths[i];
    if (unfitForList(name)) continue;
    FileType type = fileTypeOf(name);
    if (i == 0) {
      switch (type) {
        case FileType::Movie:
          checksameitem(name);
          playflash(name);
          break;
        case FileType::Projector: {
          std::string movie = addFromProjector(*this, name);
          if (!movie.empty()) playflash(movie);
          break;
        }
        case FileType::ListFile:
          openflt(name, ListFileUse::AskToReplace);
          break;
        case FileType::NoExtension: {
          std::vector<std::string> collected;
          if (searchswf(name, "*.swf", collected)) addBatch(collected);
          break;
        }
        case FileType::Other:
          break;
      }
    } else if (type == FileType::Movie) {
      checksameitem(name);
    } else if (type == FileType::Projector) {
      addFromProjector(*this, name);
    }
  }
  checklistwidth();
}

void MainForm::autochecksameitemClick() {
  TopmostPause pause(*this);
  MenuItem& check = listItem("autochecksameitem");
  check.checked = !check.checked;
  autochecksameitem = check.checked;
  if (!check.checked) return;
  if (!services.dialogs->question("Do you want to delete homonymic movie(s) from the list?"))
    return;
  auto& items = flashlist.items;
  std::vector<bool> keep(items.size());
  {
    std::unordered_set<std::string_view> seen;
    seen.reserve(items.size());
    for (size_t i = 0; i < items.size(); ++i) keep[i] = seen.insert(items[i]).second;
  }
  size_t out = 0;
  int selected = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    if (!keep[i]) continue;
    if (static_cast<int>(i) == flashlist.itemIndex) selected = static_cast<int>(out);
    if (out != i) items[out] = std::move(items[i]);
    ++out;
  }
  items.resize(out);
  flashlist.itemIndex = selected;
}

void MainForm::autosortClick() {
  MenuItem& sort = listItem("autosort");
  sort.checked = !sort.checked;
  setListSorted(sort.checked);
  checkfileindex();
  checklistwidth();
}

}  // namespace rv
