// reelvista-swf: the engine on the command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "commands.h"

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: reelvista-swf info FILE\n"
               "       reelvista-swf render FILE -o OUT.png [--frames N] [--size WxH] "
               "[--quality low|high]\n"
               "       reelvista-swf trace FILE [--frames N]\n"
               "       reelvista-swf sound FILE -o OUT.wav [--frames N]\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    usage();
    return 1;
  }
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "info") return rvswf::infoCommand(args);
    if (command == "render") return rvswf::renderCommand(args);
    if (command == "trace") return rvswf::traceCommand(args);
    if (command == "sound") return rvswf::soundCommand(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "reelvista-swf: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "reelvista-swf: unknown command '%s'\n", command.c_str());
  usage();
  return 1;
}
