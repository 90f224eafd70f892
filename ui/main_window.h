#pragma once
// The main window TForm1: a frameless black window that draws the shell's controls (pictures,
// labels, click spots), hosts the Flash controls and the playlist box, and turns mouse input and
// drops into the shell's handlers. It holds no state of the model's: after every event it reads
// the model again.

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/window_host.h"
#include "ui/runner.h"
#include "ui/window_drag.h"

namespace rv {
class MainForm;
struct Control;
}  // namespace rv

namespace rv::ui {

class FlashWidget;
class PlaylistView;

class MainWindow : public QWidget, public WindowHost {
 public:
  // The form may not exist yet when the window is made (its start-up shows the window), so the
  // window asks for it whenever it needs it.
  using FormSource = std::function<MainForm*()>;
  MainWindow(FormSource form, Runner run);
  ~MainWindow() override;

  // Reads the model: place, size, outline, child controls; repaints what changed.
  void syncFromModel();

  // Pops up flash1pop at `globalPos` and runs the chosen item.
  void showMainMenu(const QPoint& globalPos);
  // The control drawn topmost at `pos` (window pixels), or null.
  const Control* controlAt(const QPoint& pos) const;

  PlaylistView* playlist() const { return playlist_; }
  FlashWidget* flashWidget(const std::string& name) const;
  MainForm& form() const { return *formOf_(); }
  bool hasForm() const { return formOf_() != nullptr; }
  const Runner& runner() const { return run_; }

  // WindowHost
  void show() override;
  void hide() override;
  void close() override;
  void setTopmost(bool topmost) override;
  void startSystemMove() override;
  void minimize() override;
  int cursorX() const override;
  int cursorY() const override;
  int screenLeft() const override;
  int screenTop() const override;
  int screenWidth() const override;
  int screenHeight() const override;
  void refresh() override;
  void setBusy(bool busy) override;
  void keepPainting() override;
  // Asked from inside a shell event: the menu opens once that event has ended.
  void popupMainMenu(int x, int y) override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QElapsedTimer busyPaint_;  // since the window last painted during a long command
  // Controls in the order they are drawn: backgrounds, pictures, labels, click spots.
  std::vector<const Control*> paintOrder() const;
  const QPixmap& pixmap(const std::string& path);
  // What one control shows; a change repaints where it was and where it is now.
  struct Drawn {
    QRect bounds;
    std::string picture, caption;
    uint32_t color = 0;
    QRect area;  // what its painting covers (a label's text may reach past its bounds)
    bool sameLook(const Control& c) const;
  };
  static QRect paintedArea(const Control& c);
  void repaintChangedControls();
  void pressControl(const Control& c, QMouseEvent* event);
  void runClick(const std::string& name);
  void syncOutline();
  // The pointer moved over the skin: the hover pictures follow it.
  void hover(const QPoint& pos);
  QRect screenArea() const;

  FormSource formOf_;
  Runner run_;
  std::vector<FlashWidget*> flash_;
  PlaylistView* playlist_ = nullptr;
  std::map<std::string, Drawn> drawn_;  // visible controls as last painted
  std::optional<std::vector<int>> lastOutline_;
  WindowDrag drag_;
  std::optional<QPoint> pressGlobal_;  // where the press being handled went down
  std::string pressedSpot_;
  bool draggingKnob_ = false;
  bool closing_ = false;
};

}  // namespace rv::ui
