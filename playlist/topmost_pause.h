#pragma once
// Takes the main window out of the always-on-top layer while a question is open, so the box is
// not hidden behind it, and puts it back afterwards if "Always on top" is checked.

#include "app/main_form.h"

namespace rv {

// Puts the main window into the always-on-top layer or takes it out, without moving it.
void setWindowTopmost(MainForm& form, bool topmost);

class TopmostPause {
 public:
  explicit TopmostPause(MainForm& form);
  ~TopmostPause();
  TopmostPause(const TopmostPause&) = delete;
  TopmostPause& operator=(const TopmostPause&) = delete;

 private:
  MainForm& form_;
};

}  // namespace rv
