#pragma once
// Small helpers for the subcommands' options.

#include <stdexcept>
#include <string>

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

}  // namespace rvswf
