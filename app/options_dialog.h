#pragma once
// The options dialog (TForm5), created at start-up and hidden; nothing happens at its creation.

#include <string>

namespace rv {

struct OptionsDialog {
  const std::string caption = "Option";
  bool visible = false;
};

}  // namespace rv
