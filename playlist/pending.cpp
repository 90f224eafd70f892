// Operations of other subjects not built yet: each does nothing until its file replaces it here.
#include "app/main_form.h"

namespace rv {

void MainForm::IE1Click() {}
void MainForm::IE2Click() {}
void MainForm::option1Click() {}

}  // namespace rv
