// The program entry: the application title, the program directory beside the executable, the
// four windows in their order, then Qt's event loop until the main window has closed.

#include <unistd.h>

#include <QApplication>
#include <string>
#include <vector>

#include "app/errors.h"
#include "ui/app_shell.h"

namespace {

// The directory of the running executable, with a trailing '/'; never the current directory.
std::string programDirectory(const char* argv0) {
  std::string exe(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
  exe = n > 0 ? exe.substr(0, static_cast<size_t>(n)) : std::string(argv0 ? argv0 : "");
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  // Arguments are taken before Qt sees them: a movie named like a Qt option stays a movie.
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::string dir = programDirectory(argc > 0 ? argv[0] : nullptr);

  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Reelvista"));
  QApplication::setQuitOnLastWindowClosed(false);  // the main window's close ends the loop

  rv::ui::AppShell shell(dir);
  try {
    shell.start(args);
  } catch (const rv::FatalExit&) {
    return EXIT_FAILURE;  // the message was shown; nothing is saved
  }
  return QApplication::exec();
}
