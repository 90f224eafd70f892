// Views are not built yet: these operations do nothing until they are.
#include "app/main_form.h"

namespace rv {

void MainForm::normalviewClick() {}
void MainForm::easyviewClick() {}
void MainForm::fullscreenClick() {}
void MainForm::alwaysonthetopClick() {}
void MainForm::windowsminClick() {}
void MainForm::windowsmaxClick() {}

}  // namespace rv
