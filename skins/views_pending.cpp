// Skins are not built yet: these operations do nothing until they are.
#include "app/main_form.h"

namespace rv {

void MainForm::changeskinini() {}

}  // namespace rv
