#pragma once
// The player's modal boxes as Qt dialogs. Texts cross as UTF-8, paths as the file system's bytes.

#include <QString>
#include <QStringList>

#include "app/dialogs.h"

class QWidget;

namespace rv::ui {

// "Flash movie|*.swf|List file|*.flt" → {"Flash movie (*.swf)", "List file (*.flt)"}.
QStringList qtNameFilters(const std::string& filter);
// The stored default extension may read "*.swf", ".flt" or "flt"; Qt wants "swf".
QString qtDefaultSuffix(const std::string& defaultExt);

class QtDialogs : public Dialogs {
 public:
  // Boxes are centred on `parent`; it may be null (and may be set later).
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  void message(const std::string& text) override;
  void information(const std::string& text) override;
  bool question(const std::string& text) override;
  std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                      const std::string& initial) override;
  std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
  std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;
  std::optional<std::string> browseFolder(const std::string& title) override;

 private:
  std::optional<FileDialogResult> runFileDialog(const FileDialogRequest& request, bool save);
  QWidget* parent_;
};

}  // namespace rv::ui
