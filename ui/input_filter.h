#pragma once
// The application-wide input hooks: every key-down of the main window reaches the shell's
// keyboard map before the focused control (without being consumed), menu shortcuts work while
// the menus are closed, and button presses of any of the program's windows pass the shell's
// message filter first.

#include <QObject>
#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;
class QWindow;

namespace rv {
struct MenuItem;
}

namespace rv::ui {

class MainWindow;

class InputFilter : public QObject {
 public:
  // `afterEvent` runs after each event handed to the shell, to show what changed.
  InputFilter(MainWindow& main, std::function<void()> afterEvent);

  // Keys typed while `window` has the keyboard count as the main window's: the full-screen tool
  // bar, which the pointer may leave holding the keyboard where no window manager moves it.
  void takeKeysOf(QWidget* window) { keyWindows_.push_back(window); }

  // The item whose shortcut this key press is, looking at the playlist's menu first while the
  // playlist has the focus; null when none.
  MenuItem* shortcutFor(const QKeyEvent& event) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool keyPress(QWindow* window, QKeyEvent& event);
  bool mousePress(QEvent& event);

  bool keysForMain(QWindow* window) const;

  MainWindow& main_;
  std::function<void()> afterEvent_;
  std::vector<QWidget*> keyWindows_;
};

}  // namespace rv::ui
