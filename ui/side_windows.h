#pragma once
// The program's other windows: the about box (TForm2) that plays the about movie; the options
// dialog (TForm5) is ui/options_window.h and the full-screen tool bar (TForm6)
// ui/tool_bar_window.h. Each draws its part of the model and follows its visibility.

#include <QWidget>

#include "app/window_host.h"
#include "ui/runner.h"

namespace rv {
class AboutBox;
}  // namespace rv

namespace rv::ui {

class FlashWidget;

// Window-manager requests every window of the program answers the same way.
class HostedWindow : public QWidget, public WindowHost {
 public:
  using QWidget::QWidget;
  void show() override { QWidget::show(); }
  void hide() override { QWidget::hide(); }
  void close() override { QWidget::close(); }
  void setTopmost(bool topmost) override;
  void startSystemMove() override;
  void minimize() override { showMinimized(); }
  int cursorX() const override;
  int cursorY() const override;
  int screenWidth() const override;
  int screenHeight() const override;
  void refresh() override { update(); }
};

class AboutWindow : public HostedWindow {
 public:
  AboutWindow(AboutBox& box, Runner run);
  void show() override;  // centred on the desktop
  void hide() override;
  void syncFromModel();
  FlashWidget* flash() const { return flash_; }

 private:
  AboutBox& box_;
  FlashWidget* flash_;
};

}  // namespace rv::ui
