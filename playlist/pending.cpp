// Playlist operations not built yet: each does nothing until its file replaces it here.
#include "app/main_form.h"

namespace rv {

void MainForm::openflt(const std::string&) {}
void MainForm::checklistwidth() {}
void MainForm::checkfileindex() {}
bool MainForm::checksameitem(const std::string&) { return true; }
void MainForm::fileisdropped(const std::vector<std::string>&) {}
void MainForm::previewClick() {}
void MainForm::autosortClick() {}
void MainForm::autochecksameitemClick() {}
void MainForm::openClick() {}
void MainForm::listopenfileClick() {}
void MainForm::opendirClick() {}
void MainForm::flashopenfileClick() {}
void MainForm::flashopendirClick() {}
void MainForm::IE2Click() {}
void MainForm::option1Click() {}
void MainForm::buildListMenu() {}
void MainForm::listbtnonClick() {}
void MainForm::listbtnoffClick() {}

}  // namespace rv
