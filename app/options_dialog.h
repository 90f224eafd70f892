#pragma once
// The options dialog (TForm5): the cache-search settings, the play-mode line of list files and
// the file associations. Created at start-up and kept; shown without blocking the other windows.

#include <string>
#include <vector>

namespace rv {

class Associations;
class Dialogs;
class WindowHost;

// One control of the dialog as it is laid out; a control inside a frame is placed relative to it.
struct DialogControl {
  enum class Kind { Frame, Label, Edit, CheckBox, Button };
  const char* name;
  Kind kind;
  const char* parent;            // "" for the dialog itself
  int left, top, width, height;  // width and height 0: sized to the caption
  const char* caption;
};

class OptionsDialog {
 public:
  // `settingsPath`: config.ini; `associations` may be null (nothing is ever associated then).
  OptionsDialog(std::string settingsPath, Dialogs& dialogs, Associations* associations);

  const std::string caption = "Option";
  static constexpr int kClientWidth = 321, kClientHeight = 295;
  static const std::vector<DialogControl>& layout();

  // The controls' state.
  std::string Editiecache = "0";
  bool cachelistclear = false;
  bool listhaveplaymode = false;
  bool swffile = false;
  bool listfile = false;

  bool visible = false;
  WindowHost* window = nullptr;  // set by the Qt layer

  // "Option...": shows the dialog, which loads itself (FormShow).
  void show();
  void FormShow();
  void Button2Click();  // "OK": stores and closes
  void close();         // the close button: changes nothing

 private:
  std::string settingsPath_;
  Dialogs& dialogs_;
  Associations* associations_;
};

}  // namespace rv
