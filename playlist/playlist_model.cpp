// The playlist's shared operations: same-path check, current entry, clearing, sorted mode and
// the scroll width.
#include <algorithm>

#include "app/main_form.h"
#include "playlist/admit_entry.h"
#include "playlist/path_text.h"
#include "playlist/topmost_pause.h"

namespace rv {

namespace {

bool sameEntryUpTo(const std::vector<std::string>& items, const std::string& path, int n) {
  int last = std::min<long long>(n, static_cast<long long>(items.size()) - 1);
  for (int i = 0; i <= last; ++i)
    if (items[static_cast<size_t>(i)] == path) return true;
  return false;
}

bool entryOrder(const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); }

}  // namespace

void MainForm::appendEntry(const std::string& path) {
  auto& items = flashlist.items;
  if (flashlist.sorted) {
    items.insert(std::upper_bound(items.begin(), items.end(), path, entryOrder), path);
  } else {
    items.push_back(path);
  }
}

void MainForm::appendEntries(std::vector<std::string> paths) {
  auto& items = flashlist.items;
  size_t old = items.size();
  items.insert(items.end(), std::make_move_iterator(paths.begin()),
               std::make_move_iterator(paths.end()));
  // Inserting one by one at the sorted place is this stable merge.
  if (flashlist.sorted) {
    std::stable_sort(items.begin() + static_cast<long>(old), items.end(), entryOrder);
    std::inplace_merge(items.begin(), items.begin() + static_cast<long>(old), items.end(),
                       entryOrder);
  }
}

void MainForm::setListSorted(bool sorted) {
  flashlist.sorted = sorted;
  if (sorted) std::stable_sort(flashlist.items.begin(), flashlist.items.end(), entryOrder);
}

bool MainForm::checksameitem(const std::string& path) {
  return checksameitem(path, static_cast<int>(flashlist.items.size()) - 1);
}

bool MainForm::checksameitem(const std::string& path, int n) {
  return admitEntry(*this, path, autochecksameitem && sameEntryUpTo(flashlist.items, path, n));
}

bool admitEntry(MainForm& form, const std::string& path, bool alreadyListed) {
  if (alreadyListed && form.autochecksameitem) {
    bool add;
    {
      TopmostPause pause(form);
      add = form.services.dialogs->question(path + " have been in the list.\r\nContinue to add?");
    }
    if (!add) return false;
  }
  form.appendEntry(path);
  return true;
}

void MainForm::checkfileindex() {
  if (!Flash1) return;
  const std::string movie = Flash1->movie();
  const auto& items = flashlist.items;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == movie) {
      fileindex = static_cast<int>(i);
      return;
    }
  }
}

bool MainForm::askToClearList() {
  return !flashlist.items.empty() && services.dialogs->question("Clear play list?");
}

void MainForm::clearList() {
  flashlist.items.clear();
  flashlist.itemIndex = -1;
  flashlist.topIndex = 0;
}

bool MainForm::askclearlist() {
  if (!askToClearList()) return false;
  clearList();
  return true;
}

}  // namespace rv
