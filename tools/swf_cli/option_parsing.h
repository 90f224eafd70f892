#pragma once
// Small helpers for the subcommands' options.

#include <memory>
#include <stdexcept>
#include <string>

#include "swf/movie/movie.h"

namespace rvswf {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline int parsePositive(const std::string& text, const char* what, int max) {
  size_t used = 0;
  long v = 0;
  try {
    v = std::stol(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || v < 0 || v > max)
    throw UsageError(std::string("bad ") + what + ": '" + text + "'");
  return int(v);
}

// Loads a movie; the message of a failure names the file.
inline std::shared_ptr<const swf::Movie> loadNamed(const std::string& path) {
  try {
    return swf::loadMovieFile(path);
  } catch (const swf::LoadError& e) {
    throw swf::LoadError(path + ": " + e.what());
  }
}

}  // namespace rvswf
