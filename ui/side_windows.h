#pragma once
// The program's other windows: the about box (TForm2) that plays the about movie and the
// full-screen tool bar (TForm6) (the options dialog TForm5 is ui/options_window.h). Each draws its
// part of the model and follows its visibility.

#include <QWidget>

#include "app/window_host.h"
#include "ui/runner.h"

namespace rv {
class AboutBox;
class ToolBar;
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

class ToolBarWindow : public HostedWindow {
 public:
  explicit ToolBarWindow(ToolBar& bar);
  void show() override;
  void hide() override;
  void syncFromModel();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  ToolBar& bar_;
  std::string lastSignature_;
};

}  // namespace rv::ui
