#include "playlist/file_replacer.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

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

// ".name.XXXXXX" in the directory of `target`, a template for mkstemp.
std::string tempNameBeside(const std::string& target) {
  std::string dir = directoryPart(target);
  return (dir.empty() ? std::string("./") : dir) + "." + std::string(fileNamePart(target)) +
         ".XXXXXX";
}

// Removes temporary files of `target` that a process killed while naming or writing one left
// behind: names of our pattern not touched for ten minutes (a save names its file only once it
// is written, and a file being written is touched all along).
void sweepStaleTemporaries(const std::string& target) {
  const std::string dir = directoryPart(target);
  const std::string prefix = "." + std::string(fileNamePart(target)) + ".";
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return;
  const time_t now = time(nullptr);
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    bool ours = true;
    for (size_t i = prefix.size(); i < name.size(); ++i)
      ours = ours && std::isalnum(static_cast<unsigned char>(name[i]));
    struct stat st;
    if (!ours || fstatat(dirfd(d), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode) || now - st.st_mtime < 600)
      continue;
    unlinkat(dirfd(d), name.c_str(), 0);
  }
  closedir(d);
}

// Six letters or digits for a temporary name.
std::string randomSuffix() {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char bytes[6];
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(std::rand());
  std::string out;
  for (unsigned char b : bytes) out += kLetters[b % (sizeof kLetters - 1)];
  return out;
}

}  // namespace

FileReplacer::FileReplacer(const std::string& target) : target_(resolveLink(target)) {
  std::string dir = directoryPart(target_);
  if (dir.empty()) dir = "./";
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
  // A file without a name until it is complete: a process killed while writing leaves nothing
  // behind. File systems without unnamed files get a hidden temporary name at once.
  fd_ = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd_ >= 0 && access("/proc/self/fd", X_OK) != 0) {
    close(fd_);
    fd_ = -1;
  }
  if (fd_ < 0) {
    temp_ = tempNameBeside(target_);
    fd_ = mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) fail("Cannot create a file beside", target_, errno);
  }
  fchmod(fd_, mode);
}

FileReplacer::~FileReplacer() {
  if (fd_ >= 0) close(fd_);
  if (!committed_ && !temp_.empty()) unlink(temp_.c_str());
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

void FileReplacer::sync() {
  if (fsync(fd_) != 0) fail("Cannot write", target_, errno);
}

void FileReplacer::closeFile() {
  int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) fail("Cannot write", target_, errno);
}

bool FileReplacer::linkUnnamedAs(const std::string& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno != EEXIST) fail("Cannot write", target_, errno);
  return false;
}

void FileReplacer::commit() {
  sync();
  if (temp_.empty()) {
    // The unnamed file gets its temporary name only now, whole and on the disk.
    std::string name;
    for (int attempt = 0; name.empty(); ++attempt) {
      if (attempt == 100) fail("Cannot write", target_, EEXIST);
      name = tempNameBeside(target_);
      name.replace(name.size() - 6, 6, randomSuffix());
      if (!linkUnnamedAs(name)) name.clear();
    }
    temp_ = name;
  }
  // Renamed at once: a kill between naming and renaming is what leaves a temporary file behind.
  if (rename(temp_.c_str(), target_.c_str()) != 0) fail("Cannot replace", target_, errno);
  committed_ = true;
  close(fd_);  // synced already; nothing it could report matters now
  fd_ = -1;
  syncDirectoryOf(target_);
  sweepStaleTemporaries(target_);
}

bool FileReplacer::commitNew() {
  sync();
  if (temp_.empty()) {
    // A link is never made over an existing file.
    if (!linkUnnamedAs(target_)) return false;
    committed_ = true;
    closeFile();
    syncDirectoryOf(target_);
    return true;
  }
  closeFile();
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
