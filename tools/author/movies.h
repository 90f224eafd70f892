#pragma once
// The movies we ship, written by our own authoring code.

#include <cstdint>
#include <string>
#include <vector>

namespace rvauthor {

std::vector<uint8_t> demoMovie();
// The about box: 400×300, the program's name, "Version <version>" and a button whose release
// sends the FSCommand "aboutexit".
std::vector<uint8_t> aboutMovie(const std::string& version);

}  // namespace rvauthor
