#include "app/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/errors.h"

namespace rv {
namespace {

[[noreturn]] void refuse(const std::string& path, const char* what, int err) {
  throw AppError("cannot write " + path + ": " + what + ": " + std::strerror(err));
}

// Writes `content` to a new file beside `path` and renames it over `path`, so readers see either
// the old file or the new one, never a part of it.
void replaceFileImpl(const std::string& path, const std::string& content) {
  std::string target = path;
  // Write through a symbolic link to the file it names, keeping the link.
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  struct stat old {};
  bool existed = stat(target.c_str(), &old) == 0;
  if (existed &&
      ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0))
    refuse(path, "the file is read-only", EACCES);

  std::string tmp = target + ".XXXXXX";
  int fd = mkstemp(tmp.data());
  if (fd < 0) refuse(path, "create", errno);
  auto fail = [&](const char* what) {
    int err = errno;
    close(fd);
    unlink(tmp.c_str());
    refuse(path, what, err);
  };
  fchmod(fd, existed ? (old.st_mode & 07777) : 0644);
  const char* p = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("write");
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0) fail("flush");
  if (close(fd) != 0) {
    int err = errno;
    unlink(tmp.c_str());
    refuse(path, "close", err);
  }
  if (rename(tmp.c_str(), target.c_str()) != 0) {
    int err = errno;
    unlink(tmp.c_str());
    refuse(path, "rename", err);
  }
}

}  // namespace

void writeFileAtomically(const std::string& path, const std::string& content) {
  replaceFileImpl(path, content);
}

}  // namespace rv
