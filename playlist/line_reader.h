#pragma once
// Reads a file line by line. A line ends at LF; every CR is dropped (the CR of CR LF, and a lone
// CR). Lines of any length are read through; a caller says how much of one it keeps.

#include <cstddef>
#include <string>

namespace rv {

class LineReader {
 public:
  // AppError when it cannot be opened or is not a regular file (a pipe or a device would never
  // end, or never start).
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line into `line`; false at the end of the file (then `line` is empty). A line
  // longer than `keep` bytes is read past, and `line` then holds only its first `keep` bytes
  // and `cut()` is true.
  bool next(std::string& line, size_t keep = static_cast<size_t>(-1));
  bool cut() const { return cut_; }

 private:
  bool fill();
  void take(std::string& line, const char* p, size_t n, size_t keep);
  std::string path_;
  int fd_ = -1;
  std::string buf_;
  size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  bool cut_ = false;
};

}  // namespace rv
