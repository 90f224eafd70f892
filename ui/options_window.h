#pragma once
// The options dialog TForm5 on the screen: built from the model's layout table, it shows the
// model's values when opened and hands the user's edits back before "OK" runs.

#include <QWidget>
#include <map>
#include <string>

#include "ui/runner.h"
#include "ui/side_windows.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace rv {
class OptionsDialog;
}

namespace rv::ui {

class OptionsWindow : public HostedWindow {
 public:
  // `centreOn`: the main window, which the dialog is centred on when shown.
  OptionsWindow(OptionsDialog& dialog, QWidget* centreOn, Runner run);
  void show() override;
  void hide() override;
  void syncFromModel();

  QWidget* control(const std::string& name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showModel();
  void takeEdits();

  OptionsDialog& dialog_;
  QWidget* centreOn_;
  Runner run_;
  std::map<std::string, QWidget*> controls_;
  QLineEdit* edit_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace rv::ui
