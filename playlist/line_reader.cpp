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
}  // namespace

LineReader::LineReader(const std::string& path) : path_(path), buf_(kChunk, '\0') {
  // Not blocking on open: a pipe without a writer would hold the program forever.
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) throw AppError("Cannot open " + path + ": " + std::strerror(errno));
  struct stat st;
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd_);
    fd_ = -1;
    throw AppError("Cannot read " + path + ": not a regular file");
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

void LineReader::take(std::string& line, const char* p, size_t n, size_t keep) {
  for (size_t i = 0; i < n; ++i) {
    if (p[i] == '\r') continue;
    if (line.size() >= keep) {
      cut_ = true;
      return;
    }
    // Copy the run up to the next CR in one go.
    const void* cr = std::memchr(p + i, '\r', n - i);
    size_t run = (cr ? static_cast<const char*>(cr) - (p + i) : n - i);
    run = std::min(run, keep - line.size());
    line.append(p + i, run);
    i += run - 1;
  }
}

bool LineReader::next(std::string& line, size_t keep) {
  line.clear();
  cut_ = false;
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !fill()) return any;
    any = true;
    const char* start = buf_.data() + pos_;
    const void* lf = std::memchr(start, '\n', end_ - pos_);
    size_t n = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) : end_ - pos_;
    take(line, start, n, keep);
    pos_ += lf ? n + 1 : n;
    if (lf) return true;
  }
}

}  // namespace rv
