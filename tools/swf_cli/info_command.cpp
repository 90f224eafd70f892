#include <cstdio>

#include "commands.h"
#include "option_parsing.h"
#include "swf/movie/movie.h"

namespace rvswf {

int infoCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "reelvista-swf: info needs exactly one FILE\n");
    return 1;
  }
  auto m = loadNamed(args[0]);
  std::printf("version: %d\n", m->version);
  std::printf("compression: %s\n", swf::compressionName(m->compression));
  std::printf("stage: %gx%g\n", m->stage.width() / 20.0, m->stage.height() / 20.0);
  std::printf("frame rate: %g\n", m->frameRate);
  std::printf("frames: %d (header says %d)\n", m->root.frameCount(), m->declaredFrameCount);
  std::printf("tags:\n");
  for (const auto& [code, count] : m->tagCounts) {
    const char* name = swf::tagName(code);
    std::printf("  %3d %-28s %d\n", code, *name ? name : "(unknown)", count);
  }
  return 0;
}

}  // namespace rvswf
