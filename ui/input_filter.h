#pragma once
// The application-wide input hooks: every key-down of the main window reaches the shell's
// keyboard map before the focused control (without being consumed), menu shortcuts work while
// the menus are closed, and button presses of any of the program's windows pass the shell's
// message filter first.

#include <QObject>
#include <functional>

class QKeyEvent;
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

  // The item whose shortcut this key press is, looking at the playlist's menu first while the
  // playlist has the focus; null when none.
  MenuItem* shortcutFor(const QKeyEvent& event) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool keyPress(QWindow* window, QKeyEvent& event);
  bool mousePress(QEvent& event);

  MainWindow& main_;
  std::function<void()> afterEvent_;
};

}  // namespace rv::ui
