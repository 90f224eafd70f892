#pragma once
// Where the player keeps config.ini and listfile.flt. Beside the executable in config/ as long as
// that can be written; a program directory users cannot write (a system-wide install) leaves
// them in $XDG_CONFIG_HOME/reelvista/, seeded from the shipped files at the first start.

#include <string>

namespace rv {

// programDir with a trailing '/'; the result too.
std::string configDirectory(const std::string& programDir);
// The user's own copy: creates it and copies in what the program ships and the user lacks.
// Empty when the directory cannot be made.
std::string seededUserConfig(const std::string& programDir);

}  // namespace rv
