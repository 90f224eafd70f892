// Editing the list: "Delete", "Clear list", "Edit movie entry..." (rename the movie file) and
// "Save  as..." (copy it).
#include "app/main_form.h"
#include "playlist/movie_file_ops.h"
#include "playlist/path_text.h"

namespace rv {

namespace {

// The selected entry's index, or -1 when nothing (or no existing row) is selected.
int selectedEntry(const MainForm& form) {
  int i = form.flashlist.itemIndex;
  return i >= 0 && i < static_cast<int>(form.flashlist.items.size()) ? i : -1;
}

// The selected entry's index when it names an existing file. Otherwise tells the user why not
// (`missingMessage` for a file that is gone) and gives -1.
int selectedExistingEntry(MainForm& form, const char* missingMessage) {
  int i = selectedEntry(form);
  if (i < 0) {
    form.services.dialogs->message("Please select a movie first!");
    return -1;
  }
  if (!fileExists(form.flashlist.items[static_cast<size_t>(i)])) {
    form.services.dialogs->message(missingMessage);
    return -1;
  }
  return i;
}

void disablePreviousAndNext(MainForm& form) {
  form.item("lastmovie").enabled = false;
  form.item("nextmovie").enabled = false;
}

// The name offered for editing: the file name without its last four characters (".swf"). A
// shorter name loses only its extension.
std::string editableBase(std::string_view name) {
  if (name.size() >= 4) return std::string(name.substr(0, name.size() - 4));
  size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

// A new base name that would leave the directory, name nothing, or break the list file.
bool unusableName(const std::string& name) {
  return name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
         unfitForList(name);
}

}  // namespace

void MainForm::listdelClick() {
  int i = selectedEntry(*this);
  if (i >= 0) {
    flashlist.items.erase(flashlist.items.begin() + i);
    flashlist.itemIndex = -1;
  }
  if (flashlist.items.size() < 2) disablePreviousAndNext(*this);
  checkfileindex();
}

void MainForm::listclearClick() {
  askclearlist();
  disablePreviousAndNext(*this);
  if (Flash1) Flash1->setMovie(kUnloadMovie);
  if (flashpreview) flashpreview->setMovie(kUnloadMovie);
}

void MainForm::chagefilenameClick() {
  int i = selectedExistingEntry(*this, "The file is not exist!");
  if (i < 0) return;
  const std::string path = flashlist.items[static_cast<size_t>(i)];
  const std::string dir = directoryPart(path);
  const std::string base = editableBase(fileNamePart(path));
  auto edited = services.dialogs->inputBox("Please input a new name", "", base);
  if (!edited) return;
  const std::string& name = *edited;
  const std::string target = dir + name + ".swf";
  if (unusableName(name) || (name != base && fileExists(target)) ||
      !renameWithoutReplacing(path, target)) {
    services.dialogs->message("Rename failed!");
    return;
  }
  flashlist.items[static_cast<size_t>(i)] = target;
}

void MainForm::saveasClick() {
  int i = selectedExistingEntry(*this, "The file is not existsed!");
  if (i < 0) return;
  const std::string path = flashlist.items[static_cast<size_t>(i)];
  FileDialogRequest request;
  request.filter = "Flash movie|*.swf";
  request.defaultExt = "swf";
  auto chosen = services.dialogs->saveFile(request);
  if (!chosen || chosen->files.empty()) return;
  if (!copyWithoutOverwriting(path, chosen->files.front()))
    services.dialogs->message("Copy failed!");
}

}  // namespace rv
