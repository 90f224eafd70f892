#pragma once
// The one error a movie load reports: the file is not a SWF, or it lies about itself.

#include <stdexcept>

namespace swf {

struct LoadError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace swf
