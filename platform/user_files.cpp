#include "platform/user_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace rv {
namespace {

bool failed(std::string* error, const std::string& what, const std::string& path) {
  if (error) *error = what + " " + path + ": " + std::strerror(errno);
  return false;
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string resolveLink(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string out(real);
  std::free(real);
  return out;
}

bool readWholeFile(const std::string& path, std::string& content) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  content.clear();
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      return n == 0;
    }
    content.append(buf, static_cast<size_t>(n));
  }
}

bool replaceFile(const std::string& path, const std::string& content, std::string* error) {
  const std::string target = resolveLink(path);
  const auto slash = target.rfind('/');
  std::string temp = slash == std::string::npos
                         ? "." + target + ".XXXXXX"
                         : target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return failed(error, "Cannot create a file beside", target);
  struct stat st;
  mode_t mode = 0644;
  if (stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
  fchmod(fd, mode);
  if (!writeAll(fd, content.data(), content.size()) || fsync(fd) != 0) {
    failed(error, "Cannot write", target);
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  if (close(fd) != 0 || rename(temp.c_str(), target.c_str()) != 0) {
    failed(error, "Cannot replace", target);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool makeDirectories(const std::string& dir, std::string* error) {
  for (size_t at = 1; at <= dir.size(); ++at) {
    if (at != dir.size() && dir[at] != '/') continue;
    const std::string part = dir.substr(0, at);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
      return failed(error, "Cannot create the directory", part);
  }
  if (!isDirectory(dir)) {
    errno = ENOTDIR;
    return failed(error, "Cannot create the directory", dir);
  }
  return true;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool copyFile(const std::string& from, const std::string& to, std::string* error) {
  std::string content;
  if (!readWholeFile(from, content)) return failed(error, "Cannot read", from);
  return replaceFile(to, content, error);
}

}  // namespace rv
