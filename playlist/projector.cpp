#include "playlist/projector.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "app/errors.h"
#include "playlist/file_replacer.h"

namespace rv {

namespace {

constexpr size_t kChunk = 1 << 20;

class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    if (fd_ < 0) throw AppError("Cannot open " + path + ": " + std::strerror(errno));
  }
  ~ReadOnlyFile() { close(fd_); }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Reads exactly `size` bytes at `offset`; false when the file ends before them.
bool readAt(int fd, char* out, size_t size, off_t offset, const std::string& path) {
  while (size > 0) {
    ssize_t n = pread(fd, out, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw AppError("Cannot read " + path + ": " + std::strerror(errno));
    }
    if (n == 0) return false;
    out += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

uint32_t littleEndian32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

ProjectorResult extractProjectorMovie(const std::string& exe, const std::string& target) {
  struct stat st;
  if (stat(exe.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return ProjectorResult::Missing;
  if (!S_ISREG(st.st_mode)) return ProjectorResult::NotProjector;  // a pipe or a device
  ReadOnlyFile in(exe);
  if (fstat(in.fd(), &st) != 0) throw AppError("Cannot read " + exe);
  const int64_t size = st.st_size;
  if (!S_ISREG(st.st_mode) || size < 8) return ProjectorResult::NotProjector;

  unsigned char trailer[8];
  if (!readAt(in.fd(), reinterpret_cast<char*>(trailer), 8, size - 8, exe))
    return ProjectorResult::NotProjector;
  if (littleEndian32(trailer) != kProjectorMagic) return ProjectorResult::NotProjector;
  const int64_t length = littleEndian32(trailer + 4);
  if (length == 0 || length > size - 8) return ProjectorResult::NotProjector;

  FileReplacer out(target);
  std::vector<char> buf(static_cast<size_t>(std::min<int64_t>(length, kChunk)));
  int64_t offset = size - 8 - length;
  for (int64_t left = length; left > 0;) {
    size_t n = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buf.size())));
    if (!readAt(in.fd(), buf.data(), n, offset, exe))
      throw AppError("Cannot read " + exe + ": it became shorter");
    out.write(buf.data(), n);
    offset += static_cast<int64_t>(n);
    left -= static_cast<int64_t>(n);
  }
  out.commit();
  return ProjectorResult::Written;
}

}  // namespace rv
