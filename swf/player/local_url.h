#pragma once
// Where a movie's address for another file points on this machine.

#include <string>

namespace swf {

// The file `url` names for the movie at `moviePath`: relative to the movie's own directory, or
// absolute, or a file: URL; the query and fragment are dropped. Other schemes (web addresses)
// name nothing here: the result is empty.
std::string localFileOf(const std::string& moviePath, std::string url);

}  // namespace swf
