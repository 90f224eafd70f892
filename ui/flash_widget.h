#pragma once
// Shows one Flash control of the shell: paints its player through a Cairo surface over a QImage,
// gives it time from a monotonic clock and forwards the pointer to it for the movie's buttons.
// The control may be replaced at any moment (a movie load renews it), so the widget asks for it
// every time instead of keeping it.

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "ui/runner.h"

namespace rv {
class AudioChannel;
class AudioOutput;
class FlashControl;
}  // namespace rv
namespace swf {
class Player;
}

namespace rv::ui {

class FlashWidget : public QWidget {
 public:
  using Source = std::function<FlashControl*()>;
  // Calls into the player run through `run`: they may raise the movie's FSCommands.
  FlashWidget(Source source, Runner run, QWidget* parent = nullptr);
  ~FlashWidget() override;

  // Takes place and visibility from the control, gives the player the time since the last call
  // and repaints when the picture changed. Call it after every event and every tick.
  void syncFromModel();
  // Follow place and visibility of the control (false for a control that fills its window).
  void setFollowsGeometry(bool follow) { followsGeometry_ = follow; }

  FlashControl* control() const { return source_ ? source_() : nullptr; }
  int repaintCount() const { return repaints_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Keys the shell's menus do not take, typing (input-method commits too) and the wheel go to
  // the movie (flash_widget_keys.cpp).
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  static void reportFirstPaint(const swf::Player& player);
  static AudioOutput& sharedAudioOutput();
  swf::Player* player() const;
  // Shows the pointer the movie asks for (hand over buttons, hidden by Mouse.hide).
  void updatePointer();
  bool sendKey(QKeyEvent* event, bool down);

  Source source_;
  Runner run_;
  const FlashControl* bound_ = nullptr;
  bool hadMovie_ = false;
  bool followsGeometry_ = true;
  QElapsedTimer clock_;
  qint64 lastMs_ = 0;
  QImage frame_;
  // Where this control's movie sound goes: the shared sound device.
  std::shared_ptr<AudioChannel> audio_;
  int repaints_ = 0;
};

}  // namespace rv::ui
