#pragma once
// Asking the desktop to open a document or a web page in its default application.

#include <string>

namespace rv {

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual void openDocument(const std::string& path) = 0;
  virtual void openUrl(const std::string& url) = 0;
};

}  // namespace rv
