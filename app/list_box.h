#pragma once
// The playlist box: its items are the playlist entries, full paths kept as the exact bytes.

#include <string>
#include <vector>

#include "app/control.h"

namespace rv {

struct ListBox : Control {
  std::vector<std::string> items;
  int itemIndex = -1;         // selected row, -1 none
  int topIndex = 0;           // first visible row
  int horizontalExtent = 0;   // scrollable width in pixels
  int itemHeight = 15;
  bool sorted = false;
};

}  // namespace rv
