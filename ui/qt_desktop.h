#pragma once
// Opens documents and web pages in the desktop's default applications.

#include "platform/desktop.h"

namespace rv::ui {

class QtDesktop : public Desktop {
 public:
  void openDocument(const std::string& path) override;
  void openUrl(const std::string& url) override;
};

}  // namespace rv::ui
