#pragma once
// One QApplication for all tests of this binary, made on first use (never during static
// initialisation: test discovery runs the binary at build time).

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
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

}  // namespace rv::test
