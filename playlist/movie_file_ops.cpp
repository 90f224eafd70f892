#include "playlist/movie_file_ops.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "app/errors.h"
#include "playlist/file_replacer.h"

namespace rv {

bool fileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
  if (from == to) return fileExists(from);
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the no-replace rename: look first, then rename.
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) return false;
  return rename(from.c_str(), to.c_str()) == 0;
}

bool copyWithoutOverwriting(const std::string& from, const std::string& to) {
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) return false;
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return false;
  if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(in);
    return false;
  }
  try {
    FileReplacer out(to);
    std::vector<char> buf(1 << 20);
    for (;;) {
      ssize_t n = read(in, buf.data(), buf.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw AppError("read failed");
      if (n == 0) break;
      out.write(buf.data(), static_cast<size_t>(n));
    }
    close(in);
    in = -1;
    return out.commitNew();
  } catch (const AppError&) {
    if (in >= 0) close(in);
    return false;
  }
}

}  // namespace rv
