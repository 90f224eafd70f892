// The playlist's pop-up menu listpop: items, captions, shortcuts and first states.
#include "app/main_form.h"

namespace rv {

void MainForm::buildListMenu() {
  Menu& m = listpop;
  auto add = [&m](const char* name, const char* caption, void (MainForm::*handler)(),
                  MainForm* form, const char* shortcut = "") -> MenuItem& {
    MenuItem& item = m.add(nullptr, name, caption, shortcut);
    item.onClick = [form, handler] { (form->*handler)(); };
    return item;
  };
  add("listopenfile", "Add a file...", &MainForm::listopenfileClick, this);
  add("listopendir", "Add Directory...", &MainForm::listopendirClick, this);
  add("IE1", "Search IE cache", &MainForm::IE1Click, this, "F3");
  m.addSeparator(nullptr);
  add("openlistfile", "Open list file...", &MainForm::openlistfileClick, this);
  add("savelistfile", "Save list file...", &MainForm::savelistfileClick, this);
  m.addSeparator(nullptr);
  add("chagefilename", "Edit movie entry...", &MainForm::chagefilenameClick, this, "F2");
  add("saveas", "Save  as...", &MainForm::saveasClick, this);
  add("listdel", "Delete", &MainForm::listdelClick, this);
  add("listclear", "Clear list", &MainForm::listclearClick, this);
  m.addSeparator(nullptr);
  add("autosort", "Sort list", &MainForm::autosortClick, this);
  add("autochecksameitem", "Check homonymy", &MainForm::autochecksameitemClick, this);
  add("preview", "Preview", &MainForm::previewClick, this).checked = true;
  add("option2", "Option...", &MainForm::option2Click, this);
}

void MainForm::option2Click() {
  if (MenuItem* options = flash1pop.find("option1")) options->invoke();
}

}  // namespace rv
