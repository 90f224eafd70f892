#pragma once
// The sound part of the conformance run: ../shared/conformance/swfdec/sound.

#include <filesystem>
#include <map>
#include <string>

namespace rv::conformance {

// Runs every movie of `dir` with a recorded stream (NAME.swf.F.N.raw) and adds the counts
// "sound.exact" and "sound.correlated" to `reached`; prints what failed.
void runSoundConformance(const std::filesystem::path& dir, const std::string& only,
                         double timeLimit, bool verbose, std::map<std::string, long>& reached);

}  // namespace rv::conformance
