#include "playlist/movie_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/main_form.h"
#include "playlist/path_text.h"

namespace rv {

namespace {

bool isMovieName(const char* name, size_t len) {
  if (len < 4) return false;
  const char* ext = name + len - 4;
  return std::memcmp(ext, ".swf", 4) == 0 || std::memcmp(ext, ".SWF", 4) == 0;
}

bool byDirectoryOrder(const std::string& a, const std::string& b) { return directoryOrder(a, b); }

constexpr int kOpenLevels = 200;

class Scanner {
 public:
  Scanner(std::vector<std::string>& collected, const MovieFilter& filter,
          const ScanProgress& progress)
      : collected_(collected), filter_(filter), progress_(progress) {}

  // `fd` is an open directory (taken over and closed here); `path` its path with a '/'.
  void scan(int fd, std::string& path, int depth) {
    DIR* d = fdopendir(fd);
    if (!d) {
      close(fd);
      return;
    }
    std::vector<std::string> movies, subdirs;
    while (dirent* e = readdir(d)) {
      const char* name = e->d_name;
      if (progress_ && ++entriesSeen_ % kEntriesPerProgress == 0) progress_();
      if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
      size_t len = std::strlen(name);
      unsigned char type = e->d_type;
      if (type == DT_UNKNOWN) {
        struct stat st;
        if (fstatat(dirfd(d), name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
          type = DT_DIR;
      }
      if (type == DT_DIR) subdirs.emplace_back(name, len);
      if (isMovieName(name, len) && (!filter_ || filter_(dirfd(d), name)))
        movies.emplace_back(name, len);
    }
    std::sort(movies.begin(), movies.end(), byDirectoryOrder);
    size_t base = path.size();
    for (const auto& m : movies) {
      path.append(m);
      if (!unfitForList(path)) collected_.push_back(path);
      path.resize(base);
    }
    if (subdirs.empty()) {
      closedir(d);
      return;
    }
    std::sort(subdirs.begin(), subdirs.end(), byDirectoryOrder);
    // Each level holds its directory open to reach the next one; very deep trees let go of it
    // and go by the full path, so the descriptors never run out.
    bool holdOpen = depth < kOpenLevels;
    if (!holdOpen) {
      closedir(d);
      d = nullptr;
    }
    for (const auto& s : subdirs) {
      path.append(s);
      path.push_back('/');
      // O_NOFOLLOW: a directory swapped for a link since it was listed is not entered.
      constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
      int sub = holdOpen ? openat(dirfd(d), s.c_str(), flags) : open(path.c_str(), flags);
      if (sub >= 0) scan(sub, path, depth + 1);
      path.resize(base);
    }
    if (d) closedir(d);
  }

 private:
  static constexpr unsigned kEntriesPerProgress = 256;
  std::vector<std::string>& collected_;
  const MovieFilter& filter_;
  const ScanProgress& progress_;
  unsigned entriesSeen_ = 0;
};

}  // namespace

bool collectMovies(const std::string& dir, std::vector<std::string>& collected,
                   const MovieFilter& filter, const ScanProgress& progress) {
  size_t before = collected.size();
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string path = dir;
  Scanner(collected, filter, progress).scan(fd, path, 0);
  return collected.size() > before;
}

bool collectCachedMovies(const std::string& dir, std::vector<std::string>& collected,
                         int64_t threshold, const ScanProgress& progress) {
  auto bigEnough = [threshold](int dirFd, const char* name) {
    struct stat st;
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    const int64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
    return size >= threshold;
  };
  return collectMovies(dir, collected, bigEnough, progress);
}

bool MainForm::searchswf(const std::string& dir, const std::string& pattern,
                         std::vector<std::string>& collected) {
  std::string d = dir;
  if (d.empty() || d.back() != '/') d.push_back('/');
  if (pattern.find_first_not_of(' ') == std::string::npos) return false;
  return collectMovies(d, collected);
}

}  // namespace rv
