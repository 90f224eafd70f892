#pragma once
// A real program directory in /tmp for one test: config/ is there, the rest is up to the test.
// Removed (permissions restored first) when the test ends.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace rv::test {

class TempProgramDir {
 public:
  TempProgramDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "rv-shell-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    root_ = tmpl;
    std::filesystem::create_directories(root_ / "config");
  }
  ~TempProgramDir() {
    std::error_code ec;
    // Give back write permission anywhere a test took it away, so everything can be removed.
    chmod(root_.c_str(), 0755);
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) chmod(it->path().c_str(), 0755);
    }
    std::filesystem::remove_all(root_, ec);
  }
  TempProgramDir(const TempProgramDir&) = delete;
  TempProgramDir& operator=(const TempProgramDir&) = delete;

  // The directory with a trailing '/', as the program knows its own directory.
  std::string path() const { return root_.string() + "/"; }
  std::string path(const std::string& rel) const { return path() + rel; }

  void write(const std::string& rel, const std::string& content) const {
    auto p = root_ / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
  }
  std::string read(const std::string& rel) const {
    std::ifstream in(root_ / rel, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool exists(const std::string& rel) const { return std::filesystem::exists(root_ / rel); }
  void remove(const std::string& rel) const { std::filesystem::remove_all(root_ / rel); }

  // A stand-in about movie (the fake controls never read it).
  void writeAboutMovie() const { write("config/about.swf", "FWS\x05"); }
  // A movie file that exists; its content does not matter to the fake controls.
  std::string movie(const std::string& rel) const {
    write(rel, "FWS\x05");
    return path(rel);
  }

  // Whether this process can be refused a write at all (root ignores permission bits).
  static bool permissionsApply() { return geteuid() != 0; }

 private:
  std::filesystem::path root_;
};

}  // namespace rv::test
