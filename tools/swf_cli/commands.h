#pragma once
// The subcommands of reelvista-swf. Each returns the process exit status.

#include <string>
#include <vector>

namespace rvswf {

int infoCommand(const std::vector<std::string>& args);
int renderCommand(const std::vector<std::string>& args);
int traceCommand(const std::vector<std::string>& args);
int soundCommand(const std::vector<std::string>& args);

// Runs the conformance rule: the first frame, then `frames` more frame intervals.
struct RunOptions {
  int frames = 10;
};

}  // namespace rvswf
