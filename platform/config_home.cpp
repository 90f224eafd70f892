#include "platform/config_home.h"

#include <unistd.h>

#include "platform/user_files.h"
#include "platform/xdg_dirs.h"

namespace rv {
namespace {

bool writable(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

}  // namespace

std::string configDirectory(const std::string& programDir) {
  const std::string shipped = programDir + "config/";
  const std::string settings = shipped + "config.ini";
  if (writable(shipped) && (!isRegularFile(settings) || writable(settings))) return shipped;
  std::string own = seededUserConfig(programDir);
  return own.empty() ? shipped : own;
}

std::string seededUserConfig(const std::string& programDir) {
  const std::string dir = xdgConfigHome() + "/reelvista/";
  if (!makeDirectories(dir, nullptr)) return {};
  for (const char* name : {"config.ini", "listfile.flt"}) {
    const std::string from = programDir + "config/" + name;
    const std::string to = dir + name;
    if (!isRegularFile(to) && isRegularFile(from)) copyFile(from, to, nullptr);
  }
  return dir;
}

}  // namespace rv
