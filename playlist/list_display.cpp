// The playlist as the user sees and handles it: row texts, the current row, hints, the preview,
// mouse and keys.
#include "playlist/list_display.h"

#include <exception>

#include "app/main_form.h"

namespace rv {

namespace {

int selectedEntry(const MainForm& form) {
  int i = form.flashlist.itemIndex;
  return i >= 0 && i < static_cast<int>(form.flashlist.items.size()) ? i : -1;
}

}  // namespace

std::string MainForm::flashlistRowText(int i) const {
  if (i < 0 || i >= static_cast<int>(flashlist.items.size())) return {};
  return std::to_string(i + 1) + ".  " + flashlist.items[static_cast<size_t>(i)];
}

bool MainForm::flashlistRowIsCurrent(int i) const {
  return i == fileindex && Flash1 && Flash1->hasMovie();
}

void MainForm::flashlistMouseMove(int /*x*/, int y) {
  if (y < 0) return;
  long long row = static_cast<long long>(flashlist.topIndex) + y / kListRowHeight;
  if (row >= static_cast<long long>(flashlist.items.size())) return;
  flashlistHint = std::to_string(row + 1) + ". " + flashlist.items[static_cast<size_t>(row)];
  listhint = true;
}

MainForm::HintPlacement MainForm::ApplicationEvents1ShowHint(int pointerYInList) const {
  HintPlacement placement;
  if (listhint) {
    placement.atListRow = true;
    placement.x = left + flashlist.left;
    placement.y = pointerYInList / kListRowHeight * kListRowHeight + top + flashlist.top;
  }
  return placement;
}

void MainForm::flashlistClick() {
  int i = selectedEntry(*this);
  if (!listItem("preview").checked || i < 0 || !flashpreview) return;
  flashpreview->setMovie(kUnloadMovie);
  // The preview is only a picture of the selected entry: one that is missing or cannot be played
  // leaves it empty. It is no error of the movie being played, so the error handler, which
  // would unload that movie and name it, never hears of it.
  try {
    flashpreview->setMovie(flashlist.items[static_cast<size_t>(i)]);
    flashpreview->play();
    flashpreview->stop();
  } catch (const std::exception&) {
    flashpreview->setMovie(kUnloadMovie);
  }
}

void MainForm::previewClick() {
  MenuItem& preview = listItem("preview");
  preview.checked = !preview.checked;
  if (preview.checked) {
    flashlistClick();
  } else if (flashpreview) {
    flashpreview->setMovie(kUnloadMovie);
  }
}

void MainForm::flashlistDblClick() {
  int i = selectedEntry(*this);
  if (i >= 0) playflash(flashlist.items[static_cast<size_t>(i)]);
}

void MainForm::flashlistKeyPress(char key) {
  int i = selectedEntry(*this);
  if (key == '\r' && i >= 0) playflash(flashlist.items[static_cast<size_t>(i)]);
  fileindex = selectedEntry(*this);
  if (services.window) services.window->refresh();
}

void MainForm::flashlistKeyDown(Key key) {
  if (key == Key::Delete) listdelClick();
}

}  // namespace rv
