// The program entry: the application title, the program directory beside the executable, the
// four windows in their order, then Qt's event loop until the main window has closed.

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/errors.h"
#include "ui/app_shell.h"

namespace {

// The running executable's own full path; never found through the current directory.
std::string programPath(const char* argv0) {
  std::string exe(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
  return n > 0 ? exe.substr(0, static_cast<size_t>(n)) : std::string(argv0 ? argv0 : "");
}

// Its directory, with a trailing '/'.
std::string directoryOf(const std::string& exe) {
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

// "--help" and "--version" answer on standard output, unless a file of that name is there: then
// it is the movie or list file to open, as any other argument.
bool answeredOption(const std::vector<std::string>& args) {
  if (args.size() != 1 || (args[0] != "--help" && args[0] != "--version")) return false;
  struct stat st;
  if (lstat(args[0].c_str(), &st) == 0) return false;
  if (args[0] == "--version")
    std::printf("reelvista %s\n", RV_VERSION);
  else
    std::printf(
        "Usage: reelvista [FILE]\n"
        "A player for Flash movies (SWF files).\n\n"
        "FILE  a movie (.swf) to play or a movie list (.flt) to open\n\n"
        "  --help     show this text and exit\n"
        "  --version  show the version and exit\n");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Arguments are taken before Qt sees them: a movie named like a Qt option stays a movie.
  std::vector<std::string> args(argv + 1, argv + argc);
  if (answeredOption(args)) return EXIT_SUCCESS;
  const std::string exe = programPath(argc > 0 ? argv[0] : nullptr);
  const std::string dir = directoryOf(exe);

  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Reelvista"));
  QApplication::setQuitOnLastWindowClosed(false);  // the main window's close ends the loop

  rv::ui::AppShell shell(dir, nullptr, exe);
  try {
    shell.start(args);
  } catch (const rv::FatalExit&) {
    return EXIT_FAILURE;  // the message was shown; nothing is saved
  }
  return QApplication::exec();
}
