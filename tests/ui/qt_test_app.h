#pragma once
// One QApplication for all tests of this binary, made on first use (never during static
// initialisation: test discovery runs the binary at build time).

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <functional>

namespace rv::test {

inline QApplication& qtApp() {
  static int argc = 1;
  static char name[] = "rv_ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    auto* a = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return a;
  }();
  return *app;
}

// Processes events until `done` holds or `ms` have passed; returns whether it holds.
inline bool processUntil(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

inline void processFor(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A key typed into a window, delivered the way the window system delivers it: to the native
// window first, which hands it to the focused widget.
inline void typeKey(QWindow* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QCoreApplication::sendEvent(window, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QCoreApplication::sendEvent(window, &release);
}

inline void pressMouse(QWindow* window, const QPoint& at, Qt::MouseButton button,
                       QEvent::Type type = QEvent::MouseButtonPress) {
  const QPointF local(at);
  QMouseEvent press(type, local, local, window->mapToGlobal(at), button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &press);
}

inline void releaseMouse(QWindow* window, const QPoint& at, Qt::MouseButton button) {
  const QPointF local(at);
  QMouseEvent release(QEvent::MouseButtonRelease, local, local, window->mapToGlobal(at), button,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &release);
}

}  // namespace rv::test
