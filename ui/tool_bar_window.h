#pragma once
// The full-screen tool bar TForm6: a borderless 225 × 46 window that draws its built-in
// pictures, labels and knob from the model and turns presses into the bar's handlers. Dragged
// by its background; the model keeps its place.

#include <QImage>
#include <optional>
#include <string>

#include "ui/runner.h"
#include "ui/side_windows.h"
#include "ui/window_drag.h"

namespace rv {
class ToolBar;
struct Control;
}  // namespace rv

namespace rv::ui {

class ToolBarWindow : public HostedWindow {
 public:
  ToolBarWindow(ToolBar& bar, Runner run);
  void show() override;
  void hide() override;
  void startSystemMove() override;  // once the pointer travels with the button held
  void syncFromModel();

  // The part of the bar drawn topmost at `pos` (bar pixels): spots over pictures, the knob over
  // the track, the background under all; null outside the bar.
  const Control* partAt(const QPoint& pos) const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void click(const std::string& name);
  void ensurePictures();

  ToolBar& bar_;
  Runner run_;
  WindowDrag drag_;
  std::string pressed_;                // the spot or picture a left press went down on
  std::optional<QPoint> pressGlobal_;  // where the press being handled went down
  bool draggingKnob_ = false;
  std::string lastSignature_;
  qreal picturesDpr_ = 0;
  QImage background_, knob_, normalView_;
};

}  // namespace rv::ui
