#include <strings.h>

#include <cstdio>

#include "commands.h"
#include "option_parsing.h"
#include "swf/player/player.h"

namespace rvswf {

int traceCommand(const std::vector<std::string>& args) {
  std::string file;
  int frames = 10;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--frames") {
      if (i + 1 >= args.size()) throw UsageError("--frames needs a value");
      frames = parsePositive(args[++i], "frame count", 1000000);
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      throw UsageError("unexpected argument '" + args[i] + "'");
    }
  }
  if (file.empty()) throw UsageError("trace needs FILE");
  swf::Player player;
  // FSCommand "quit" (any case) ends the movie at the end of that frame, as in the original player.
  bool quit = false;
  player.setScreenSize(1024, 768);  // the screen the trace recordings were made on
  player.onTrace = [](const std::string& text) { std::printf("%s\n", text.c_str()); };
  player.onFSCommand = [&](const std::string& command, const std::string&) {
    if (strcasecmp(command.c_str(), "quit") == 0) quit = true;
  };
  player.load(loadNamed(file), file);
  for (int i = 0; i < frames && !quit; ++i) player.advance(1000.0 / player.frameRate());
  return 0;
}

}  // namespace rvswf
