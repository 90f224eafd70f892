#pragma once
// The desktop clipboard for the movie's text fields.

#include "swf/player/player_input.h"

namespace rv::ui {

class QtClipboard : public swf::Clipboard {
 public:
  std::string text() override;
  void setText(const std::string& utf8) override;
};

}  // namespace rv::ui
