#include "app/main_form.h"

namespace rv {

// Where more skins can be had; opened in the desktop's browser.
static const char kSkinsPage[] = "https://reelvista.example.org/skins/";

void MainForm::downloadskinClick() { services.desktop->openUrl(kSkinsPage); }

}  // namespace rv
