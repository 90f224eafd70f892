// Showing and hiding the playlist panel of the normal view.
#include <algorithm>

#include "app/main_form.h"

namespace rv {

void MainForm::sendToBack(const std::string& controlName) {
  backOrder.erase(std::remove(backOrder.begin(), backOrder.end(), controlName), backOrder.end());
  backOrder.insert(backOrder.begin(), controlName);
}

// Our window keeps accepting drops across outline changes, so "accept dropped files again"
// needs no step here. Without an outline loaded the window keeps the one it has.
void MainForm::listbtnonClick() {
  ctl("listbtnoff").visible = true;
  ctl("listbtnon").visible = false;
  if (listonregion) windowRegion = *listonregion;
  ctl("Imagelist").visible = true;
  flashlist.visible = true;
  sendToBack("image1");
  if (flashpreview) flashpreview->visible = true;
  viewbig = true;
}

void MainForm::listbtnoffClick() {
  ctl("listbtnoff").visible = false;
  ctl("listbtnon").visible = true;
  if (listoffregion) windowRegion = *listoffregion;
  ctl("Imagelist").visible = false;
  flashlist.visible = false;
  sendToBack("Imagelist");
  if (flashpreview) flashpreview->visible = false;
  viewbig = false;
}

}  // namespace rv
