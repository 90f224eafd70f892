// A script the engine stopped for running too long: the movie goes on, the user is told.
#include "app/main_form.h"

namespace rv {

void MainForm::tellStoppedScripts() {
  bool stopped = false;
  for (FlashControl* c : {Flash1.get(), Flash2.get(), flashpreview.get()}) {
    if (c && c->scriptStopped) {
      c->scriptStopped = false;
      stopped = true;
    }
  }
  if (stopped)
    services.dialogs->message("A script in this movie was taking too long and was stopped.");
}

}  // namespace rv
