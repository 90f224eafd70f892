#include "playlist/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/errors.h"

namespace rv {

namespace {
constexpr size_t kChunk = 1 << 16;

void appendWithoutCR(std::string& line, const char* p, size_t n) {
  if (!std::memchr(p, '\r', n)) {
    line.append(p, n);
    return;
  }
  for (size_t i = 0; i < n; ++i)
    if (p[i] != '\r') line.push_back(p[i]);
}
}  // namespace

LineReader::LineReader(const std::string& path) : path_(path), buf_(kChunk, '\0') {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw AppError("Cannot open " + path + ": " + std::strerror(errno));
  struct stat st;
  if (fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd_);
    fd_ = -1;
    throw AppError("Cannot read " + path + ": it is a directory");
  }
}

LineReader::~LineReader() {
  if (fd_ >= 0) close(fd_);
}

bool LineReader::fill() {
  if (eof_) return false;
  for (;;) {
    ssize_t n = read(fd_, buf_.data(), buf_.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw AppError("Cannot read " + path_ + ": " + std::strerror(errno));
    }
    pos_ = 0;
    end_ = static_cast<size_t>(n);
    if (n == 0) eof_ = true;
    return n > 0;
  }
}

bool LineReader::next(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !fill()) return any;
    any = true;
    const char* start = buf_.data() + pos_;
    const void* lf = std::memchr(start, '\n', end_ - pos_);
    if (lf) {
      size_t n = static_cast<const char*>(lf) - start;
      appendWithoutCR(line, start, n);
      pos_ += n + 1;
      return true;
    }
    appendWithoutCR(line, start, end_ - pos_);
    pos_ = end_;
  }
}

}  // namespace rv
