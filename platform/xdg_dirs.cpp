#include "platform/xdg_dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace rv {
namespace {

// A relative path in one of the variables is not valid there and is ignored.
std::string fromEnvironment(const char* variable, const char* underHome) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') {
    std::string dir(value);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
  }
  return homeDirectory() + underHome;
}

}  // namespace

std::string homeDirectory() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* pw = getpwuid(getuid());
    home = pw && pw->pw_dir && *pw->pw_dir ? pw->pw_dir : "/";
  }
  std::string dir(home);
  if (dir.back() != '/') dir.push_back('/');
  return dir;
}

std::string xdgDataHome() { return fromEnvironment("XDG_DATA_HOME", ".local/share"); }
std::string xdgConfigHome() { return fromEnvironment("XDG_CONFIG_HOME", ".config"); }
std::string xdgCacheHome() { return fromEnvironment("XDG_CACHE_HOME", ".cache"); }

}  // namespace rv
