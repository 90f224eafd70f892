#include "playlist/file_replacer.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "app/errors.h"
#include "platform/user_files.h"
#include "playlist/path_text.h"

namespace rv {

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int err) {
  throw AppError(what + " " + path + ": " + std::strerror(err));
}

// Makes a rename in the directory of `path` durable.
void syncDirectoryOf(const std::string& path) {
  std::string dir = directoryPart(path);
  int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
}

}  // namespace

FileReplacer::FileReplacer(const std::string& target) : target_(resolveLink(target)) {
  std::string dir = directoryPart(target_);
  temp_ = (dir.empty() ? std::string("./") : dir) + "." + std::string(fileNamePart(target_)) +
          ".XXXXXX";
  fd_ = mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) fail("Cannot create a file beside", target_, errno);
  // Keep the permissions an existing file had; a new one gets the usual ones.
  struct stat st;
  mode_t mode;
  if (stat(target_.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd_, mode);
}

FileReplacer::~FileReplacer() {
  if (fd_ >= 0) close(fd_);
  if (!committed_) unlink(temp_.c_str());
}

void FileReplacer::write(const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("Cannot write", target_, errno);
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void FileReplacer::flushAndClose() {
  if (fsync(fd_) != 0) fail("Cannot write", target_, errno);
  int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) fail("Cannot write", target_, errno);
}

void FileReplacer::commit() {
  flushAndClose();
  if (rename(temp_.c_str(), target_.c_str()) != 0) fail("Cannot replace", target_, errno);
  committed_ = true;
  syncDirectoryOf(target_);
}

bool FileReplacer::commitNew() {
  flushAndClose();
  if (renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) fail("Cannot create", target_, errno);
    // File systems without the no-replace rename: a hard link is never made over a file.
    if (link(temp_.c_str(), target_.c_str()) != 0) {
      if (errno == EEXIST) return false;
      fail("Cannot create", target_, errno);
    }
    unlink(temp_.c_str());
  }
  committed_ = true;
  syncDirectoryOf(target_);
  return true;
}

}  // namespace rv
