#pragma once
// Every modal box the player shows goes through here, so tests can answer and read them.

#include <optional>
#include <string>
#include <vector>

namespace rv {

struct FileDialogRequest {
  std::string title;
  std::string filter;       // "Flash movie (*.swf)|*.swf|List file (*.flt)|*.flt"
  int filterIndex = 1;      // 1-based
  std::string initialDir;
  std::string defaultExt;
  bool multiSelect = false;
};

struct FileDialogResult {
  std::vector<std::string> files;  // full paths as bytes
  int filterIndex = 1;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Plain message: the application title as caption, no icon, "OK".
  virtual void message(const std::string& text) = 0;
  // Information box with one "OK".
  virtual void information(const std::string& text) = 0;
  // Confirmation: caption "Confirm", question icon, "&Yes" and "&No"; true only for Yes.
  virtual bool question(const std::string& text) = 0;
  // Input box with OK and Cancel; nullopt on Cancel.
  virtual std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                              const std::string& initial) = 0;
  virtual std::optional<FileDialogResult> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> browseFolder(const std::string& title) = 0;
};

}  // namespace rv
