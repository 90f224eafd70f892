// The application-wide input filter and error handler of the main window.
#include "app/main_form.h"
#include "skins/tool_bar.h"

namespace rv {

bool MainForm::appmessage(InputMessage message) {
  const bool movieHidden = !Flash1->visible || easyviewmode;
  switch (message) {
    case InputMessage::RightButtonDown:
      if (!movieHidden) return false;
      if (services.window)
        services.window->popupMainMenu(services.window->cursorX(), services.window->cursorY());
      return true;
    case InputMessage::LeftButtonDown:
      if (easyviewmode && services.window) services.window->startSystemMove();
      return false;
    case InputMessage::LeftButtonDoubleClick:
      if (!movieHidden) return false;
      if (!item("fullscreen").checked)
        item("fullscreen").invoke();
      else if (toolBar)
        toolBar->showOnTop();
      return true;
    default:
      return false;
  }
}

void MainForm::appexception() {
  std::string name = Flash1->movie();
  if (name.empty()) name = Flash2->movie();
  for (auto* slot : {&Flash1, &Flash2, &flashpreview}) {
    try {
      (*slot)->setMovie(kUnloadMovie);
    } catch (...) {
      // Unloading is best effort: the report below must come whatever the control says.
    }
  }
  services.dialogs->message("Can not play " + name + "!");
}

}  // namespace rv
