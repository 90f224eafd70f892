// Reading list files into the playlist, and the list menu's "Open list file..." and
// "Save list file...".
#include <optional>

#include "app/atomic_file.h"
#include "app/main_form.h"
#include "app/settings_file.h"
#include "playlist/list_file.h"
#include "playlist/path_text.h"
#include "playlist/projector.h"

namespace rv {

namespace {

const char* const kOpenFilter = "Flash movie|*.swf|Reelvista movie list|*.flt|Flash_exe file|*.exe";

}  // namespace

bool MainForm::openflt(const std::string& path, ListFileUse use) {
  using Status = ListFileContent::Status;
  const bool replace =
      use == ListFileUse::Replace || (use == ListFileUse::AskToReplace && askToClearList());
  // Read to the end before anything changes: a file that cannot be read, or turns out broken,
  // leaves the list (and the playlist saved from it at close) as it was.
  ListFileContent content = readListFileAt(path, true);
  switch (content.status) {
    case Status::BadFirstLine:
      services.dialogs->message("Can not open list file!");
      return false;
    case Status::BadCountAfterPlayMode:
      services.dialogs->message("Open list file failly!");
      return false;
    case Status::EmptyFirstLine:
    case Status::Ok:
      break;
  }
  if (replace) clearList();
  if (content.playMode) {
    if (MenuItem* item = flash1pop.find(playModeWordText(*content.playMode))) item->click();
  }
  appendEntries(std::move(content.entries));
  return true;
}

void MainForm::openlistfileClick() {
  FileDialogRequest request;
  request.filter = kOpenFilter;
  request.filterIndex = 2;
  request.initialDir = opendialogInitialDir;  // whatever the open commands last gave it
  auto chosen = services.dialogs->openFile(request);
  if (!chosen || chosen->files.empty()) return;
  const std::string file = chosen->files.front();
  openDialogFileName = file;
  if (!unfitForList(file)) {
    switch (fileTypeOf(file)) {
      case FileType::Movie:
        checksameitem(file);
        break;
      case FileType::ListFile:
        openflt(file, ListFileUse::AskToReplace);
        break;
      case FileType::Projector:
        addFromProjector(*this, file);
        break;
      default:
        break;
    }
  }
  checklistwidth();
}

void MainForm::savelistfileClick() {
  FileDialogRequest request;
  request.filter = "Reelvista movie list|*.flt";
  request.defaultExt = "flt";
  request.initialDir = saveinitialdir;
  if (flashlist.items.empty()) return;
  auto chosen = services.dialogs->saveFile(request);
  if (!chosen || chosen->files.empty()) return;
  const std::string file = chosen->files.front();
  FileType type = fileTypeOf(file);
  if (type == FileType::ListFile) {
    bool withPlayMode = !settings || settings->readBool("variables", "listhaveplaymode", true);
    // With no play mode checked there is no word to write; an empty first line would make the
    // file read back as an empty list, so the line is left out.
    const char* checked = withPlayMode ? checkedPlayMode() : nullptr;
    std::optional<PlayModeWord> mode = checked ? parsePlayModeWord(checked) : std::nullopt;
    writeFileAtomically(file, formatListFile(mode, flashlist.items));
  }
  // A directory that could not be written back to the settings file is not remembered.
  if (!unfitForList(file)) saveinitialdir = directoryPart(file);
}

}  // namespace rv
