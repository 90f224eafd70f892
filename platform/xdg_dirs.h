#pragma once
// The user's base directories as the XDG base directory rules give them: an environment
// variable holding an absolute path, else the usual place under the home directory. Returned
// without a trailing '/'.

#include <string>

namespace rv {

std::string homeDirectory();  // with a trailing '/'
std::string xdgDataHome();    // $XDG_DATA_HOME, else ~/.local/share
std::string xdgConfigHome();  // $XDG_CONFIG_HOME, else ~/.config
std::string xdgCacheHome();   // $XDG_CACHE_HOME, else ~/.cache

}  // namespace rv
