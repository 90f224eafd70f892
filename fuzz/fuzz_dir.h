#pragma once
// A scratch directory for one fuzzing process, in memory where the system has /dev/shm (the
// savers sync every file; on a memory file system that costs nothing).

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace rv::fuzz {

inline const std::string& scratchDir() {
  static const std::string dir = [] {
    std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string tmpl = base + "/rv-fuzz-XXXXXX";
    if (!mkdtemp(tmpl.data())) abort();
    static std::string made = tmpl;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(made, ec);
    });
    return tmpl + "/";
  }();
  return dir;
}

inline void writeBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Entries of the scratch directory other than the ones named.
inline int strayFiles(std::initializer_list<std::string> expected) {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(scratchDir())) {
    bool known = false;
    for (const auto& x : expected) known = known || e.path().filename() == x;
    n += known ? 0 : 1;
  }
  return n;
}

}  // namespace rv::fuzz
