#include "swf/io/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace swf {
namespace {

std::string why(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

bool readBoundedFile(const std::string& path, uint64_t limit, std::string& out,
                     std::string& error) {
  // Opened without blocking so a FIFO does not wait for a writer; only plain files are read.
  Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
  if (f.fd < 0) {
    error = why("cannot open", path);
    return false;
  }
  struct stat st {};
  if (::fstat(f.fd, &st) != 0) {
    error = why("cannot read", path);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = "not a file: " + path;
    return false;
  }
  if (uint64_t(st.st_size) > limit) {
    error = "file too large: " + path;
    return false;
  }
  out.assign(size_t(st.st_size), '\0');
  size_t got = 0;
  while (got < out.size()) {
    ssize_t n = ::read(f.fd, out.data() + got, out.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = why("cannot read", path);
      return false;
    }
    if (n == 0) break;  // shrank while we read
    got += size_t(n);
  }
  out.resize(got);
  return true;
}

bool replaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
  size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
  std::string temp = path + ".tmp" + std::to_string(std::random_device{}() & 0xffffff);
  Fd f{::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
  if (f.fd < 0) {
    error = why("cannot create", temp);
    return false;
  }
  size_t put = 0;
  bool ok = true;
  while (ok && put < bytes.size()) {
    ssize_t n = ::write(f.fd, bytes.data() + put, bytes.size() - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      ok = false;
    else
      put += size_t(n);
  }
  if (!ok || ::fsync(f.fd) != 0) {
    error = why("cannot write", temp);
    ::unlink(temp.c_str());
    return false;
  }
  int fd = f.fd;
  f.fd = -1;
  if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    error = why("cannot replace", path);
    ::unlink(temp.c_str());
    return false;
  }
  Fd d{::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  if (d.fd >= 0) ::fsync(d.fd);
  return true;
}

}  // namespace swf
